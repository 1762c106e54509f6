"""Documents and commands as a user meets them: the automatic save at exit and its numbered
names, leaving without saving, saving under a name typed into the real save dialog, opening a
BMP made by ImageMagick through the open dialog, mirroring, a rebound Escape, the pop-up menu,
and a save folder that cannot be written."""
import os
import re
import struct
import subprocess
import time
import zlib

from config_files import DEFAULT_BINDINGS, config_text, default_options
from e2e_case import E2ECase
from wine_session import CONVERT, App

INK = '000000'
PAPER = 'F4F1EA'
TIMESTAMP_PNG = re.compile(r'^\d{8}_\d{6}\.png$')
SAVE_FAILED = ' の保存に失敗しました'.encode('cp932')


def png_palette_and_size(path):
    with open(path, 'rb') as f:
        data = f.read()
    chunks, pos = {}, 8
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        chunks.setdefault(kind, data[pos + 8:pos + 8 + length])
        pos += 12 + length
    width, height, depth, colour = struct.unpack('>IIBB', chunks[b'IHDR'][:10])
    plte = chunks[b'PLTE']
    return [tuple(plte[i:i + 3]) for i in range(0, len(plte), 3)], (width, height, depth, colour)


def windows_path(path):
    return 'Z:' + path.replace('/', '\\')


