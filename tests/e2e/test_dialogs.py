"""The three dialogs as a user drives them: the settings dialog from its menu item and its key,
with a new canvas width and pen size, and with the values it refuses; the shortcut dialog
binding a key and refusing a duplicate; the About box and its link; their templates as the
executable holds them; and a close from outside (End task, the end of the session) while one of
them or a message box is up."""
import os
import subprocess
import time

from e2e_case import E2ECase
from wine_session import CONVERT, INK, wait_until, windows_path

SETTINGS_TITLE = '環境設定'.encode('cp932')
TOO_LARGE = '入力されたキャンバスサイズが限界値を越えています'.encode('cp932')
FOLDER_MISSING = '保存先のフォルダが存在しません'.encode('cp932')
DUPLICATE = '以下のショートカットキーが重複しています。\n・新規作成\n・開く'.encode('cp932')
DEFAULT_SIDE = 668  # the screen height less 100
COPY_ROW, OPEN_ROW = 15, 1
WS_EX_LAYERED = 0x80000
WS_DISABLED = 0x08000000
OPEN_FAILED = ' を開けませんでした'.encode('cp932')


# Dialog templates: the dialog's size and caption, then each control in template order as
# id | class (Button, Edit, Static, ComboBox by atom) | x,y,width,height | text.
TEMPLATES = {
    131: ('211,303', '環境設定', """
        -1|#128|6,6,200,50|キャンバスの色とサイズ
        -1|#130|10,22,32,8|幅(&W) ：
        1001|#129|44,20,28,12|
        -1|#130|76,22,15,8|pixel
        -1|#130|10,38,32,8|高さ(&H) ：
        1002|#129|44,36,28,12|
        -1|#130|76,38,15,8|pixel
        -1|#130|96,22,46,8|背景色(&B) ：
        1012|STATIC|145,20,35,12|
        -1|#130|96,38,46,8|ペン色(&P) ：
        1011|STATIC|145,36,35,12|
        -1|STATIC|6,66,100,38|
        1015|BUTTON|10,62,92,10|終了時に画像を保存(&V)
        -1|#130|12,82,42,8|保存形式(&F)
        1018|#133|57,80,41,40|
        -1|#128|110,62,96,42|クライアント領域の色
        1037|BUTTON|118,74,80,10|システムカラー(&Y)
        1038|BUTTON|118,88,42,10|指定(&U)
        1040|STATIC|162,86,36,12|
        -1|STATIC|6,112,200,56|
        -1|#130|10,118,56,8|ペンサイズ(&S)
        1023|MSCTLS_TRACKBAR32|68,118,107,12|
        1025|#130|176,118,10,8|0
        -1|#130|189,118,15,8|pixel
        -1|#130|10,134,58,8|消しゴムサイズ(&E)
        1024|MSCTLS_TRACKBAR32|68,134,107,12|
        1026|#130|176,134,10,8|0
        -1|#130|189,134,15,8|pixel
        1031|BUTTON|13,152,56,10|筆圧感知(&R)
        1041|#130|71,152,42,10|筆の硬さ(&D)
        1032|MSCTLS_TRACKBAR32|113,150,62,12|
        1033|#130|176,150,10,8|0
        -1|STATIC|6,180,200,28|
        1021|BUTTON|13,176,108,10|キャンバスを半透明にする(&T)
        -1|#130|12,192,36,8|透過率(&A)
        1020|MSCTLS_TRACKBAR32|50,190,136,12|
        1022|#130|189,190,15,8|0
        -1|#128|4,214,202,32|画像の保存先のディレクトリ(&O)
        1013|#129|11,228,179,12|
        1014|#128|188,228,12,12|...
        1044|BUTTON|86,256,108,10|タブレットの&XY座標を参照しない
        -1|STATIC|2,276,208,1|
        1|#128|100,284,44,14|OK
        2|#128|158,284,44,14|ｷｬﾝｾﾙ"""),
    139: ('187,215', 'ショートカットキー設定', """
        1|#128|82,198,44,14|OK
        2|#128|134,198,44,14|ｷｬﾝｾﾙ
        1039|SYSLISTVIEW32|2,2,184,176|
        1042|#128|2,198,50,14|設定初期化
        -1|#130|4,184,132,8|キー設定はダブルクリックで無効になります。"""),
    100: ('235,95', 'ﾊﾞｰｼﾞｮﾝ情報', """
        -1|STATIC|11,17,20,20|#130
        1029|#130|40,10,186,8|-
        -1|#130|40,25,188,8|Copyright (C) 2006-2026 Tenmark developers
        1|#128|94,68,50,14|OK
        1019|#130|76,42,128,8|https://tenmark.example.org/
        -1|#130|40,42,32,10|Web Site"""),
}
FONT = '9 ＭＳ Ｐゴシック'.encode('cp932')


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


