"""The clipboard as other programs see it: Copy hands over the canvas in its colours, Paste
brings a picture in cut to the canvas and reduced to its two colours, one undo step each."""
import time

from e2e_case import E2ECase

INK = '000000'
PAPER = 'F4F1EA'


class ClipboardTest(E2ECase):
    def facts(self, app, *args):
        return dict(line.split('=', 1) for line in app.probe(*args).split())

    def colours(self, app, name, points):
        shot = app.screenshot(name)
        return [app.pixel(shot, x, y) for x, y in points]

    def test_copy_hands_over_the_canvas_and_pasting_it_back_is_one_undo_step(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        app.xdotool('mousemove', vx + 20, vy + 30)
        app.xdotool('mousedown', 1)
        for i in range(1, 11):
            app.xdotool('mousemove', vx + 20 + 10 * i, vy + 30)
            time.sleep(0.03)
        app.xdotool('mouseup', 1)
        time.sleep(0.3)
        app.key('ctrl+c')
        self.assertEqual(self.facts(app, 'clip-get', '70', '30'), {'size': '668,668',
                                                                  'pixel': INK})
        self.assertEqual(self.facts(app, 'clip-get', '70', '40')['pixel'], PAPER)
        app.key('ctrl+v', 'z')  # the paste, then its undo: the stroke stays
        self.assertEqual(self.colours(app, 'pasted.png', [(vx + 70, vy + 30)]), [INK])
        app.key('z')
        self.assertEqual(self.colours(app, 'undone.png', [(vx + 70, vy + 30)]), [PAPER])
        app.key('alt+F4')
        self.assertExitsWith(app, 0)

    def test_a_larger_colour_picture_is_cut_and_reduced_and_an_empty_clipboard_does_nothing(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        app.probe('clip-empty')
        app.focus()
        app.key('ctrl+v')
        self.assertNotIn(b' *', app.title())
        app.probe('clip-put', '1000', '800')
        app.key('ctrl+v')
        self.assertIn(b' *', app.title())
        self.assertEqual(self.colours(app, 'pasted.png', [(vx + 10, vy + 10), (vx + 499, vy + 660),
                                                          (vx + 500, vy + 10)]),
                         [INK, INK, PAPER])
        app.key('z')
        self.assertEqual(self.colours(app, 'undone.png', [(vx + 10, vy + 10)]), [PAPER])
        app.key('alt+F4')
        self.assertExitsWith(app, 0)
