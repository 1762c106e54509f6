"""Documents as a user meets them: files dropped on the window (the first picture opens after
the drawing it replaces was saved as a 1-bit PNG; a file that is no picture is said so and costs
no copy, and while it is said no drop is taken); a BMP made by ImageMagick opened through the real open dialog and mirrored; a colour
original never replaced without asking; small pictures shown whole; a save folder that cannot
be written, at exit and at a forced end of the session; a full disk; two windows whose pictures
share a name closed together, both kept; and every name Windows
allows: pictures in folders named 表ソ (Shift-JIS bytes ending in a backslash) and 𠮷田さんの絵,
and the program itself in a Hangul folder. A failure says the system's reason."""
import os
import struct
import subprocess
import zlib

from e2e_case import E2ECase, ini_values
from wine_session import INK, PAPER, convert, one_bit_png, read_pixels, windows_path

OPEN_FAILED = ' を開けませんでした'
WS_DISABLED = 0x08000000
UNTITLED = r'^Tenmark 1\.4\.4c - \d{8}_\d{6}  \['  # a new picture is named after the time


def png_palette_and_header(path):
    with open(path, 'rb') as f:
        data = f.read()
    chunks, pos = {}, 8
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        chunks.setdefault(kind, data[pos + 8:pos + 8 + length])
        pos += 12 + length
    plte = chunks[b'PLTE']
    return ([tuple(plte[i:i + 3]) for i in range(0, len(plte), 3)],
            struct.unpack('>IIBB', chunks[b'IHDR'][:10]))


