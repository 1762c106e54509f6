"""Files dropped on the window: the first of them is opened, after the picture it replaces was
saved automatically; a file that is no picture is said so and changes nothing, and costs no
copy of the drawing."""
import os
import subprocess

from e2e_case import E2ECase
from wine_session import CONVERT, INK, PAPER, windows_path

OPEN_FAILED = ' を開けませんでした'.encode('cp932')


class DropTest(E2ECase):
    def pictures(self, app):
        return sorted(f for f in os.listdir(app.folder)
                      if f.lower().endswith('.png') and not f.endswith('.shot.png'))

    def test_the_first_dropped_picture_opens_and_a_text_file_is_said_so_without_a_copy(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        app.drag([(vx + 20, vy + 30), (vx + 120, vy + 30)], pace=0)
        app.wait_title(b' *  [')
        notes = os.path.join(app.folder, 'notes.txt')
        with open(notes, 'w') as f:
            f.write('not a picture')
        app.probe('drop', windows_path(notes))
        self.assertEqual(bytes.fromhex(app.wait_box()['text_hex']),
                         windows_path(notes).encode() + OPEN_FAILED)
        app.key('Return')
        app.wait_box(present=False)
        self.assertEqual(self.pictures(app), [])
        self.assertIn(b' *  [', app.title())
        self.assertEqual(app.wait_pixels([(vx + 70, vy + 30)], [INK], name='after-text.shot.png'),
                         [INK])

        first, second = (os.path.join(app.folder, n) for n in ('first.PNG', 'second.png'))
        subprocess.run([CONVERT, '-size', '120x80', 'xc:white', '-fill', 'black', '-draw',
                        'rectangle 10,10 29,19', '-type', 'bilevel', 'PNG8:' + first],
                       check=True, timeout=60)
        subprocess.run([CONVERT, first, '-define', 'png:bit-depth=1', 'PNG8:' + first],
                       check=True, timeout=60)
        os.link(first, second)
        app.probe('drop', *(windows_path(p) for p in (first, second, notes)))
        self.assertNotIn(b' *', app.wait_title(b'first.PNG  ['))
        saved = [f for f in self.pictures(app) if f not in ('first.PNG', 'second.png')]
        self.assertEqual(len(saved), 1, saved)  # the automatic save of the drawing
        self.assertEqual(app.pixel(os.path.join(app.folder, saved[0]), 70, 30), INK)
        vx, vy, _, _ = app.window()['view']
        points = [(vx + 15, vy + 15), (vx + 60, vy + 40)]
        self.assertEqual(app.wait_pixels(points, [INK, PAPER], name='first.shot.png'),
                         [INK, PAPER])
        app.key('alt+F4')
        self.assertExitsWith(app, 0)
