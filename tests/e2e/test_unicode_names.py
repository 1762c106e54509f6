"""Every name Windows allows: a picture in a folder named 𠮷田さんの絵 opened by a drop and saved
over, one named on the command line in a Shift-JIS folder whose characters end in the byte of a
backslash (表, ソ), and the program itself in a Hangul folder, where Save As, the automatic save and
tenmark.ini work and the settings dialog refuses the folder that the settings file cannot name."""
import os
import re
import shutil
import subprocess

from e2e_case import E2ECase
from wine_session import CONVERT, INK, PAPER, App, windows_path

REFUSED = ' は設定ファイルに書けない文字を含んでいます。'


def one_bit_png(path, width=120, height=80):
    subprocess.run([CONVERT, '-size', '%dx%d' % (width, height), 'xc:white', '-fill', 'black',
                    '-draw', 'rectangle 10,10 29,19', '-type', 'bilevel', 'PNG8:' + path],
                   check=True, timeout=60)
    subprocess.run([CONVERT, path, '-define', 'png:bit-depth=1', path], check=True, timeout=60)


class UnicodeNamesTest(E2ECase):
    def utf8_title(self, app):
        return bytes.fromhex(app.window()['title_utf8_hex']).decode('utf-8')

    def wait_utf8_title(self, app, part):
        app.wait_title(b'')  # the window is up
        for _ in range(100):
            title = self.utf8_title(app)
            if part in title:
                return title
            app.xdotool('sleep', '0.1')
        self.fail('%r never in the caption %r' % (part, title))

    def test_a_drop_and_the_command_line_open_any_name_and_save_goes_back_to_it(self):
        app = self.launch(start=False)
        hyou = os.path.join(app.folder, '表ソ')
        kichi = os.path.join(app.folder, '𠮷田さんの絵')
        os.mkdir(hyou)
        os.mkdir(kichi)
        on_command_line = os.path.join(hyou, 'ソ.png')
        cat = os.path.join(kichi, 'ねこ🐱.png')
        one_bit_png(on_command_line)
        one_bit_png(cat, 200, 100)
        app.args = [windows_path(on_command_line)]
        app.start()
        vx, vy, vw, vh = app.wait_window()['view']
        self.assertEqual((vw, vh), (120, 80))  # opened; the caption keeps its new name
        self.assertRegex(app.title(), rb'^Tenmark 1\.4\.4c - \d{8}_\d{6}  \[')
        app.probe('drop', windows_path(cat))
        title = self.wait_utf8_title(app, 'ねこ🐱.png')
        self.assertTrue(title.startswith('Tenmark 1.4.4c - %s  [' % windows_path(cat)), title)
        vx, vy, _, _ = app.window()['view']
        app.drag([(vx + 50, vy + 60), (vx + 150, vy + 60)], pace=0)
        app.wait_title(b' *  [')
        app.key('s')  # a 1-bit original: saved over without a question
        self.wait_utf8_title(app, 'ねこ🐱.png  [')  # unmarked
        self.assertEqual(app.pixel(cat, 100, 60), INK)
        self.assertEqual(app.pixel(cat, 15, 15), INK)
        app.key('Escape')
        self.assertExitsWith(app, 0)
        self.assertEqual(sorted(os.listdir(kichi)), ['ねこ🐱.png'])

    def test_the_program_in_a_hangul_folder_saves_there_and_keeps_tenmark_ini_whole(self):
        folder = os.path.join(self.root, '한글 폴더')
        os.mkdir(folder)
        app = App(self.exe, self.probe, self.prefix, folder)
        self.apps.append(app)
        vx, vy, _, _ = app.wait_window()['view']
        # The settings dialog opens on the program's folder, which the settings file cannot
        # name: OK refuses it.
        app.focus()
        app.key('e')
        app.wait_dialog()
        app.key('Return')
        text = bytes.fromhex(app.wait_box()['text_utf8_hex']).decode('utf-8')
        self.assertEqual(text, windows_path(folder) + '\\' + REFUSED)
        app.key('Return', 'Escape')
        app.wait_dialog(present=False)
        app.drag([(vx + 20, vy + 30), (vx + 120, vy + 30)], pace=0)
        app.wait_title(b' *  [')
        app.key('s')
        app.wait_dialog()  # Save As, in the save folder
        app.xdotool('key', 'ctrl+a', 'type', '--delay', '20', 'neko')
        app.key('Return')
        app.key('Return')  # yes, create the new file
        saved = os.path.join(folder, 'neko.png')
        title = self.wait_utf8_title(app, 'neko.png  [')
        self.assertTrue(title.startswith('Tenmark 1.4.4c - %s  [' % windows_path(saved)), title)
        app.drag([(vx + 20, vy + 60), (vx + 120, vy + 60)], pace=0)
        app.wait_title(b' *  [')
        app.key('Escape')  # the automatic save beside it
        self.assertExitsWith(app, 0)
        self.assertEqual(app.pixel(saved, 70, 30), INK)
        self.assertEqual(app.pixel(saved, 70, 60), PAPER)
        self.assertEqual(app.pixel(os.path.join(folder, 'neko_1.png'), 70, 60), INK)
        ini = self.ini(app)
        self.assertNotIn(b's_save_dir', ini)
        self.assertTrue(ini.startswith(b'n_canvas_x='), ini[:40])
