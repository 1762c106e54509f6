"""A move to a monitor of another scale, as the system announces it to a program aware of every
monitor's scale (Wine never does: the scripted tablet driver sends the message from inside the
process): the window takes the suggested rectangle, the canvas stays 1:1 at its zoom, the
cursors come at the new size, and the About box's link is made at the new scale."""
import ctypes
import os
import shutil

from e2e_case import E2ECase
from wine_session import INK, PAPER, wait_until, windows_path


class CursorImage(ctypes.Structure):
    _fields_ = [('x', ctypes.c_short), ('y', ctypes.c_short), ('width', ctypes.c_ushort),
                ('height', ctypes.c_ushort), ('xhot', ctypes.c_ushort), ('yhot', ctypes.c_ushort),
                ('serial', ctypes.c_ulong), ('pixels', ctypes.c_void_p), ('atom', ctypes.c_ulong),
                ('name', ctypes.c_char_p)]


def cursor_on(display):
    """Width, height and hot spot of the cursor the X server shows."""
    x11, xfixes = ctypes.CDLL('libX11.so.6'), ctypes.CDLL('libXfixes.so.3')
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    try:
        image = xfixes.XFixesGetCursorImage(connection).contents
        return image.width, image.height, image.xhot, image.yhot
    finally:
        x11.XCloseDisplay(connection)


class DisplayScaleTest(E2ECase):
    def test_a_new_scale_keeps_the_canvas_and_remakes_the_cursors_and_the_link(self):
        app = self.launch(start=False)
        script, log = (os.path.join(app.folder, name) for name in ('packets.txt', 'wintab.log'))
        shutil.copy(self.wintab, app.folder)
        app.env['WINEDLLOVERRIDES'] += ';wintab32=n'
        app.env['TENMARK_WINTAB_SCRIPT'] = windows_path(script)
        app.env['TENMARK_WINTAB_LOG'] = windows_path(log)
        app.start()

        def play(*lines):
            with open(script + '.tmp', 'w') as f:
                f.write('\n'.join(lines) + '\n')
            os.replace(script + '.tmp', script)
            wait_until(lambda: os.path.exists(script + '.played'), 60, 'the played script')
            os.remove(script + '.played')

        def over_canvas(dx, dy):
            vx, vy, _, _ = app.window()['view']
            app.xdotool('mousemove', vx + dx, vy + dy, 'sleep', '0.2')
            return vx + dx, vy + dy

        title = app.wait_window()['title_hex']
        over_canvas(50, 50)
        wait_until(lambda: cursor_on(app.display.name) == (32, 32, 0, 1), 20, 'the 32-pixel pen')
        play('dpi 144 100 20 740 560')
        self.assertEqual(app.window()['window'], (100, 20, 640, 540))
        self.assertEqual(app.window()['title_hex'], title)  # the zoom as it was
        # The pen at 48 pixels, its hot spot on the tip; a stroke lands under the pointer, pixel
        # for pixel, so the canvas is still 1:1.
        x, y = over_canvas(60, 70)
        wait_until(lambda: cursor_on(app.display.name) == (48, 48, 0, 1), 20, 'the 48-pixel pen')
        app.drag([(x, y), (x + 40, y)])
        # x + 40 is left out: whether a line inks its last point is the stroke's rule.
        points, want = [(x, y), (x + 39, y), (x + 41, y), (x, y + 1)], [INK, INK, PAPER, PAPER]
        self.assertEqual(app.wait_pixels(points, want), want)
        cx, cy, _, _ = app.window()['client']
        app.click(cx + 20, cy - 10)
        app.key('Left', 'Left', 'Return')
        app.wait_dialog(1019)
        # The box opens at the scale Wine gives every window; 12 pixels at 96 DPI.
        play('font 1019', 'dpi 192 300 100 900 500', 'font 1019')
        with open(log) as f:
            self.assertEqual([line for line in f.read().splitlines() if line.startswith('font')],
                             ['font 1019 12', 'font 1019 24'])
        app.key('Return')
        app.wait_dialog(present=False)
