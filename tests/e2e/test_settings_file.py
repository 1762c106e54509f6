"""tenmark.ini beside the executable: read at start-up, written completely at exit. (What a
corrupt file or an unusable canvas size reads as is the settings unit tests'.)"""
import os

from e2e_case import E2ECase
from config_files import (DEFAULT_BINDINGS, PLACEMENT_KEYS, config_text, default_options,
                          windows_folder)

PEN_CAPTION = '  ペン:%d  '


class SettingsFileTest(E2ECase):
    def run_and_escape(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        return app, self.ini(app)

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
        self.assertEqual(self.ini(app), prepared)

    def test_started_by_its_bare_name_it_finds_the_file_and_writes_it_at_the_end_of_session(self):
        app = self.launch(start=False,
                          files={'tenmark.ini': b'n_pen_size=5\r\ndw_Key_Brush_P=85\r\n'})
        app.start(bare_name=True)
        app.wait_window()
        self.assertIn((PEN_CAPTION % 5).encode('cp932'), app.title())
        self.assertEqual(app.message_box().get('found'), '0')  # the save folder exists
        app.focus()
        app.key('u')
        app.wait_title((PEN_CAPTION % 6).encode('cp932'))
        self.assertIn('agreed=1', app.probe('endsession'))
        self.assertExitsWith(app, 0)
        self.assertIn(b'\r\nn_pen_size=6\r\n', self.ini(app))
