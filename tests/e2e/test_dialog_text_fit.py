"""No label of the three dialogs is cut: every static text, check box, radio button, push button
and group box of the settings, shortcut-key and About dialogs, laid out from the templates in
tenmark.exe with the program's manifest, fits its control in the dialog's font at 96 and at
144 DPI (150 %); and in the running program at 144 DPI, every command name and key name of the
shortcut list fits its column."""
import os
import subprocess

from e2e_case import E2ECase
from wine_session import Display, base_env

# Wine takes the system DPI from this value when it is there (as winecfg sets it), else from
# HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts.
DPI_KEY = r'HKCU\Control Panel\Desktop'
DIALOGS = {131: 'settings', 139: 'shortcut keys', 100: 'About'}
# Labels each dialog has at least: a run that finds fewer has measured nothing.
LEAST_LABELS = {131: 25, 139: 4, 100: 5}


class DialogTextFitTest(E2ECase):
    def setUp(self):
        super().setUp()
        self.helper = os.path.join(os.path.dirname(os.path.dirname(self.probe)), 'textfit',
                                   'dialog_text_fit.exe')
        self.env = base_env(self.prefix)

    def wine(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, timeout=120,
                              check=False)

    def set_dpi(self, dpi):
        """LogPixels of the prefix, None to take the value away; the next Wine start reads it."""
        if dpi is None:
            self.wine('wine', 'reg', 'delete', DPI_KEY, '/v', 'LogPixels', '/f')
        else:
            self.wine('wine', 'reg', 'add', DPI_KEY, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d',
                      str(dpi), '/f')
        self.wine('wineserver', '-w')

    def parse(self, out, first):
        lines = out.stdout.decode('ascii', 'replace').splitlines()
        self.assertTrue(lines and lines[0].startswith(first), lines[:1])
        return [dict(field.split('=', 1) for field in line.split()) for line in lines[1:]]

    def measure(self, dpi):
        # On a loaded machine a Wine start now and then still reads the LogPixels it had before:
        # such a run measured another DPI and is made again.
        for _ in range(3):
            self.set_dpi(dpi)
            try:
                with Display() as display:
                    self.env['DISPLAY'] = display.name
                    out = self.wine('wine', self.helper, self.exe)
                    self.wine('wineserver', '-k')
                    self.wine('wineserver', '-w')
            finally:
                self.set_dpi(None)
            if out.stdout.startswith(b'dpi=%d' % dpi):
                break
        return self.parse(out, 'dpi=%d' % dpi)

    def test_every_label_fits_its_control_at_96_and_144_dpi(self):
        for dpi in (96, 144):
            labels = self.measure(dpi)
            cut = []
            for dialog, name in DIALOGS.items():
                mine = [label for label in labels if label.get('dialog') == str(dialog)]
                self.assertFalse([label for label in mine if 'created' in label],
                                 'the %s dialog could not be made at %d DPI' % (name, dpi))
                self.assertGreaterEqual(len(mine), LEAST_LABELS[dialog], name)
                cut += ['%s dialog, control %s (%s "%s"): needs %s px, has %s px' % (
                    name, label['id'], label['kind'],
                    bytes.fromhex(label['text_hex']).decode('utf-8'), label['need'],
                    label['room']) for label in mine if label['fits'] != '1']
            self.assertEqual(cut, [], 'labels cut at %d DPI' % dpi)

    def test_the_shortcut_list_shows_every_name_whole_at_144_dpi(self):
        self.set_dpi(144)
        try:
            app = self.launch()
            app.wait_window()
            app.focus()
            app.key('k')
            app.wait_dialog()
            out = subprocess.run(['wine', self.helper, '--list'], env=app.env, capture_output=True,
                                 timeout=120, check=False)
            app.close()
        finally:
            self.set_dpi(None)
        texts = self.parse(out, 'dpi=144 rows=29')
        self.assertEqual(len(texts), 2 * 29)
        cut = ['row %s, column %s "%s": needs %s px, has %s px' % (
            t['row'], t['column'], bytes.fromhex(t['text_hex']).decode('utf-8'), t['need'],
            t['room']) for t in texts if t['fits'] != '1']
        self.assertEqual(cut, [])
