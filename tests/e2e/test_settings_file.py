"""tenmark.ini beside the executable: read at start-up, written completely at exit."""
import os
import time

from e2e_case import E2ECase
from config_files import (DEFAULT_BINDINGS, PLACEMENT_KEYS, SCREEN_HEIGHT, config_text,
                          default_options, windows_folder)

PEN_CAPTION = '  ペン:%d  '


class SettingsFileTest(E2ECase):
    def run_and_escape(self, files=None):
        app = self.launch(files=files)
        app.wait_window()
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            return app, f.read()

    def assertDefaultsApartFromPlacement(self, app, written):
        lines = written.split(b'\r\n')
        expected = config_text(default_options(app.folder), DEFAULT_BINDINGS).split(b'\r\n')
        self.assertEqual(len(lines), len(expected))
        for got, want in zip(lines, expected):
            if want.split(b'=')[0].decode() in PLACEMENT_KEYS:
                self.assertEqual(got.split(b'=')[0], want.split(b'=')[0])
                self.assertRegex(got.split(b'=')[1], rb'^-?[0-9]+$')
            else:
                self.assertEqual(got, want)

    def test_first_run_writes_the_default_file(self):
        app, written = self.run_and_escape()
        self.assertDefaultsApartFromPlacement(app, written)
        self.assertNotIn(b'\r\n\r\n\r\n', written)
        self.assertEqual(written.count(b'\n'), written.count(b'\r\n'))
        self.assertEqual([f for f in os.listdir(app.folder) if 'tmp' in f], [])

    def test_stored_values_survive_a_run_unchanged(self):
        folder_marker = '@FOLDER@'
        options = dict(default_options(folder_marker))
        options.update(n_canvas_x='300', n_canvas_y='200', n_back_color='16777215',
                       n_pen_color='255', n_save_img='0', n_save_type='1', n_alpha='100',
                       n_pen_size='5', n_erase_size='30', n_clnt_color='65280',
                       b_ClientDef='1', n_xpos='40', n_ypos='30', n_xsize='600',
                       n_ysize='500', b_Maximized='1', b_PenPressure='1', n_PenHardness='0',
                       b_IgnoreTabXY='0')
        bindings = dict(DEFAULT_BINDINGS)
        bindings.update(Clear=-2147483565, SaveAs=0x2000 | 0x53, Brush_P=0x800)
        app = self.launch(start=False)
        options['s_save_dir'] = windows_folder(app.folder)
        prepared = config_text(list(options.items()), list(bindings.items()))
        with open(os.path.join(app.folder, 'tenmark.ini'), 'wb') as f:
            f.write(prepared)
        app.start()
        info = app.wait_window()
        self.assertEqual(info['maximized'], '1')
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            self.assertEqual(f.read(), prepared)

    def test_corrupt_file_leaves_defaults_and_is_replaced_by_a_clean_one(self):
        garbage = bytes(range(256)) * 8 + b'n_pen_size=abc\n\x00n_alpha=7\r\n'
        app, written = self.run_and_escape({'tenmark.ini': garbage})
        self.assertDefaultsApartFromPlacement(app, written)

    def test_unusable_canvas_size_falls_back_to_the_default_canvas(self):
        app, written = self.run_and_escape({'tenmark.ini': b'n_canvas_x=0\r\nn_canvas_y=0\r\n'})
        side = str(SCREEN_HEIGHT - 100).encode()
        self.assertIn(b'\r\nn_canvas_x=' + side + b'\r\nn_canvas_y=' + side + b'\r\n', written)

    def test_a_missing_save_folder_is_reported_once_and_start_up_goes_on(self):
        missing = 'Z:\\no-such-folder-for-tenmark\\'
        app = self.launch(files={'tenmark.ini': b's_save_dir=' + missing.encode() + b'\r\n'})
        for _ in range(60):
            box = app.message_box()
            if box.get('found') == '1':
                break
            time.sleep(0.5)
        self.assertEqual(box.get('found'), '1')
        self.assertEqual(bytes.fromhex(box['title_hex']), b'')
        self.assertEqual(bytes.fromhex(box['text_hex']),
                         '保存先のフォルダが存在しません'.encode('cp932'))
        app.key('Return')
        app.wait_window()
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            self.assertTrue(f.read().startswith(b's_save_dir=' + missing.encode() + b'\r\n'))

    def test_a_program_started_by_its_bare_name_finds_the_file_beside_it(self):
        app = self.launch(start=False, files={'tenmark.ini': b'n_pen_size=7\r\n'})
        app.start(bare_name=True)
        app.wait_window()
        self.assertIn((PEN_CAPTION % 7).encode('cp932'), app.title())
        self.assertEqual(app.message_box().get('found'), '0')  # the save folder exists
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_the_end_of_the_session_writes_the_settings_before_the_process_ends(self):
        app = self.launch(files={'tenmark.ini': b'n_pen_size=5\r\ndw_Key_Brush_P=85\r\n'})
        app.wait_window()
        app.focus()
        app.key('u')
        self.assertIn((PEN_CAPTION % 6).encode('cp932'), app.title())
        self.assertIn('agreed=1', app.probe('endsession'))
        self.assertExitsWith(app, 0)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            self.assertIn(b'\r\nn_pen_size=6\r\n', f.read())
