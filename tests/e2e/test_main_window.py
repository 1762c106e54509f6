"""The main window closes through every way a user has, and Enter does not close it; at 144 and
192 DPI, where the default canvas is taller than the screen, the first start and the fit (R) of a
window low on the screen keep the whole window in the work area."""
from e2e_case import E2ECase
from wine_session import wait_until

ZOOM_125 = '倍率:125%'.encode('cp932')


class MainWindowTest(E2ECase):
    def test_enter_does_not_close_the_window_and_escape_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        # Keys are handled in order: once the zoom key after them shows, Enter has been handled.
        app.key('Return', 'KP_Enter', '1')
        app.wait_title(ZOOM_125)
        self.assertIsNone(app.process.poll())
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_close_box_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        info = app.wait_window()
        x, y, w, _ = info['window']
        client_top = info['client'][1]
        menu_height = 20
        caption_mid = y + (client_top - menu_height - y) // 2
        app.click(x + w - 12, caption_mid)
        self.assertExitsWith(app, 0)

    def test_exit_menu_item_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        info = app.wait_window()
        cx, cy, _, _ = info['client']
        app.click(cx + 20, cy - 10)  # the File menu on the menu bar
        app.key('Up', 'Return')      # its last item is the exit item
        self.assertExitsWith(app, 0)

    def test_alt_f4_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('alt+F4')
        self.assertExitsWith(app, 0)

    def assertInWorkArea(self, rect, work, what):
        x, y, w, h = rect
        wx, wy, ww, wh = work
        self.assertTrue(wx <= x and wy <= y and x + w <= wx + ww and y + h <= wy + wh,
                        '%s: window %s, work area %s' % (what, rect, work))

    def test_the_first_start_and_the_fit_keep_the_window_in_the_work_area(self):
        for dpi in (144, 192):
            with self.dpi(dpi):
                first = self.launch()
                info = first.wait_window()
                work = info['work']
                self.assertInWorkArea(info['window'], work, 'first start at %d DPI' % dpi)
                first.focus()
                first.key('Escape')
                self.assertExitsWith(first, 0)
                first.close()  # the next start brings up its own Wine on its own display
                kept = dict(line.split(b'=', 1) for line in self.ini(first).split(b'\r\n')
                            if b'=' in line)
                self.assertInWorkArea(tuple(int(kept[k]) for k in (
                    b'n_xpos', b'n_ypos', b'n_xsize', b'n_ysize')), work, 'stored at %d DPI' % dpi)
                low = self.launch_configured({'n_xpos': '100', 'n_ypos': str(work[3] - 250),
                                              'n_xsize': '300', 'n_ysize': '200'})
                before = low.wait_window()['window']
                low.focus()
                low.key('r')
                after = wait_until(lambda: (lambda w: w if w != before else None)(
                    low.window()['window']), what='the fitted window')
                self.assertInWorkArea(after, work, 'R at %d DPI' % dpi)
                self.assertGreater(after[3], before[3])
