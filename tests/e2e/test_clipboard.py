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

    def test_pictures_as_other_programs_put_them(self):
        """A 24-bit bitmap beside a screen of another depth pastes its colours, line art on a
        transparent ground pastes only its lines, and a DIB holding fewer rows than it claims
        pastes nothing and says so."""
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        app.focus()
        self.assertEqual(self.facts(app, 'clip-put', '300', '200', '24'), {'rows': '200'})
        app.key('ctrl+v')
        points = [(vx + 10, vy + 10), (vx + 149, vy + 199), (vx + 150, vy + 10),
                  (vx + 10, vy + 200)]
        self.assertEqual(app.wait_pixels(points, [INK, INK, PAPER, PAPER], name='bitmap24.png'),
                         [INK, INK, PAPER, PAPER])
        app.key('z')
        self.assertEqual(app.wait_pixels(points[:1], [PAPER], name='bitmap24-undone.png'),
                         [PAPER])

        app.probe('clip-dibv5', '301', '201')
        app.key('ctrl+v')
        points = [(vx + 10, vy + 10), (vx + 150, vy + 10), (vx + 10, vy + 100),
                  (vx + 298, vy + 198), (vx + 300, vy + 100)]
        want = [PAPER, INK, INK, PAPER, INK]
        self.assertEqual(app.wait_pixels(points, want, name='line-art.png'), want)
        app.key('z')
        self.assertEqual(app.wait_pixels(points[1:2], [PAPER], name='line-art-undone.png'),
                         [PAPER])

        app.probe('clip-dib', '300', '200', '100')
        app.key('ctrl+v')
        self.assertEqual(bytes.fromhex(app.wait_box()['text_hex']),
                         'クリップボードの画像を読み込めませんでした。'.encode('cp932'))
        app.key('Return')
        app.wait_box(present=False)
        self.assertEqual(app.wait_pixels([(vx + 10, vy + 10)], [PAPER], name='cut-short.png'),
                         [PAPER])
        app.key('alt+F4')
        self.assertExitsWith(app, 0)
