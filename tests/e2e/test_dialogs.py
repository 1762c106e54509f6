"""The three dialogs as a user drives them: the settings dialog from its key and its menu item,
with the values it refuses, its preview taken back by Cancel, and a new canvas width and pen
size, asking before a width that cuts off ink, and OK from Enter over a wider picture; the
shortcut dialog binding a key, refusing a duplicate and clearing a row, with Escape ending a
row's wait; the About box with its version and a link that leads to the web site; Alt+Space
opening the window menu; and a close from outside (End task, the end of the session) while one
of them or a message box is up."""
import os

from e2e_case import E2ECase, ini_values
from wine_session import INK, one_bit_png, read_pixels, wait_until, windows_path

DEFAULT_SIDE = 668  # the screen height less 100
COPY_ROW, OPEN_ROW = 15, 1
WS_EX_LAYERED = 0x80000
SITE = 'https://tenmark.example.org/'


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


class DialogsTest(E2ECase):
    def replace_text(self, rect, text):
        self.app.click(*centre(rect))
        self.app.key('End', 'shift+Home', 'BackSpace')
        if text:
            self.app.xdotool('type', '--delay', '30', text)

    def row_text(self, row, want):
        wait_until(lambda: self.app.facts('listrow', row)['text1'] == want, 10,
                   'the key "%s" in row %d' % (want, row))

    def translucent(self):
        return int(self.app.window()['exstyle'], 16) & WS_EX_LAYERED

    def test_the_settings_and_shortcut_dialogs_and_the_about_box(self):
        app = self.launch()
        vx, vy, _, _ = app.window()['view']
        app.drag([(vx + 5, vy + 6), (vx + 60, vy + 6)], pace=0)
        app.wait_title(' *  [')
        self.step('E opens the settings dialog; pressure sensing enables the hardness slider')
        app.focus()
        app.key('e')
        dialog = app.wait_dialog(1001, 1013, 1021, 1031, 1032)
        self.assertEqual(dialog['enabled1032'], '0')
        app.click(*centre(dialog['rect1031']))
        wait_until(lambda: app.dialog(1032)['enabled1032'] == '1', what='the hardness enabled')
        self.step('ticking translucency previews it at once')
        app.click(*centre(dialog['rect1021']))
        wait_until(self.translucent, what='translucency')
        for edits, message in (
                (((1001, '6000'),), '入力されたキャンバスサイズが限界値（5999 pixel）を越えています'),
                (((1001, '1e3'),), 'キャンバスの幅には 1～5999 の整数を入力してください'),
                (((1001, '300'), (1013, '')), '保存先のフォルダが存在しません')):
            self.step('OK refuses %s, and the dialog keeps the entries' % (edits,))
            for control, text in edits:
                self.replace_text(dialog['rect%d' % control], text)
            app.key('Return')
            self.assertEqual(app.box_text(), message)
            app.key('Return')
            app.wait_box(present=False)
            now = app.wait_dialog(*[control for control, _ in edits])
            self.assertEqual([now['text%d' % c] for c, _ in edits], [t for _, t in edits])
        self.step('Cancel drops the entries and takes the preview back')
        app.key('Escape')
        app.wait_dialog(present=False)
        self.assertFalse(self.translucent())
        self.assertEqual(app.window()['view'][2], DEFAULT_SIDE)

        self.step('the settings dialog from its menu item: a new canvas width and pen size')
        app.menu_item(3)
        dialog = app.wait_dialog(1001, 1023, 1025)
        self.assertEqual((dialog['title'], dialog['text1001']), ('環境設定', str(DEFAULT_SIDE)))
        self.step('a width that cuts off the stroke asks first; No keeps the canvas and the dialog')
        self.replace_text(dialog['rect1001'], '40')
        app.key('Return')
        self.assertEqual(app.box_text(), '新しいキャンバスサイズでは描かれた絵の一部が切り取られます。'
                                         'よろしいですか？')
        app.key('Return')  # No, the default
        app.wait_box(present=False)
        self.assertEqual(app.dialog(1001)['text1001'], '40')
        self.assertEqual(app.window()['view'][2], DEFAULT_SIDE)
        self.replace_text(dialog['rect1001'], '400')
        app.click(*centre(dialog['rect1023']))
        app.key('Home', 'Right', 'Right', 'Right', 'Right')
        self.assertEqual(app.dialog(1025)['text1025'], '5')
        app.key('Return')
        app.wait_dialog(present=False)
        app.wait_title('ペン:5 ')
        vx, vy, vw, _ = app.window()['view']
        self.assertEqual(vw, 400)
        app.expect_pixels([(vx + 30, vy + 6)], [INK])

        self.step('the shortcut dialog binds Shift+V to Copy')
        app.focus()
        app.key('k')
        app.wait_dialog()
        app.click(*centre(app.facts('listrow', COPY_ROW)['rect']))
        app.key('shift+v')
        self.row_text(COPY_ROW, 'Shift+V')
        self.step('Escape while a row waits for its key ends the wait, not the dialog')
        app.key('Escape')
        self.assertEqual(app.dialog()['found'], '1')
        self.step('N for Open is refused: New has it')
        open_row = centre(app.facts('listrow', OPEN_ROW)['rect'])
        app.click(*open_row)
        app.key('n', 'Return')
        self.assertEqual(app.box_text(), '以下のショートカットキーが重複しています。\n・新規作成\n・開く')
        app.key('Return')
        app.wait_box(present=False)
        self.step('a double click clears the Open row, and OK takes the bindings')
        # The pointer rests on the row first, so both clicks land on it as one double click.
        app.xdotool('mousemove', *open_row, 'sleep', '0.15', 'click', '--repeat', '2',
                    '--delay', '80', '1')
        self.row_text(OPEN_ROW, '')
        app.key('Return')
        app.wait_dialog(present=False)

        self.step('the About box shows the version, and its link leads to the web site')
        # The web browser, as the shell finds it, is the probe, which notes the address.
        opened = os.path.join(app.folder, 'opened.txt')
        app.wine('reg', 'add', r'HKCR\https\shell\open\command', '/ve', '/d', '"%s" opened "%s" '
                 '"%%1"' % (windows_path(app.probe_exe), windows_path(opened)), '/f')
        app.menu_item(2)
        dialog = app.wait_dialog(1029, 1019)
        self.assertEqual((dialog['text1029'], dialog['text1019']), ('Tenmark 1.4.4c', SITE))
        app.click(*centre(dialog['rect1019']))
        wait_until(lambda: os.path.exists(opened), what='the web browser started by the link')
        with open(opened) as f:
            self.assertEqual(f.read(), SITE)
        self.assertEqual(app.dialog()['found'], '1')  # the box stays
        app.click(*centre(dialog['rect1029']))  # back from the browser to the box
        app.key('Return')
        app.wait_dialog(present=False)

        self.step('a dropped picture wider than a typed size may be: Enter in the settings '
                  'dialog is OK')
        wide = os.path.join(app.folder, 'wide.png')
        one_bit_png(wide, 7000, DEFAULT_SIDE)
        app.probe('drop', windows_path(wide))
        app.wait_title('wide.png')
        app.focus()
        app.key('e')
        self.assertEqual(app.wait_dialog(1001)['text1001'], '7000')
        app.key('Return')
        app.wait_dialog(present=False)
        self.step('a width of 400 again, which the settings file keeps')
        app.key('e')
        self.replace_text(app.wait_dialog(1001)['rect1001'], '400')
        app.key('Return')
        app.wait_dialog(present=False)
        wait_until(lambda: app.window()['view'][2] == 400, what='the canvas 400 wide')

        self.step('Alt+Space opens the window menu: X maximises the window')
        app.key('alt+space', 'x')
        wait_until(lambda: app.window()['maximized'] == '1', what='the window maximised')

        self.step('leaving keeps the new canvas width, pen size and bindings')
        self.leave()
        kept = ini_values(self.ini())
        self.assertEqual([kept[k] for k in ('n_canvas_x', 'n_canvas_y', 'n_pen_size',
                                            'dw_Key_Copy', 'dw_Key_Open')],
                         ['400', str(DEFAULT_SIDE), '5', str(0x4056), '0'])

    def test_a_close_from_outside_with_a_dialog_or_message_box_up(self):
        """For each dialog and a message box, a close (End task) and the end of the session from
        outside end the program with 0, the drawing saved and tenmark.ini written."""
        def unreadable_drop():
            notes = os.path.join(self.app.folder, 'notes.txt')
            with open(notes, 'w') as f:
                f.write('not a picture')
            self.app.probe('drop', windows_path(notes))
            self.assertEqual(self.app.wait_box()['owned'], '1')
        openers = {'the settings dialog': lambda: self.app.key('e'),
                   'the shortcut dialog': lambda: self.app.key('k'),
                   'the About box': lambda: self.app.menu_item(2),
                   'a message box': unreadable_drop}
        for way in ('close', 'endsession'):
            for name, opener in openers.items():
                self.step('%s while %s is up' % (way, name))
                app = self.launch()
                vx, vy, _, _ = app.window()['view']
                app.stroke(vx + 20, vy + 30, vx + 120, vy + 30)
                app.focus()
                opener()
                if name != 'a message box':
                    app.wait_dialog()
                app.probe(way)
                self.assertExitsWith(0)
                saved = self.pictures()
                self.assertEqual(len(saved), 1, saved)
                self.assertEqual(read_pixels(os.path.join(app.folder, saved[0]), [(70, 30)]),
                                 [INK])
                self.assertIn(b'\r\ndw_Key_New=78\r\n', self.ini())
