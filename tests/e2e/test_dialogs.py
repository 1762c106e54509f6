"""The three dialogs as a user drives them: the settings dialog from its menu item and its key,
with a new canvas width and pen size, and with the values it refuses; the shortcut dialog
binding a key and refusing a duplicate; the About box and its link."""
import os
import time

from e2e_case import E2ECase

INK = '000000'
SETTINGS_TITLE = '環境設定'.encode('cp932')
TOO_LARGE = '入力されたキャンバスサイズが限界値を越えています'.encode('cp932')
FOLDER_MISSING = '保存先のフォルダが存在しません'.encode('cp932')
DUPLICATE = '以下のショートカットキーが重複しています。\n・新規作成\n・開く'.encode('cp932')
DEFAULT_SIDE = 668  # the screen height less 100
COPY_ROW, OPEN_ROW = 15, 1


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


class DialogsTest(E2ECase):
    def dialog(self, app, *ids):
        facts = app.probe('dialog', *[str(i) for i in ids])
        info = dict(line.strip().partition('=')[::2] for line in facts.splitlines())
        for key in [k for k in info if k.startswith('rect')]:
            info[key] = tuple(int(v) for v in info[key].split(','))
        return info

    def text(self, info, control):
        return bytes.fromhex(info['text%d_hex' % control])

    def replace_text(self, app, rect, text):
        app.click(*centre(rect))
        app.key('End', 'shift+Home', 'BackSpace')
        if text:
            app.xdotool('type', '--delay', '30', text)
        time.sleep(0.3)

    def open_menu_item(self, app, steps_left):
        """The first item of a menu bar entry, reached leftwards from the File menu."""
        cx, cy, _, _ = app.window()['client']
        app.click(cx + 20, cy - 10)
        app.key(*['Left'] * steps_left)
        app.key('Return')
        time.sleep(1.5)

    def settings(self, app):
        lines = open(os.path.join(app.folder, 'tenmark.ini'), 'rb').read().decode('cp932')
        return dict(line.split('=', 1) for line in lines.split('\r\n') if '=' in line)

    def test_settings_dialog_resizes_the_canvas_and_sets_the_pen_size(self):
        app = self.launch()
        info = app.wait_window()
        vx, vy, _, _ = info['view']
        app.xdotool('mousemove', vx + 5, vy + 6, 'mousedown', 1, 'mousemove', vx + 60, vy + 6,
                    'mouseup', 1)
        time.sleep(0.5)
        self.open_menu_item(app, 3)
        dialog = self.dialog(app, 1001, 1023, 1025)
        self.assertEqual(dialog.get('found'), '1')
        self.assertEqual(bytes.fromhex(dialog['title_hex']), SETTINGS_TITLE)
        self.assertEqual(self.text(dialog, 1001), str(DEFAULT_SIDE).encode())
        self.replace_text(app, dialog['rect1001'], '400')
        app.click(*centre(dialog['rect1023']))
        app.key('Home', 'Right', 'Right', 'Right', 'Right')
        self.assertEqual(self.text(self.dialog(app, 1025), 1025), b'5')
        app.key('Return')
        time.sleep(1.0)
        self.assertEqual(self.dialog(app).get('found'), '0')
        info = app.window()
        self.assertIn('ペン:5 '.encode('cp932'), app.title())
        vx, vy, vw, _ = info['view']
        self.assertEqual(vw, 400)
        shot = app.screenshot('resized.png')
        self.assertEqual(app.pixel(shot, vx + 30, vy + 6), INK)
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        kept = self.settings(app)
        self.assertEqual((kept['n_canvas_x'], kept['n_canvas_y'], kept['n_pen_size']),
                         ('400', str(DEFAULT_SIDE), '5'))

    def test_settings_dialog_refuses_a_width_at_the_limit_and_an_empty_folder(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('e')
        time.sleep(1.5)
        dialog = self.dialog(app, 1001, 1013)
        steps = (((1001, '6000'),), TOO_LARGE), (((1001, '300'), (1013, '')), FOLDER_MISSING)
        for edits, message in steps:
            for control, text in edits:
                self.replace_text(app, dialog['rect%d' % control], text)
            app.key('Return')
            time.sleep(1.0)
            self.assertEqual(bytes.fromhex(app.message_box().get('text_hex', '')), message)
            app.key('Return')
            time.sleep(0.8)
            # The dialog stays, with what the user entered.
            now = self.dialog(app, *[control for control, _ in edits])
            for control, text in edits:
                self.assertEqual(self.text(now, control), text.encode())
        app.key('Escape')
        time.sleep(1.0)
        self.assertEqual(self.dialog(app).get('found'), '0')
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        self.assertEqual(self.settings(app)['n_canvas_x'], str(DEFAULT_SIDE))

    def test_shortcut_dialog_binds_a_key_and_refuses_a_duplicate(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('k')
        time.sleep(1.5)
        row = app.facts('listrow', str(COPY_ROW))
        app.click(*centre(row['rect']))
        app.key('shift+v')
        self.assertEqual(bytes.fromhex(app.facts('listrow', str(COPY_ROW))['text1_hex']),
                         b'Shift+V')
        open_row = centre(app.facts('listrow', str(OPEN_ROW))['rect'])
        app.click(*open_row)
        app.key('n', 'Return')
        time.sleep(1.0)
        self.assertEqual(bytes.fromhex(app.message_box().get('text_hex', '')), DUPLICATE)
        app.key('Return')
        time.sleep(0.8)
        app.xdotool('mousemove', *open_row)
        app.xdotool('click', '--repeat', '2', '--delay', '80', '1')
        time.sleep(0.5)
        self.assertEqual(app.facts('listrow', str(OPEN_ROW))['text1_hex'], '')
        app.key('Return')
        time.sleep(1.0)
        self.assertEqual(self.dialog(app).get('found'), '0')
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        kept = self.settings(app)
        self.assertEqual((kept['dw_Key_Copy'], kept['dw_Key_Open']), (str(0x4056), '0'))

    def test_about_box_shows_the_version_and_stays_open_after_the_link(self):
        app = self.launch()
        app.wait_window()
        self.open_menu_item(app, 2)
        dialog = self.dialog(app, 1029, 1019)
        self.assertEqual(self.text(dialog, 1029), b'Tenmark 1.4.4c')
        app.click(*centre(dialog['rect1019']))
        time.sleep(1.5)
        self.assertEqual(self.dialog(app, 1029).get('found'), '1')
        app.key('Return')
        time.sleep(1.0)
        self.assertEqual(self.dialog(app).get('found'), '0')