class DocumentsTest(E2ECase):
    def start_with(self, options=None, bindings=None):
        app = self.launch(start=False)
        settings = dict(default_options(app.folder))
        settings.update(options or {})
        keys = dict(DEFAULT_BINDINGS)
        keys.update(bindings or {})
        with open(os.path.join(app.folder, 'tenmark.ini'), 'wb') as f:
            f.write(config_text(list(settings.items()), list(keys.items())))
        app.start()
        return app

    def again(self, app):
        """tenmark.exe started once more in the same folder, after the first one's Wine ended."""
        app.close()
        second = App(self.exe, self.probe, self.prefix, app.folder, copy_exe=False)
        self.apps.append(second)
        return second

    def stroke(self, app, x0, y0, x1, y1):
        app.xdotool('mousemove', x0, y0)
        time.sleep(0.2)
        app.xdotool('mousedown', 1)
        for i in range(1, 11):
            app.xdotool('mousemove', x0 + (x1 - x0) * i // 10, y0 + (y1 - y0) * i // 10)
            time.sleep(0.03)
        app.xdotool('mouseup', 1)
        time.sleep(0.4)

    def pictures(self, app):
        return sorted(f for f in os.listdir(app.folder) if f.endswith(('.png', '.bmp')))

    def type_into_dialog(self, app, text):
        time.sleep(1.5)  # the dialog comes up with its name field focused
        app.xdotool('key', 'ctrl+a')
        app.xdotool('type', '--delay', '20', text)
        time.sleep(0.3)
        app.key('Return')
        time.sleep(1.0)

    def test_leaving_saves_the_drawing_and_a_reopened_picture_gets_a_numbered_name(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('Escape')
        self.assertExitsWith(app, 0)
        saved = self.pictures(app)
        self.assertEqual(len(saved), 1, saved)
        self.assertRegex(saved[0], TIMESTAMP_PNG)
        palette, header = png_palette_and_size(os.path.join(app.folder, saved[0]))
        self.assertEqual(palette, [(244, 241, 234), (0, 0, 0)])
        self.assertEqual(header, (668, 668, 1, 3))
        self.assertEqual(App.pixel(app, os.path.join(app.folder, saved[0]), 70, 30), INK)

        second = self.again(app)
        second.wait_window()
        second.focus()
        second.key('o')
        self.type_into_dialog(second, windows_path(os.path.join(app.folder, saved[0])))
        self.assertIn(saved[0].encode(), second.title())
        vx, vy, _, _ = second.window()['view']
        self.stroke(second, vx + 20, vy + 60, vx + 120, vy + 60)
        second.key('Escape')
        self.assertExitsWith(second, 0)
        self.assertEqual(self.pictures(app), [saved[0], saved[0][:-4] + '_1.png'])

    def test_leaving_without_saving_or_with_a_blank_canvas_writes_no_picture(self):
        app = self.start_with(bindings={'NoSaveExit': 0x51})  # Q
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('q')
        self.assertExitsWith(app, 0)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            self.assertIn(b'\r\ndw_Key_NoSaveExit=81\r\n', f.read())
        second = self.again(app)
        vx, vy, _, _ = second.wait_window()['view']
        self.stroke(second, vx + 20, vy + 30, vx + 120, vy + 30)
        second.key('z')  # blank again, but modified
        self.assertIn(b' *', second.title())
        second.key('Escape')
        self.assertExitsWith(second, 0)
        self.assertEqual(self.pictures(app), [])

    def test_save_of_a_new_picture_asks_for_a_name_and_adds_the_extension(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('s')
        self.type_into_dialog(app, windows_path(os.path.join(app.folder, 'mypic')))
        app.key('Return')  # yes, create the new file
        time.sleep(1.0)
        self.assertEqual(self.pictures(app), ['mypic.png'])
        self.assertTrue(app.title().startswith(
            b'Tenmark 1.4.4c - ' + windows_path(os.path.join(app.folder, 'mypic.png')).encode()
            + b'  ['), app.title())
        app.key('Escape')  # saved and not modified since: nothing more is written
        self.assertExitsWith(app, 0)
        self.assertEqual(self.pictures(app), ['mypic.png'])

    def test_open_shows_a_bmp_made_by_imagemagick_and_mirror_then_undo_restores_it(self):
        app = self.launch()
        picture = os.path.join(app.folder, 'pic.bmp')
        subprocess.run([CONVERT, '-size', '400x300', 'xc:white', '-fill', 'black', '-draw',
                        'rectangle 10,10 29,19', '-type', 'bilevel', 'BMP3:' + picture],
                       check=True, timeout=60)
        with open(picture, 'rb') as f:
            bmp = f.read()
        offset = struct.unpack('<I', bmp[10:14])[0]
        palette = struct.unpack('<I', bmp[54:58])[0] & 0xFFFFFF
        black_index = 0 if palette == 0 else 1
        rect, rest = (INK, PAPER) if black_index == 1 else (PAPER, INK)
        self.assertGreater(offset, 0)
        app.wait_window()
        app.focus()
        app.key('o')
        self.type_into_dialog(app, windows_path(picture))
        self.assertIn(b'pic.bmp  [', app.title())
        info = app.window()
        vx, vy, vw, vh = info['view']
        self.assertEqual((vw, vh), (400, 300))
        shot = app.screenshot('opened.png')
        self.assertEqual([app.pixel(shot, vx + 15, vy + 15), app.pixel(shot, vx + 45, vy + 30)],
                         [rect, rest])
        app.key('b')  # mirror left to right
        shot = app.screenshot('mirrored.png')
        self.assertEqual([app.pixel(shot, vx + 399 - 15, vy + 15), app.pixel(shot, vx + 15, vy + 15)],
                         [rect, rest])
        self.assertIn(b' *  [', app.title())
        app.key('z')
        shot = app.screenshot('undone.png')
        self.assertEqual(app.pixel(shot, vx + 15, vy + 15), rect)
        app.key('alt+F4')
        self.assertExitsWith(app, 0)

    def test_escape_bound_to_a_command_runs_it_instead_of_closing(self):
        app = self.start_with(bindings={'ZoomUp': 0x1B})
        app.wait_window()
        app.focus()
        app.key('Escape')
        time.sleep(0.5)
        self.assertIsNone(app.process.poll())
        self.assertIn('倍率:125%'.encode('cp932'), app.title())
        app.key('alt+F4')
        self.assertExitsWith(app, 0)

    def test_the_popup_menu_runs_a_command(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('p')
        time.sleep(0.5)
        # キャンバス → 表示サイズ → 拡大
        app.key('Down', 'Down', 'Down', 'Right', 'Right', 'Return')
        time.sleep(0.5)
        self.assertIn('倍率:125%'.encode('cp932'), app.title())
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def wait_box(self, app, present=True):
        for _ in range(60):
            if (app.message_box().get('found') == '1') == present:
                return app.message_box()
            time.sleep(0.5)
        self.fail('the message box did not %s' % ('appear' if present else 'go'))

    def test_a_failed_save_at_exit_asks_no_keeps_the_picture_and_yes_leaves_it(self):
        missing = 'Z:\\no-such-folder-for-tenmark\\'
        app = self.start_with(options={'s_save_dir': missing, 'n_pen_size': '3'})
        self.wait_box(app)
        app.key('Return')  # the start-up notice about the missing folder
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('Escape')
        text = bytes.fromhex(self.wait_box(app)['text_hex'])
        self.assertTrue(text.startswith(missing.encode()), text)
        question = '.png の保存に失敗しました。\n保存せずに終了しますか？'.encode('cp932')
        self.assertTrue(text.endswith(question), text)
        app.key('Return')  # No is the default: Enter never discards
        self.wait_box(app, present=False)
        self.assertIsNone(app.process.poll())
        shot = app.screenshot('kept.png')
        self.assertEqual(app.pixel(shot, vx + 70, vy + 30), INK)
        app.focus()
        app.key('Escape')
        self.wait_box(app)
        app.key('y')  # Yes: leave without saving, the settings written as usual
        self.assertExitsWith(app, 0)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            written = f.read()
        self.assertNotIn(b'\r\nn_xsize=0\r\n', written)
        self.assertEqual(self.pictures(app), ['kept.png'])  # the screenshot alone

    def test_an_eight_bit_png_opens_and_a_broken_file_is_said_so_without_a_copy(self):
        app = self.launch()
        deep = os.path.join(app.folder, 'deep.png')
        subprocess.run([CONVERT, '-size', '120x80', 'xc:white', '-fill', 'black', '-draw',
                        'rectangle 10,10 29,19', '-define', 'png:color-type=0', '-depth', '8',
                        deep], check=True, timeout=60)
        broken = os.path.join(app.folder, 'broken.png')
        with open(broken, 'wb') as f:
            f.write(b'\x89PNG\r\n\x1a\n' + b'\0' * 40)
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        for _ in range(2):
            app.focus()
            app.key('o')
            self.type_into_dialog(app, windows_path(broken))
            text = bytes.fromhex(self.wait_box(app)['text_hex'])
            self.assertEqual(text, windows_path(broken).encode() +
                             ' を開けませんでした'.encode('cp932'))
            app.key('Return')
            self.wait_box(app, present=False)
        self.assertEqual(self.pictures(app), ['broken.png', 'deep.png'])  # no copy written
        self.assertIn(b' *  [', app.title())
        app.focus()
        app.key('o')
        self.type_into_dialog(app, windows_path(deep))
        self.assertIn(b'deep.png  [', app.title())
        self.assertEqual(len(self.pictures(app)), 3)  # the drawing, saved before it was replaced
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (120, 80))
        shot = app.screenshot('deep.png.shot.png')
        self.assertEqual([app.pixel(shot, vx + 15, vy + 15), app.pixel(shot, vx + 60, vy + 40)],
                         [INK, PAPER])
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_small_pictures_open_whole_without_scroll_bars(self):
        for width, height in ((120, 80), (1, 1)):
            app = self.launch()
            picture = os.path.join(app.folder, 'small.png')
            subprocess.run([CONVERT, '-size', '%dx%d' % (width, height), 'xc:black', '-type',
                            'bilevel', 'PNG8:' + picture], check=True, timeout=60)
            subprocess.run([CONVERT, picture, '-define', 'png:bit-depth=1', picture],
                           check=True, timeout=60)
            app.wait_window()
            app.focus()
            app.key('o')
            self.type_into_dialog(app, windows_path(picture))
            self.assertIn(b'small.png  [', app.title())
            info = app.window()
            _, _, cw, ch = info['client']
            vx, vy, vw, vh = info['view']
            self.assertEqual((vw, vh), (width, height), info)
            # Shown whole: the view lies inside the client area, and no scroll bar is needed.
            self.assertEqual(int(info['style'], 16) & 0x00300000, 0, info)  # WS_H/VSCROLL
            self.assertGreaterEqual(ch, height)
            shot = app.screenshot('small.png.shot.png')
            self.assertEqual(app.pixel(shot, vx + width - 1, vy + height - 1), INK)
            app.key('Escape')
            self.assertExitsWith(app, 0)
            app.close()