def palette_png(path, width, rows, palette):
    """A 1-bit palette PNG of the given packed rows (each without its filter byte)."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data)))
    header = struct.pack('>IIBBBBB', width, len(rows), 1, 3, 0, 0, 0)
    data = zlib.compress(b''.join(b'\0' + row for row in rows), 1)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'PLTE', palette)
                + chunk(b'IDAT', data) + chunk(b'IEND', b''))


def noise_png(path, side):
    """A 1-bit picture of random pixels: slow to encode and large however it is packed."""
    palette_png(path, side, [os.urandom(side // 8) for _ in range(side)], b'\xff\xff\xff\0\0\0')


class DocumentsTest(E2ECase):
    def type_into_dialog(self, text):
        self.app.wait_dialog()  # the file dialog comes up with its name field focused
        self.app.xdotool('key', 'ctrl+a', 'type', '--delay', '20', text)
        self.app.key('Return')

    def open_through_dialog(self, path):
        """O, the path typed into the open dialog, and its name in the caption."""
        self.app.focus()
        self.app.key('o')
        self.type_into_dialog(windows_path(path))
        self.app.wait_title(os.path.basename(path) + '  [')

    def test_dropped_files_open_the_first_picture_after_the_drawing_was_saved(self):
        app = self.launch()
        vx, vy, _, _ = app.window()['view']
        app.stroke(vx + 20, vy + 30, vx + 120, vy + 30)
        self.step('a dropped file that is no picture is said so and changes and saves nothing')
        notes = os.path.join(app.folder, 'notes.txt')
        with open(notes, 'w') as f:
            f.write('not a picture')
        app.probe('drop', windows_path(notes))
        box = app.wait_box()
        self.assertEqual((box['text'], box['owned']),
                         (windows_path(notes) + OPEN_FAILED + '\nPNG や BMP の画像ではありません。', '1'))
        self.step('the window takes no input while its box is up: a dropped picture is refused')
        self.assertTrue(int(app.window()['style'], 16) & WS_DISABLED)
        first, second = (os.path.join(app.folder, n) for n in ('first.PNG', 'second.png'))
        one_bit_png(first, depth=8)
        os.link(first, second)
        app.probe('drop', windows_path(first))
        app.key('Return')  # input comes after a posted message: the drop is handled first
        app.wait_box(present=False)
        self.assertEqual(self.pictures(), ['first.PNG', 'second.png'])  # no automatic save
        self.assertIn(' *  [', app.title())
        app.expect_pixels([(vx + 70, vy + 30)], [INK])

        self.step('of three dropped files the first, an 8-bit PNG, opens')
        app.probe('drop', *(windows_path(p) for p in (first, second, notes)))
        self.assertNotIn(' *', app.wait_title('first.PNG  ['))
        vx, vy, _, _ = app.window()['view']
        app.expect_pixels([(vx + 15, vy + 15), (vx + 60, vy + 40)], [INK, PAPER])
        self.step('the drawing it replaced was saved first, as a 1-bit PNG in its colours')
        saved = [f for f in self.pictures() if f not in ('first.PNG', 'second.png')]
        self.assertEqual(len(saved), 1, saved)
        self.assertRegex(saved[0], r'^\d{8}_\d{6}\.png$')
        saved = os.path.join(app.folder, saved[0])
        self.assertEqual(png_palette_and_header(saved),
                         ([(244, 241, 234), (0, 0, 0)], (668, 668, 1, 3)))
        self.assertEqual(read_pixels(saved, [(70, 30), (70, 33)]), [INK, PAPER])

        self.step('a 1-bit PNG whose palette is black then white opens as it looks')
        reversed_png = os.path.join(app.folder, 'reversed.png')
        # 120 x 80 of index 1 (white) with a rectangle of index 0 (black) at 10,10 to 29,19.
        rows = [b'\xff' * 15] * 80
        rows[10:20] = [b'\xff\xc0\x00\x03' + b'\xff' * 11] * 10
        palette_png(reversed_png, 120, rows, b'\0\0\0\xff\xff\xff')
        app.probe('drop', windows_path(reversed_png))
        app.wait_title('reversed.png  [')
        app.expect_pixels([(vx + 15, vy + 15), (vx + 60, vy + 40)], [INK, PAPER])
        self.leave('alt+F4')

    def test_a_bmp_opened_and_mirrored_and_a_colour_original_kept(self):
        app = self.launch()
        picture, original = (os.path.join(app.folder, n) for n in ('pic.bmp', 'scan.png'))
        convert('-size', '400x300', 'xc:white', '-fill', 'black', '-draw',
                'rectangle 10,10 29,19', '-type', 'bilevel', 'BMP3:' + picture)
        convert('-size', '120x80', 'xc:red', '-fill', 'blue', '-draw', 'rectangle 10,10 29,19',
                original)
        with open(picture, 'rb') as f:
            self.assertEqual(f.read()[54:62], b'\0\0\0\0\xff\xff\xff\0')  # black, then white
        with open(original, 'rb') as f:
            colours = f.read()
        # Its lighter colour is the paper: it opens as it looks, not as a negative.
        rect, rest = INK, PAPER
        self.step('a BMP made by ImageMagick opens through the open dialog, as it looks')
        self.open_through_dialog(picture)
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (400, 300))
        app.expect_pixels([(vx + 15, vy + 15), (vx + 45, vy + 30)], [rect, rest])
        self.step('B mirrors it left to right and marks it; undo takes the mirror back')
        app.key('b')
        app.expect_pixels([(vx + 399 - 15, vy + 15), (vx + 15, vy + 15)], [rect, rest])
        self.assertIn(' *  [', app.title())
        app.key('z')
        app.expect_pixels([(vx + 15, vy + 15)], [rect])

        self.step('saving over a colour original asks first, and No is the default')
        self.open_through_dialog(original)
        vx, vy, _, _ = app.window()['view']
        app.stroke(vx + 20, vy + 60, vx + 100, vy + 60)
        app.key('s')
        self.assertEqual(app.box_text(), windows_path(original) +
                         ' は白黒の絵で上書きされ、元の色は失われます。\n上書きしますか？')
        app.key('Return')
        app.wait_box(present=False)
        self.assertIn(' *  [', app.title())
        self.step('leaving saves the drawing beside the original under the next free name')
        self.leave()
        with open(original, 'rb') as f:
            self.assertEqual(f.read(), colours)
        self.assertEqual(read_pixels(os.path.join(app.folder, 'scan_1.png'), [(60, 60)]), [INK])

    def test_small_pictures_show_whole_with_the_menu_bar_and_without_scroll_bars(self):
        folder = self.folder()
        pictures = {}
        for width, height in ((120, 80), (1, 1)):
            pictures[width] = os.path.join(folder, 'small%d.png' % width)
            one_bit_png(pictures[width], width, height, ground='black')
        self.step('a 1x1 picture from the command line, with a stored placement far larger: the '
                  'window shrinks round it and the menu bar wraps')
        app = self.launch(ini=dict(n_xpos=40, n_ypos=40, n_xsize=500, n_ysize=400),
                          args=[windows_path(pictures[1])], folder=folder)
        self.assertRegex(app.title(), UNTITLED)
        for width, height, opened in ((1, 1, False), (120, 80, True), (1, 1, True)):
            if opened:
                self.step('a %dx%d picture opened through the open dialog' % (width, height))
                self.open_through_dialog(pictures[width])
            info = app.window()
            vx, vy, vw, vh = info['view']
            self.assertEqual((vw, vh), (width, height), info)
            self.assertEqual(int(info['style'], 16) & 0x00300000, 0, info)  # WS_H/VSCROLL
            self.assertGreaterEqual(info['client'][3], height, info)
            app.expect_pixels([(vx + width - 1, vy + height - 1)], [INK])
        self.leave()

    def test_a_save_folder_that_cannot_be_written(self):
        missing = 'Z:\\no-such-folder-for-tenmark\\'
        folder = self.folder()
        for forced in (False, True):
            self.step('the start-up notice about the missing folder; start-up goes on')
            app = self.launch(ini={'s_save_dir': missing}, folder=folder, wait=False)
            notice = app.wait_box()
            self.assertEqual((notice['title'], notice['text']), ('', '保存先のフォルダが存在しません'))
            app.key('Return')
            vx, vy, _, _ = app.wait_window()['view']
            app.stroke(vx + 20, vy + 30, vx + 120, vy + 30)
            self.step('leaving asks, with the reason in Wine\'s words, whether to go on unsaved')
            app.key('Escape')
            text = app.box_text()
            self.assertTrue(text.startswith(missing) and text.endswith(
                '.png の保存に失敗しました。\nパスが見つかりません。\n保存せずに終了しますか？'), text)
            if forced:
                self.step('a forced end of the session while the question is up asks nothing '
                          'more: the save is tried once more, the settings are written')
                self.assertEqual(app.facts('endsession', 'forced')['agreed'], '0')
            else:
                self.step('Enter is No: the picture is kept')
                app.key('Return')
                app.wait_box(present=False)
                self.assertIsNone(app.process.poll())
                app.expect_pixels([(vx + 70, vy + 30)], [INK])
                self.step('Yes leaves without saving, the settings written as usual')
                app.focus()
                app.key('Escape')
                app.wait_box()
                app.key('y')
            self.assertExitsWith(0)
            written = ini_values(self.ini())
            self.assertEqual(written['s_save_dir'], missing)
            self.assertNotEqual(written['n_xsize'], '0')
            self.assertEqual(self.pictures(), [])

    def test_a_full_disk_says_why_keeps_the_old_file_and_leaves_no_temporary(self):
        disk = os.path.join(self.folder(), 'disk')
        os.mkdir(disk)
        if subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=1m', 'tmpfs', disk],
                          capture_output=True, check=False).returncode:
            self.skipTest('a small tmpfs can only be mounted by root')
        self.addCleanup(subprocess.run, ['umount', '-l', disk], check=False)
        old = os.path.join(disk, 'old.png')
        one_bit_png(old)
        with open(old, 'rb') as f:
            before = f.read()
        fd = os.open(os.path.join(disk, 'filler'), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(fd, bytes(65536)):
                pass
        except OSError:
            pass  # the disk is full
        os.close(fd)
        app = self.launch()
        app.probe('drop', windows_path(old))
        app.wait_title('old.png  [')
        vx, vy, _, _ = app.window()['view']
        app.stroke(vx + 20, vy + 30, vx + 100, vy + 30)
        app.key('s')
        self.assertEqual(app.box_text(), windows_path(old) + ' の保存に失敗しました\n'
                         'ディスクがいっぱいです。')  # Wine's words
        with open(old, 'rb') as f:
            self.assertEqual(f.read(), before)
        self.assertEqual(sorted(os.listdir(disk)), ['filler', 'old.png'])

    def test_two_windows_closed_together_keep_both_pictures_of_the_same_name(self):
        folder = self.folder()
        picture = os.path.join(folder, 'pictures', 'pic.png')
        os.mkdir(os.path.dirname(picture))
        noise_png(picture, 6000)  # its save takes long enough for the two saves to overlap
        app = self.launch(folder=folder)

        def open_and_draw():
            """The picture dropped on the window on top, and a stroke in it."""
            app.probe('drop', windows_path(picture))
            app.wait_title('pic.png', timeout=60)
            vx, vy, _, _ = app.window()['view']
            app.stroke(vx + 20, vy + 30, vx + 120, vy + 30)

        open_and_draw()
        second = subprocess.Popen(['wine', app.exe], cwd=folder, env=app.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        app.wait_title(lambda title: title and 'pic.png' not in title, timeout=60)  # on top
        open_and_draw()
        app.probe('close')  # to both windows at once, as closing their group on the taskbar
        self.assertExitsWith(0, timeout=120)
        self.assertEqual(second.wait(timeout=120), 0)
        self.assertEqual(self.pictures(folder), ['pic.png', 'pic_1.png'])
        for name in self.pictures(folder):
            self.assertEqual(png_palette_and_header(os.path.join(folder, name))[1],
                             (6000, 6000, 1, 3))

    def test_any_name_opens_from_the_command_line_and_a_drop_and_is_saved_over(self):
        folder = self.folder()
        on_command_line = os.path.join(folder, '表ソ', 'ソ.png')
        cat = os.path.join(folder, '𠮷田さんの絵', 'ねこ🐱.png')
        for path, size in ((on_command_line, (120, 80)), (cat, (200, 100))):
            os.mkdir(os.path.dirname(path))
            one_bit_png(path, *size)
        self.step('a picture named on the command line opens; the caption keeps its new name')
        app = self.launch(args=[windows_path(on_command_line)], folder=folder)
        self.assertEqual(app.window()['view'][2:], (120, 80))
        self.assertRegex(app.title(), UNTITLED)
        self.step('a dropped picture opens, its name in the caption')
        app.probe('drop', windows_path(cat))
        title = app.wait_title('ねこ🐱.png')
        self.assertTrue(title.startswith('Tenmark 1.4.4c - %s  [' % windows_path(cat)), title)
        self.step('a 1-bit original is saved over without a question')
        vx, vy, _, _ = app.window()['view']
        app.drag([(vx + 50, vy + 60), (vx + 150, vy + 60)], pace=0)
        app.wait_title(' *  [')
        app.key('s')
        app.wait_title('ねこ🐱.png  [')  # unmarked
        self.assertEqual(read_pixels(cat, [(100, 60), (15, 15)]), [INK, INK])
        self.leave()
        self.assertEqual(os.listdir(os.path.dirname(cat)), ['ねこ🐱.png'])

    def test_the_program_in_a_hangul_folder_saves_there_and_keeps_tenmark_ini_whole(self):
        folder = os.path.join(self.root, '한글 폴더')
        os.mkdir(folder)
        app = self.launch(folder=folder)
        vx, vy, _, _ = app.window()['view']
        self.step('the settings dialog opens on the program\'s folder, which the settings file '
                  'cannot name: OK takes a new pen size with the folder unchanged')
        app.focus()
        app.key('e')
        dialog = app.wait_dialog(1013, 1023)
        self.assertEqual(dialog['text1013'], windows_path(folder) + '\\')
        x, y, w, h = dialog['rect1023']
        app.click(x + w // 2, y + h // 2)
        app.key('Home', 'Right', 'Return')
        app.wait_dialog(present=False)
        app.wait_title('ペン:2 ')
        self.step('Save of a new picture asks for a name in the save folder and adds the extension')
        app.stroke(vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('s')
        self.type_into_dialog('neko')
        app.key('Return')  # yes, create the new file
        saved = os.path.join(folder, 'neko.png')
        title = app.wait_title('neko.png  [')
        self.assertTrue(title.startswith('Tenmark 1.4.4c - %s  [' % windows_path(saved)), title)
        self.step('leaving saves the new drawing beside it, and tenmark.ini without the folder')
        app.stroke(vx + 20, vy + 60, vx + 120, vy + 60)
        self.leave()
        self.assertEqual(read_pixels(saved, [(70, 30), (70, 60)]), [INK, PAPER])
        self.assertEqual(read_pixels(os.path.join(folder, 'neko_1.png'), [(70, 60)]), [INK])
        ini = self.ini()
        self.assertNotIn(b's_save_dir', ini)
        self.assertTrue(ini.startswith(b'n_canvas_x='), ini[:40])
        self.assertIn(b'\r\nn_pen_size=2\r\n', ini)
