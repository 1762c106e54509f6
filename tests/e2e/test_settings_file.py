"""tenmark.ini beside the executable: written whole at exit; read at start-up, also when the
program is started by its bare name, every value surviving a run; written at the end of the
session. (What each key reads as, its defaults and the file's order are the settings unit
tests'.)"""
import os

from e2e_case import E2ECase, ini_values
from wine_session import windows_path

UNUSUAL = dict(n_canvas_x=300, n_canvas_y=200, n_back_color=16777215, n_pen_color=255,
               n_save_img=0, n_save_type=1, n_alpha=100, n_pen_size=5, n_erase_size=30,
               n_clnt_color=65280, b_ClientDef=1, n_xpos=40, n_ypos=30, n_xsize=600,
               n_ysize=500, b_Maximized=1, b_PenPressure=1, n_PenHardness=0, b_IgnoreTabXY=0,
               dw_Key_Clear=-2147483565, dw_Key_SaveAs=0x2000 | 0x53,
               dw_Key_Brush_P=0x800)  # a right click makes the pen larger


def with_values(data, values):
    """The file's lines with these keys' values replaced, in the file's own order."""
    lines = data.decode('cp932').split('\r\n')
    return '\r\n'.join('%s=%s' % (line.split('=')[0], values[line.split('=')[0]])
                       if line.split('=')[0] in values else line for line in lines).encode('cp932')


class SettingsFileTest(E2ECase):
    def test_tenmark_ini_beside_the_executable(self):
        folder = self.folder()
        self.step('the first run writes the whole file at exit, its folder as the save folder')
        app = self.launch(folder=folder)
        work = app.window()['work']
        self.leave()
        written = self.ini()
        values = ini_values(written)
        self.assertEqual((values['s_save_dir'], values['n_canvas_x'], values['n_canvas_y']),
                         (windows_path(folder) + '\\', '668', '668'))  # the screen less 100
        self.assertEqual(written.count(b'\n'), written.count(b'\r\n'))
        self.assertNotIn(b'\r\n\r\n\r\n', written)
        x, y, w, h = (int(values[k]) for k in ('n_xpos', 'n_ypos', 'n_xsize', 'n_ysize'))
        self.assertTrue(0 <= x and 0 <= y and x + w <= work[2] and y + h <= work[3], values)
        self.assertEqual(sorted(os.listdir(folder)), ['tenmark.exe', 'tenmark.ini'])

        self.step('started by its bare name, it finds every stored value (maximized, the pen)')
        prepared = with_values(written, UNUSUAL)
        app = self.launch(files={'tenmark.ini': prepared}, folder=folder, bare_name=True)
        self.assertEqual(app.window()['maximized'], '1')
        self.assertIn('  ペン:5  ', app.title())
        self.assertEqual(app.facts('message').get('found'), '0')  # the save folder exists
        self.step('a right click runs its binding; the end of the session writes the file')
        vx, vy, vw, vh = app.window()['view']
        app.click(vx + vw // 2, vy + vh // 2, button=3)
        app.wait_title('  ペン:6  ')
        self.assertEqual(app.facts('endsession')['agreed'], '1')
        self.assertExitsWith(0)
        self.assertEqual(self.ini(), with_values(prepared, {'n_pen_size': 6}))
