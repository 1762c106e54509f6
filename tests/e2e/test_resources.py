"""The window as it starts, and the resources as a user meets them: the canvas in its colour,
the menu bar, the cursors, the icon and the version text. These tests only look, so they share
one start of the program."""
import os
import re

from e2e_case import E2ECase
from wine_session import PAPER

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ITEM = re.compile(r'(POPUP|MENUITEM) (?:SEPARATOR|"([^"]*)"(?:, (\w+))?(, GRAYED)?)$')


def script_menu():
    """The main menu as the resource script writes it: position, command id (None for a
    submenu), greyed, text (None for a separator)."""
    def source(*name):
        with open(os.path.join(TOP, 'src', 'resources', *name), encoding='utf-8') as f:
            return f.read()
    ids = dict(re.findall(r'#define (\w+) (\d+)', source('resource_ids.h')))
    script = source('tenmark.rc')
    items, path = [], []
    for line in script[script.index('IDR_MAINMENU MENU'):].splitlines()[1:]:
        words = line.strip()
        if words in ('BEGIN', 'END'):
            path = path + [-1] if words == 'BEGIN' else path[:-1]
            if not path:
                return items
            continue
        path[-1] += 1
        _, text, symbol, greyed = ITEM.match(words).groups()
        items.append(('.'.join(map(str, path)), int(ids[symbol]) if symbol else None,
                      bool(greyed), text and text.replace('\\t', '\t')))
    raise AssertionError('the menu in tenmark.rc has no end')


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
        """The menu bar is the script's menu, compiled with its Shift-JIS texts and ids."""
        self.assertEqual(self.info['menu'], '1')
        items = self.app.menu()
        menu = script_menu()
        self.assertEqual([text for _, _, greyed, text in menu if greyed], ['undo', 'redo'])
        self.assertEqual([i[0] for i in items], [m[0] for m in menu])
        for (position, item_id, state, separator, text), (_, want_id, greyed, want_text) in zip(
                items, menu):
            self.assertEqual(separator, want_text is None, position)
            if want_text is None:
                continue  # separators are inert; their state says nothing
            self.assertEqual(text, want_text.encode('cp932'), position)
            if want_id is not None:
                self.assertEqual(item_id, want_id, position)
            self.assertEqual(bool(state & MF_GRAYED), greyed, position)

    def test_cursors_icon_and_version_text(self):
        res = self.app.resources()
        # Hot spot x, hot spot y, width, height, at 100, 150 and 200 %: drawn at each size, the
        # hot spot on the tip's first pixel.
        for cursor_id, tip_y in ((135, 1), (137, 1), (157, 0), (158, 0)):
            self.assertEqual(res.get('cursor%d_sizes' % cursor_id), '32,48,64')
            for size in (32, 48, 64):
                self.assertEqual(res.get('cursor%d@%d' % (cursor_id, size)),
                                 '0,%d,%d,%d' % (tip_y * size // 32, size, size))
        self.assertEqual(res.get('icon130_sizes'), '16,24,32,48,64,128,256')
        self.assertEqual(bytes.fromhex(res.get('string1_hex', '')), b'Tenmark 1.4.4c')