class DialogsTest(E2ECase):
    def text(self, info, control):
        return bytes.fromhex(info['text%d_hex' % control])

    def replace_text(self, app, rect, text):
        app.click(*centre(rect))
        app.key('End', 'shift+Home', 'BackSpace')
        if text:
            app.xdotool('type', '--delay', '30', text)

    def row_text(self, app, row, want):
        """The shortcut list's key text in a row, once it reads `want` (or after a time-out)."""
        seen = []
        try:
            wait_until(lambda: seen.append(bytes.fromhex(app.facts(
                'listrow', str(row))['text1_hex'])) or seen[-1] == want, 10, 'the row text')
        except AssertionError:
            pass
        return seen[-1]

    def open_menu_item(self, app, steps_left):
        """The first item of a menu bar entry, reached leftwards from the File menu."""
        cx, cy, _, _ = app.window()['client']
        app.click(cx + 20, cy - 10)
        app.key(*['Left'] * steps_left)
        app.key('Return')

    def settings(self, app):
        lines = self.ini(app).decode('cp932')
        return dict(line.split('=', 1) for line in lines.split('\r\n') if '=' in line)

    def test_settings_dialog_resizes_the_canvas_and_sets_the_pen_size(self):
        app = self.launch()
        info = app.wait_window()
        vx, vy, _, _ = info['view']
        app.drag([(vx + 5, vy + 6), (vx + 60, vy + 6)], pace=0)
        app.wait_title(b' *  [')
        self.open_menu_item(app, 3)
        dialog = app.wait_dialog(1001, 1023, 1025)
        self.assertEqual(bytes.fromhex(dialog['title_hex']), SETTINGS_TITLE)
        self.assertEqual(self.text(dialog, 1001), str(DEFAULT_SIDE).encode())
        self.replace_text(app, dialog['rect1001'], '400')
        app.click(*centre(dialog['rect1023']))
        app.key('Home', 'Right', 'Right', 'Right', 'Right')
        self.assertEqual(self.text(app.dialog(1025), 1025), b'5')
        app.key('Return')
        app.wait_dialog(present=False)
        app.wait_title('ペン:5 '.encode('cp932'))
        vx, vy, vw, _ = app.window()['view']
        self.assertEqual(vw, 400)
        self.assertEqual(app.wait_pixels([(vx + 30, vy + 6)], [INK], name='resized.png'), [INK])
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        kept = self.settings(app)
        self.assertEqual((kept['n_canvas_x'], kept['n_canvas_y'], kept['n_pen_size']),
                         ('400', str(DEFAULT_SIDE), '5'))

    def test_settings_dialog_refuses_a_width_at_the_limit_and_an_empty_folder_and_cancels(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('e')
        dialog = app.wait_dialog(1001, 1013, 1021, 1031, 1032)
        # Pressure sensing enables the hardness slider; ticking translucency previews it at once.
        self.assertEqual(dialog['enabled1032'], '0')
        app.click(*centre(dialog['rect1031']))
        wait_until(lambda: app.dialog(1032)['enabled1032'] == '1', what='the hardness enabled')
        app.click(*centre(dialog['rect1021']))
        wait_until(lambda: int(app.window()['exstyle'], 16) & WS_EX_LAYERED, what='translucency')
        steps = (((1001, '6000'),), TOO_LARGE), (((1001, '300'), (1013, '')), FOLDER_MISSING)
        for edits, message in steps:
            for control, text in edits:
                self.replace_text(app, dialog['rect%d' % control], text)
            app.key('Return')
            self.assertEqual(bytes.fromhex(app.wait_box()['text_hex']), message)
            app.key('Return')
            app.wait_box(present=False)
            # The dialog stays, with what the user entered.
            now = app.wait_dialog(*[control for control, _ in edits])
            for control, text in edits:
                self.assertEqual(self.text(now, control), text.encode())
        # Cancel drops the entries and takes the preview back.
        app.key('Escape')
        app.wait_dialog(present=False)
        self.assertFalse(int(app.window()['exstyle'], 16) & WS_EX_LAYERED)
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        self.assertEqual(self.settings(app)['n_canvas_x'], str(DEFAULT_SIDE))

    def test_shortcut_dialog_binds_a_key_and_refuses_a_duplicate(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('k')
        app.wait_dialog()
        row = app.facts('listrow', str(COPY_ROW))
        app.click(*centre(row['rect']))
        app.key('shift+v')
        self.assertEqual(self.row_text(app, COPY_ROW, b'Shift+V'), b'Shift+V')
        open_row = centre(app.facts('listrow', str(OPEN_ROW))['rect'])
        app.click(*open_row)
        app.key('n', 'Return')
        self.assertEqual(bytes.fromhex(app.wait_box()['text_hex']), DUPLICATE)
        app.key('Return')
        app.wait_box(present=False)
        app.xdotool('mousemove', *open_row, 'sleep', '0.15', 'click', '--repeat', '2',
                    '--delay', '80', '1')
        self.assertEqual(self.row_text(app, OPEN_ROW, b''), b'')
        app.key('Return')
        app.wait_dialog(present=False)
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)
        kept = self.settings(app)
        self.assertEqual((kept['dw_Key_Copy'], kept['dw_Key_Open']), (str(0x4056), '0'))

    def test_dialog_templates_and_the_about_box_with_its_link(self):
        app = self.launch()
        app.wait_window()
        for template, (size, title, controls) in TEMPLATES.items():
            lines = app.probe('template', app.windows_exe(), str(template)).splitlines()
            head = dict(f.split('=', 1) for f in lines[0].split())
            self.assertEqual(head['dialog'], '0,0,' + size)
            self.assertEqual(bytes.fromhex(head['title_hex']), title.encode('cp932'))
            self.assertEqual(head['font'].encode() + b' ' + bytes.fromhex(head['face_hex']), FONT)
            got = []
            for line in lines[1:]:
                f = dict(field.split('=', 1) for field in line.split())
                got.append((f['id'], f['class'], f['rect'], bytes.fromhex(f['text_hex'])))
            want = [tuple(row.strip().split('|')) for row in controls.strip().splitlines()]
            self.assertEqual(got, [(i, c, r, t.encode('cp932')) for i, c, r, t in want], template)
        self.open_menu_item(app, 2)
        dialog = app.wait_dialog(1029, 1019)
        self.assertEqual(self.text(dialog, 1029), b'Tenmark 1.4.4c')
        app.click(*centre(dialog['rect1019']))
        # The link hands its address to the shell, which opens nothing here; nothing shows when
        # it is done, so the box is looked for once the shell has had a second to act.
        time.sleep(1.0)
        self.assertEqual(app.dialog(1029).get('found'), '1')
        app.key('Return')
        app.wait_dialog(present=False)

    # --- a close from outside while something is up ----------------------------------------
    def open_settings(self, app):
        app.focus()
        app.key('e')
        app.wait_dialog()

    def open_shortcuts(self, app):
        app.focus()
        app.key('k')
        app.wait_dialog()

    def open_about(self, app):
        self.open_menu_item(app, 2)
        app.wait_dialog()

    def open_unreadable_drop(self, app):
        """A dropped file that is no picture: its box is owned by the main window, which takes
        no input meanwhile: a second drop, of a picture, is refused."""
        notes = os.path.join(app.folder, 'notes.txt')
        with open(notes, 'w') as f:
            f.write('not a picture')
        app.probe('drop', windows_path(notes))
        box = app.wait_box()
        self.assertEqual(bytes.fromhex(box['text_hex']), windows_path(notes).encode() + OPEN_FAILED)
        self.assertEqual(box['owned'], '1')
        self.assertTrue(int(app.window()['style'], 16) & WS_DISABLED)
        picture = os.path.join(app.folder, 'dropped.png')
        subprocess.run([CONVERT, '-size', '40x30', 'xc:black', '-type', 'bilevel',
                        'PNG8:' + picture], check=True, timeout=60)
        app.probe('drop', windows_path(picture))
        time.sleep(0.5)
        self.assertNotIn(b'dropped.png', app.title())

    def leave_with_something_up(self, way):
        """For each dialog and the box: started anew in one folder, a stroke, the dialog up,
        then `way` sent from outside; the program ends with 0, the drawing saved and
        tenmark.ini written."""
        app = self.launch(start=False)
        openers = [self.open_settings, self.open_shortcuts, self.open_about,
                   self.open_unreadable_drop]
        for opener in openers:
            before = [f for f in os.listdir(app.folder) if f.endswith('.png')]
            if os.path.exists(os.path.join(app.folder, 'tenmark.ini')):
                os.remove(os.path.join(app.folder, 'tenmark.ini'))
            app.start()
            vx, vy, _, _ = app.wait_window()['view']
            app.drag([(vx + 20 + 10 * i, vy + 30) for i in range(11)])
            app.wait_title(b' *  [')
            opener(app)
            app.probe(way)
            self.assertExitsWith(app, 0)
            saved = [f for f in os.listdir(app.folder)
                     if f.endswith('.png') and f not in before and f != 'dropped.png']
            self.assertEqual(len(saved), 1, (opener.__name__, saved))
            self.assertEqual(app.pixel(os.path.join(app.folder, saved[0]), 70, 30), INK)
            self.assertIn(b'\r\ndw_Key_New=78\r\n', self.ini(app))

    def test_a_close_from_outside_cancels_the_dialog_and_closes_as_any_close(self):
        self.leave_with_something_up('close')

    def test_the_end_of_the_session_with_a_dialog_up_saves_and_ends(self):
        self.leave_with_something_up('endsession')
