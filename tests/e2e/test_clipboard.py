"""The clipboard as other programs see it: an empty one pastes nothing, Copy hands over the
canvas in its colours, Paste brings a picture in cut to the canvas and reduced to its two
colours, one undo step each."""
from e2e_case import E2ECase
from wine_session import INK, PAPER, wait_until

ZOOM = '倍率:%d%%'


class ClipboardTest(E2ECase):
    def facts(self, app, *args):
        return dict(line.split('=', 1) for line in app.probe(*args).split())

    def test_copy_and_paste_between_programs_each_one_undo_step(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        app.probe('clip-empty')
        app.focus()
        app.key('ctrl+v', '1')  # the zoom key after it shows when the paste has been handled
        self.assertNotIn(b' *', app.wait_title((ZOOM % 125).encode('cp932')))
        app.key('3')
        app.wait_title((ZOOM % 100).encode('cp932'))

        app.drag([(vx + 20 + 10 * i, vy + 30) for i in range(11)])
        app.wait_title(b' *')
        app.key('ctrl+c')
        copied = wait_until(lambda: (lambda f: f if 'size' in f else None)(
            self.facts(app, 'clip-get', '70', '30')), what='the copied picture')
        self.assertEqual(copied, {'size': '668,668', 'pixel': INK})
        self.assertEqual(self.facts(app, 'clip-get', '70', '40')['pixel'], PAPER)
        app.key('ctrl+v', 'z')  # the paste, then its undo: the stroke stays
        self.assertEqual(app.wait_pixels([(vx + 70, vy + 30)], [INK], name='back.png'), [INK])
        app.key('z')
        self.assertEqual(app.wait_pixels([(vx + 70, vy + 30)], [PAPER], name='undone.png'),
                         [PAPER])

        # A larger colour picture: cut to the canvas and reduced, and one undo takes it away.
        app.probe('clip-put', '1000', '800')
        app.key('ctrl+v')
        points = [(vx + 10, vy + 10), (vx + 499, vy + 660), (vx + 500, vy + 10)]
        self.assertEqual(app.wait_pixels(points, [INK, INK, PAPER], name='pasted.png'),
                         [INK, INK, PAPER])
        app.key('z')
        self.assertEqual(app.wait_pixels(points[:1], [PAPER], name='undone-paste.png'), [PAPER])
        app.key('alt+F4')
        self.assertExitsWith(app, 0)
