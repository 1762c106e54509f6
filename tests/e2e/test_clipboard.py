"""The clipboard as other programs see it: an empty one pastes nothing; Copy hands over the
canvas in its colours; Paste brings in pictures as other programs put them (bitmaps of the
screen's depth and of 24 bits, cut to the canvas and reduced to its two colours; line art on a
transparent ground, only its lines), each one undo step; a DIB holding fewer rows than it claims
pastes nothing and says so."""
from e2e_case import E2ECase
from wine_session import INK, PAPER, wait_until


class ClipboardTest(E2ECase):
    def test_copy_and_paste_between_programs(self):
        app = self.launch()
        vx, vy, _, _ = app.window()['view']
        app.focus()
        self.step('an empty clipboard pastes nothing (the zoom key after it shows it was handled)')
        app.probe('clip-empty')
        app.key('ctrl+v', '1')
        self.assertNotIn(' *', app.wait_title('倍率:125%'))
        app.key('3')
        app.wait_title('倍率:100%')

        self.step('Copy hands the canvas over in its colours')
        app.drag([(vx + 20 + 10 * i, vy + 30) for i in range(11)])
        app.wait_title(' *')
        app.key('ctrl+c')
        copied = wait_until(lambda: (lambda f: f if 'size' in f else None)(
            app.facts('clip-get', 70, 30)), what='the copied picture')
        self.assertEqual((copied['size'], copied['pixel']), ('668,668', INK))
        self.assertEqual(app.facts('clip-get', 70, 40)['pixel'], PAPER)
        self.step('pasting the copy is one undo step: undone, the stroke stays')
        app.key('ctrl+v', 'z')
        app.expect_pixels([(vx + 70, vy + 30)], [INK])
        app.key('z')
        app.expect_pixels([(vx + 70, vy + 30)], [PAPER])

        # The pictures are dark on the left half and light on the right.
        for what, args, points, want in (
                ('a bitmap of the screen, larger than the canvas, cut and reduced',
                 ('clip-put', 1000, 800), [(10, 10), (499, 660), (500, 10)], [INK, INK, PAPER]),
                ('a 24-bit bitmap beside a screen of another depth',
                 ('clip-put', 300, 200, 24), [(10, 10), (149, 199), (150, 10), (10, 200)],
                 [INK, INK, PAPER, PAPER]),
                ('line art on a transparent ground: only its lines',
                 ('clip-dibv5', 301, 201), [(10, 10), (150, 10), (10, 100), (298, 198),
                                            (300, 100)], [PAPER, INK, INK, PAPER, INK])):
            self.step('paste ' + what)
            app.probe(*args)
            app.key('ctrl+v')
            points = [(vx + x, vy + y) for x, y in points]
            app.expect_pixels(points, want)
            self.step('one undo takes away ' + what)
            app.key('z')
            app.expect_pixels(points, [PAPER] * len(points))

        self.step('a DIB holding fewer rows than it claims pastes nothing and says so')
        app.probe('clip-dib', 300, 200, 100)
        app.key('ctrl+v')
        self.assertEqual(app.box_text(), 'クリップボードの画像を読み込めませんでした。')
        app.key('Return')
        app.wait_box(present=False)
        app.expect_pixels([(vx + 10, vy + 10)], [PAPER])
        self.leave('alt+F4')
