"""Documents and commands as a user meets them: the automatic save at exit and its numbered
names, leaving without saving, saving under a name typed into the real save dialog, opening a
BMP made by ImageMagick through the open dialog, mirroring, a rebound Escape, the pop-up menu,
a save folder that cannot be written, also at a forced end of the session, two windows closed
together, and a full disk; a failure says the system's reason."""
import os
import re
import struct
import subprocess
import zlib

from config_files import DEFAULT_BINDINGS, config_text, default_options
from e2e_case import E2ECase
from wine_session import CONVERT, INK, PAPER, App, windows_path

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


def noise_png(path, side):
    """A 1-bit picture of random pixels: slow to encode and large however it is packed."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data)))
    rows = b''.join(b'\0' + os.urandom(side // 8) for _ in range(side))
    header = struct.pack('>IIBBBBB', side, side, 1, 3, 0, 0, 0)  # 1-bit, palette
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
                + chunk(b'PLTE', b'\xff\xff\xff\0\0\0') + chunk(b'IDAT', zlib.compress(rows, 1))
                + chunk(b'IEND', b''))


class DocumentsTest(E2ECase):
    def again(self, app):
        """tenmark.exe started once more in the same folder, after the first one's Wine ended."""
        app.close()
        second = App(self.exe, self.probe, self.prefix, app.folder, copy_exe=False)
        self.apps.append(second)
        return second

    def stroke(self, app, x0, y0, x1, y1):
        app.drag([(x0 + (x1 - x0) * i // 10, y0 + (y1 - y0) * i // 10) for i in range(11)])
        app.wait_title(b' *  [')

    def pictures(self, app):
        return sorted(f for f in os.listdir(app.folder) if f.endswith(('.png', '.bmp')))

    def type_into_dialog(self, app, text):
        app.wait_dialog()  # the file dialog comes up with its name field focused
        app.xdotool('key', 'ctrl+a', 'type', '--delay', '20', text)
        app.key('Return')

    def open_through_dialog(self, app, path, shown=True):
        """O, the path typed into the open dialog; then, unless it cannot open, its name shown."""
        app.focus()
        app.key('o')
        self.type_into_dialog(app, windows_path(path))
        if shown:
            app.wait_title(os.path.basename(path).encode() + b'  [')

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
        self.assertEqual(app.pixel(os.path.join(app.folder, saved[0]), 70, 30), INK)

        second = self.again(app)
        second.wait_window()
        self.open_through_dialog(second, os.path.join(app.folder, saved[0]))
        vx, vy, _, _ = second.window()['view']
        self.stroke(second, vx + 20, vy + 60, vx + 120, vy + 60)
        second.key('Escape')
        self.assertExitsWith(second, 0)
        self.assertEqual(self.pictures(app), [saved[0], saved[0][:-4] + '_1.png'])

    def test_leaving_without_saving_writes_no_picture(self):
        app = self.launch_configured(bindings={'NoSaveExit': 0x51})  # Q
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('q')
        self.assertExitsWith(app, 0)
        self.assertIn(b'\r\ndw_Key_NoSaveExit=81\r\n', self.ini(app))
        self.assertEqual(self.pictures(app), [])

    def test_save_of_a_new_picture_asks_for_a_name_and_adds_the_extension(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('s')
        self.type_into_dialog(app, windows_path(os.path.join(app.folder, 'mypic')))
        app.key('Return')  # yes, create the new file
        title = app.wait_title(b'mypic.png  [')
        self.assertEqual(self.pictures(app), ['mypic.png'])
        self.assertTrue(title.startswith(
            b'Tenmark 1.4.4c - ' + windows_path(os.path.join(app.folder, 'mypic.png')).encode()
            + b'  ['), title)
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
        self.open_through_dialog(app, picture)
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (400, 300))
        points = [(vx + 15, vy + 15), (vx + 45, vy + 30)]
        self.assertEqual(app.wait_pixels(points, [rect, rest], name='opened.png'), [rect, rest])
        app.key('b')  # mirror left to right
        points = [(vx + 399 - 15, vy + 15), (vx + 15, vy + 15)]
        self.assertEqual(app.wait_pixels(points, [rect, rest], name='mirrored.png'),
                         [rect, rest])
        self.assertIn(b' *  [', app.title())
        app.key('z')
        self.assertEqual(app.wait_pixels(points[1:], [rect], name='undone.png'), [rect])
        app.key('alt+F4')
        self.assertExitsWith(app, 0)

    def test_escape_bound_to_a_command_runs_it_instead_of_closing_and_the_popup_menu(self):
        app = self.launch_configured(bindings={'ZoomUp': 0x1B})
        app.wait_window()
        app.focus()
        app.key('Escape')
        app.wait_title('倍率:125%'.encode('cp932'))
        self.assertIsNone(app.process.poll())
        app.key('p')
        # キャンバス → 表示サイズ → 拡大
        app.key('Down', 'Down', 'Down', 'Right', 'Right', 'Return')
        app.wait_title('倍率:150%'.encode('cp932'))
        app.key('alt+F4')
        self.assertExitsWith(app, 0)

    def test_a_failed_save_at_exit_asks_no_keeps_the_picture_and_yes_leaves_it(self):
        missing = 'Z:\\no-such-folder-for-tenmark\\'
        app = self.launch_configured(options={'s_save_dir': missing, 'n_pen_size': '3'})
        notice = app.wait_box()  # the start-up notice about the missing folder; start-up goes on
        self.assertEqual(bytes.fromhex(notice['title_hex']), b'')
        self.assertEqual(bytes.fromhex(notice['text_hex']),
                         '保存先のフォルダが存在しません'.encode('cp932'))
        app.key('Return')
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('Escape')
        text = bytes.fromhex(app.wait_box()['text_hex'])
        self.assertTrue(text.startswith(missing.encode()), text)
        question = ('.png の保存に失敗しました。\nパスが見つかりません。\n'  # Wine's words
                    '保存せずに終了しますか？').encode('cp932')
        self.assertTrue(text.endswith(question), text)
        app.key('Return')  # No is the default: Enter never discards
        app.wait_box(present=False)
        self.assertIsNone(app.process.poll())
        self.assertEqual(app.wait_pixels([(vx + 70, vy + 30)], [INK], name='kept.png'), [INK])
        app.focus()
        app.key('Escape')
        app.wait_box()
        app.key('y')  # Yes: leave without saving, the settings written as usual
        self.assertExitsWith(app, 0)
        written = self.ini(app)
        self.assertTrue(written.startswith(b's_save_dir=' + missing.encode() + b'\r\n'))
        self.assertNotIn(b'\r\nn_xsize=0\r\n', written)
        self.assertEqual(self.pictures(app), ['kept.png'])  # the screenshot alone

        # A forced end of the session while that question is up asks nothing more: the save is
        # tried once more, the settings are written and the program ends.
        options = dict(default_options(app.folder), s_save_dir=missing)  # no placement
        with open(os.path.join(app.folder, 'tenmark.ini'), 'wb') as f:
            f.write(config_text(list(options.items()), DEFAULT_BINDINGS))
        app.start()
        app.wait_box()
        app.key('Return')
        vx, vy, _, _ = app.wait_window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.key('Escape')
        app.wait_box()
        self.assertEqual(app.facts('endsession', 'forced')['agreed'], '0')
        self.assertExitsWith(app, 0)
        self.assertNotIn(b'\r\nn_xsize=0\r\n', self.ini(app))
        self.assertEqual(self.pictures(app), ['kept.png'])

    def open_and_draw(self, app, picture):
        """Opens the picture in the window on top, dropped on it, and draws in it."""
        app.probe('drop', windows_path(picture))
        app.wait_title(os.path.basename(picture).encode(), timeout=60)
        vx, vy, _, _ = app.window()['view']
        self.stroke(app, vx + 20, vy + 30, vx + 120, vy + 30)
        app.wait_title(b' *  [')

    def test_two_windows_closed_together_keep_both_pictures_of_the_same_name(self):
        app = self.launch()
        picture = os.path.join(app.folder, 'pictures', 'pic.png')
        os.mkdir(os.path.dirname(picture))
        noise_png(picture, 6000)  # its save takes long enough for the two to overlap
        app.wait_window()
        self.open_and_draw(app, picture)
        second = subprocess.Popen(['wine', app.exe], cwd=app.folder, env=app.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        app.wait_title(lambda title: title and b'pic.png' not in title, timeout=60)  # on top
        self.open_and_draw(app, picture)
        app.probe('close')  # to both windows at once, as closing their group on the taskbar
        self.assertExitsWith(app, 0, timeout=120)
        self.assertEqual(second.wait(timeout=120), 0)
        self.assertEqual(self.pictures(app), ['pic.png', 'pic_1.png'])
        for name in self.pictures(app):
            self.assertEqual(png_palette_and_size(os.path.join(app.folder, name))[1],
                             (6000, 6000, 1, 3))

    def test_a_full_disk_says_why_keeps_the_old_file_and_leaves_no_temporary(self):
        app = self.launch()
        disk = os.path.join(app.folder, 'disk')
        os.mkdir(disk)
        if subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=1m', 'tmpfs', disk],
                          capture_output=True, check=False).returncode:
            self.skipTest('a small tmpfs can only be mounted by root')
        self.addCleanup(subprocess.run, ['umount', '-l', disk], check=False)
        old = os.path.join(disk, 'old.png')
        noise_png(old, 600)
        with open(old, 'rb') as f:
            before = f.read()
        fd = os.open(os.path.join(disk, 'filler'), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(fd, bytes(65536)):
                pass
        except OSError:
            pass  # the disk is full
        os.close(fd)
        app.wait_window()
        self.open_and_draw(app, old)
        app.key('s')
        text = bytes.fromhex(app.wait_box()['text_hex'])
        self.assertEqual(text.decode('cp932'), windows_path(old) + ' の保存に失敗しました\n'
                         'ディスクがいっぱいです。')  # Wine's words
        with open(old, 'rb') as f:
            self.assertEqual(f.read(), before)
        self.assertEqual(sorted(os.listdir(disk)), ['filler', 'old.png'])

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
        self.open_through_dialog(app, broken, shown=False)
        text = bytes.fromhex(app.wait_box()['text_hex'])
        self.assertEqual(text, windows_path(broken).encode() + ' を開けませんでした'.encode('cp932'))
        app.key('Return')
        app.wait_box(present=False)
        self.assertEqual(self.pictures(app), ['broken.png', 'deep.png'])  # no copy written
        self.assertIn(b' *  [', app.title())
        self.open_through_dialog(app, deep)
        self.assertEqual(len(self.pictures(app)), 3)  # the drawing, saved before it was replaced
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (120, 80))
        points = [(vx + 15, vy + 15), (vx + 60, vy + 40)]
        self.assertEqual(app.wait_pixels(points, [INK, PAPER], name='deep.png.shot.png'),
                         [INK, PAPER])
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_a_colour_original_is_never_replaced_without_asking(self):
        app = self.launch()
        original = os.path.join(app.folder, 'scan.png')
        subprocess.run([CONVERT, '-size', '120x80', 'xc:red', '-fill', 'blue', '-draw',
                        'rectangle 10,10 29,19', original], check=True, timeout=60)
        with open(original, 'rb') as f:
            colours = f.read()
        app.wait_window()
        self.open_through_dialog(app, original)
        vx, vy, _, _ = app.window()['view']
        self.stroke(app, vx + 20, vy + 60, vx + 100, vy + 60)
        app.key('s')
        text = bytes.fromhex(app.wait_box()['text_hex'])
        self.assertEqual(text, windows_path(original).encode() + (
            ' は白黒の絵で上書きされ、元の色は失われます。\n上書きしますか？').encode('cp932'))
        app.key('Return')  # No is the default
        app.wait_box(present=False)
        self.assertIn(b' *  [', app.title())
        # Leaving saves the drawing beside the original under the next free name.
        app.key('Escape')
        self.assertExitsWith(app, 0)
        with open(original, 'rb') as f:
            self.assertEqual(f.read(), colours)
        self.assertEqual(app.pixel(os.path.join(app.folder, 'scan_1.png'), 60, 60), INK)

    def test_small_pictures_from_the_command_line_show_whole_with_the_menu_bar(self):
        for width, height in ((120, 80), (1, 1)):
            # A stored placement far larger than the picture: the window shrinks round it and
            # the menu bar wraps.
            app = self.launch_configured(
                options={'n_xpos': '40', 'n_ypos': '40', 'n_xsize': '500', 'n_ysize': '400'},
                start=False)
            picture = os.path.join(app.folder, 'small.png')
            subprocess.run([CONVERT, '-size', '%dx%d' % (width, height), 'xc:black', '-type',
                            'bilevel', 'PNG8:' + picture], check=True, timeout=60)
            app.args = [windows_path(picture)]
            app.start()
            info = app.wait_window()
            _, _, cw, ch = info['client']
            vx, vy, vw, vh = info['view']
            self.assertEqual((vw, vh), (width, height), info)
            self.assertEqual(int(info['style'], 16) & 0x00300000, 0, info)  # WS_H/VSCROLL
            self.assertGreaterEqual(ch, height, info)
            self.assertRegex(app.title(), rb'^Tenmark 1\.4\.4c - \d{8}_\d{6}  \[')
            self.assertEqual(app.wait_pixels([(vx + width - 1, vy + height - 1)], [INK],
                                             name='cmdline%d.png' % width), [INK])
            app.focus()
            app.key('Escape')
            self.assertExitsWith(app, 0)
            app.close()  # the next start finds Wine stopped

    def test_small_pictures_open_whole_without_scroll_bars(self):
        app = self.launch()
        app.wait_window()
        for width, height in ((120, 80), (1, 1)):
            name = 'small%d.png' % width
            picture = os.path.join(app.folder, name)
            subprocess.run([CONVERT, '-size', '%dx%d' % (width, height), 'xc:black', '-type',
                            'bilevel', 'PNG8:' + picture], check=True, timeout=60)
            subprocess.run([CONVERT, picture, '-define', 'png:bit-depth=1', picture],
                           check=True, timeout=60)
            self.open_through_dialog(app, picture)
            info = app.window()
            _, _, cw, ch = info['client']
            vx, vy, vw, vh = info['view']
            self.assertEqual((vw, vh), (width, height), info)
            # Shown whole: the view lies inside the client area, and no scroll bar is needed.
            self.assertEqual(int(info['style'], 16) & 0x00300000, 0, info)  # WS_H/VSCROLL
            self.assertGreaterEqual(ch, height)
            self.assertEqual(app.wait_pixels([(vx + width - 1, vy + height - 1)], [INK],
                                             name=name + '.shot.png'), [INK])
        app.key('Escape')
        self.assertExitsWith(app, 0)
