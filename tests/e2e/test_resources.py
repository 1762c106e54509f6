"""The window as it starts, and the resources as a user meets them: the canvas in its colour,
the menu bar, the cursors, the icon and the version text. These tests only look, so they share
one start of the program."""
from e2e_case import E2ECase
from wine_session import PAPER

# Position, command id (None for a submenu), greyed, text; separators have the text None.
MENU = [
    ('0', None, False, 'ﾌｧｲﾙ(&F)'),
    ('0.0', 32777, False, 'new'),
    ('0.1', 32779, False, 'open'),
    ('0.2', 0, False, None),
    ('0.3', 32778, False, 'save'),
    ('0.4', 32771, False, 'save as'),
    ('0.5', 0, False, None),
    ('0.6', 57665, False, '終了(&X)\tESC'),
    ('1', None, False, '編集(&E)'),
    ('1.0', 32780, True, 'undo'),
    ('1.1', 32784, True, 'redo'),
    ('1.2', 0, False, None),
    ('1.3', 32796, False, 'copy'),
    ('1.4', 32797, False, 'paste'),
    ('2', None, False, 'キャンバス(&C)'),
    ('2.0', None, False, '表示サイズ'),
    ('2.0.0', 32798, False, 'up'),
    ('2.0.1', 32799, False, 'down'),
    ('2.0.2', 32800, False, 'nomal'),
    ('2.1', 0, False, None),
    ('2.2', 32781, False, 'v mirror'),
    ('2.3', 32783, False, 'h mirror'),
    ('2.4', 0, False, None),
    ('2.5', 32787, False, 'resize'),
    ('3', None, False, '設定(&E)'),
    ('3.0', 32773, False, '環境設定(&E)'),
    ('3.1', 32788, False, 'ショートカットキー設定(&S)'),
    ('4', None, False, 'ﾍﾙﾌﾟ(&H)'),
    ('4.0', 57664, False, 'ﾊﾞｰｼﾞｮﾝ情報(&A)'),
]
MF_GRAYED = 0x1


class ResourcesTest(E2ECase):
    @classmethod
    def setUpClass(cls):
        cls.app = cls.launch_shared()
        cls.info = cls.app.wait_window()

    def test_window_shows_the_canvas_in_the_background_colour(self):
        vx, vy, vw, vh = self.info['view']
        self.assertGreater(vw, 0)
        self.assertGreater(vh, 0)
        points = [(vx + 2, vy + 2), (vx + vw // 2, vy + vh // 2), (vx + vw - 3, vy + vh - 3)]
        self.assertEqual(self.app.wait_pixels(points, [PAPER] * 3),
                         [PAPER] * 3)

    def test_menu_bar_items_ids_and_shift_jis_texts(self):
        self.assertEqual(self.info['menu'], '1')
        items = self.app.menu()
        self.assertEqual([i[0] for i in items], [m[0] for m in MENU])
        for (position, item_id, state, separator, text), (_, want_id, greyed, want_text) in zip(
                items, MENU):
            self.assertEqual(separator, want_text is None, position)
            if want_text is None:
                continue  # separators are inert; their state says nothing
            self.assertEqual(text, want_text.encode('cp932'), position)
            if want_id is not None:
                self.assertEqual(item_id, want_id, position)
            self.assertEqual(bool(state & MF_GRAYED), greyed, position)

    def test_cursors_icon_and_version_text(self):
        res = self.app.resources()
        # hot spot x, hot spot y, width, height
        self.assertEqual(res.get('cursor135'), '0,1,32,32')
        self.assertEqual(res.get('cursor137'), '0,1,32,32')
        self.assertEqual(res.get('cursor157'), '0,0,32,32')
        self.assertEqual(res.get('cursor158'), '0,0,32,32')
        self.assertEqual(res.get('icon130'), '1')
        self.assertEqual(bytes.fromhex(res.get('string1_hex', '')), b'Tenmark 1.4.4c')
