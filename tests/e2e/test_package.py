"""The download as a user gets it (made by scripts/package.sh): one folder in the zip with the
program and its three texts, the checksum beside it, the executable's version resource and
manifest, and the program unpacked into a folder whose path has Japanese characters and a space:
it starts from there, keeps tenmark.ini and its automatic save beside itself, and opens a
picture from a folder with a Japanese name.

The zip is TENMARK_PACKAGE, or the one in BUILD/dist beside BUILD/mingw/tenmark.exe, where the
test command's package stage leaves it."""
import glob
import hashlib
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

from e2e_case import E2ECase
from wine_session import CONVERT, INK, App, new_workdir, wait_until, windows_path

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(TOP, 'scripts'))
from pe_resources import RT_MANIFEST, RT_VERSION, PEFile, find, version_info  # noqa: E402

DEPS = os.environ.get('TENMARK_DEPS', '/opt/tenmark-deps')
TIMESTAMP_PNG = re.compile(r'^\d{8}_\d{6}\.png$')
JAPANESE = 0x0411
UNICODE = 1200


def texts():
    table = {}
    with open(os.path.join(TOP, 'src', 'resources', 'texts.txt'), encoding='utf-8') as f:
        for line in f:
            name, tab, text = line.rstrip('\n').partition('\t')
            if tab and not name.startswith('#'):
                table[name] = text
    return table


def expected_version():
    """'1.4.4c' and '1.4.4.3' from the version text 'Tenmark 1.4.4c'."""
    label = texts()['VersionText'].split()[-1]
    numbers, letter = re.fullmatch(r'(\d+\.\d+\.\d+)([a-z]?)', label).groups()
    return label, '%s.%d' % (numbers, ord(letter) - ord('a') + 1 if letter else 0)


def dpkg_version(package):
    return subprocess.run(['dpkg-query', '-W', '-f=${Version}', package], capture_output=True,
                          text=True, check=True).stdout


def key_name(code):
    """The name the program gives the default bindings (letters, digits, Space, Ctrl)."""
    key = code & 0xFF
    parts = [{0x20: 'SPACE'}.get(key, chr(key))] if key else []
    for flag, modifier in ((0x8000, 'Ctrl'), (0x4000, 'Shift'), (0x2000, 'Alt')):
        if code & flag:
            parts.insert(0, modifier)
    return '+'.join(parts)


class PackageTest(E2ECase):
    def setUp(self):
        super().setUp()
        self.zip = os.environ.get('TENMARK_PACKAGE')
        if not self.zip:
            build = os.path.dirname(os.path.dirname(self.exe))
            found = glob.glob(os.path.join(build, 'dist', 'tenmark-*-win64.zip'))
            self.zip = found[0] if len(found) == 1 else None
        if not self.zip:
            self.skipTest('no package: run scripts/package.sh and set TENMARK_PACKAGE')
        self.label, self.number = expected_version()
        self.folder = 'tenmark-%s' % self.label

    def member(self, name):
        with zipfile.ZipFile(self.zip) as z:
            return z.read('%s/%s' % (self.folder, name))

    def text(self, name):
        data = self.member(name)
        self.assertNotIn(b'\n', data.replace(b'\r\n', b''), '%s has bare line feeds' % name)
        return data.decode('utf-8')

    def test_zip_holds_one_folder_with_the_program_and_its_texts_and_its_checksum(self):
        self.assertEqual(os.path.basename(self.zip), 'tenmark-%s-win64.zip' % self.label)
        with zipfile.ZipFile(self.zip) as z:
            entries = z.infolist()
        self.assertEqual([e.filename for e in entries],
                         [self.folder + '/'] + ['%s/%s' % (self.folder, name) for name in
                                                ('LICENSE.txt', 'README.txt', 'THIRD-PARTY.txt',
                                                 'tenmark.exe')])
        self.assertEqual(len({e.date_time for e in entries}), 1)
        with open(self.zip, 'rb') as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        with open(self.zip + '.sha256', encoding='ascii') as f:
            self.assertEqual(f.read(), '%s  %s\n' % (digest, os.path.basename(self.zip)))

    def test_executable_has_its_version_resource_and_manifest_and_no_time_stamp(self):
        exe = os.path.join(new_workdir(self.root, 'resources'), 'tenmark.exe')
        with open(exe, 'wb') as f:
            f.write(self.member('tenmark.exe'))
        pe = PEFile(exe)
        self.assertEqual(pe.timestamp, 0)
        resources = pe.resources()

        (language, data), = find(resources, RT_VERSION)
        self.assertEqual(language, JAPANESE)
        info = version_info(data)
        self.assertEqual((info['file_version'], info['product_version']),
                         (self.number, self.number))
        self.assertEqual(info['translations'], [[JAPANESE, UNICODE]])
        self.assertEqual(list(info['strings']), ['041104B0'])
        strings = info['strings']['041104B0']
        copyright_line = strings.pop('LegalCopyright')
        self.assertTrue(strings.pop('FileDescription'))
        self.assertEqual(strings, {'CompanyName': 'Tenmark developers',
                                   'FileVersion': self.label, 'InternalName': 'tenmark',
                                   'OriginalFilename': 'tenmark.exe', 'ProductName': 'Tenmark',
                                   'ProductVersion': self.label})
        # The copyright line is the one the About box shows.
        (_, about), = find(resources, 5, 100)
        self.assertIn(copyright_line.encode('utf-16-le') + b'\0\0', about)
        self.assertIn('Tenmark developers', copyright_line)

        # The manifest is the resource script's, with the version filled in.
        (language, data), = find(resources, RT_MANIFEST, 1)
        self.assertEqual(language, 0)
        with open(os.path.join(TOP, 'src', 'resources', 'tenmark.manifest.in'),
                  encoding='utf-8') as f:
            template = f.read().replace('@TENMARK_VERSION_NUMBER@', self.number)
        template = template.replace('@TENMARK_VERSION_TEXT@', texts()['VersionText'])
        self.assertEqual(ET.canonicalize(data.decode('utf-8'), strip_text=True),
                         ET.canonicalize(template, strip_text=True))

    def test_readme_license_and_third_party_list(self):
        readme = self.text('README.txt')
        self.assertTrue(readme.startswith('\ufeff'), 'README.txt has no byte-order mark')
        japanese, english = readme.index('■ Tenmark について'), readme.index('■ About Tenmark')
        self.assertLess(japanese, english)
        for part in (readme[:english], readme[english:]):  # this version's folder and its ini
            self.assertIn(self.folder, part)
            self.assertIn('tenmark.ini', part)

        license_text = self.text('LICENSE.txt')
        self.assertTrue(license_text.startswith('MIT License'))
        self.assertIn('Tenmark developers', license_text)
        self.assertIn('THE SOFTWARE IS PROVIDED "AS IS"', license_text)

        third = self.text('THIRD-PARTY.txt')
        with open(os.path.join(DEPS, 'libpng-mingw', 'VERSION'), encoding='utf-8') as f:
            libpng = f.read().strip()
        libgcc = subprocess.run(['x86_64-w64-mingw32-gcc', '-print-libgcc-file-name'],
                                capture_output=True, text=True, check=True).stdout.strip()
        gcc = subprocess.run(['dpkg-query', '-S', os.path.realpath(libgcc)], capture_output=True,
                             text=True, check=True).stdout.split(':')[0]
        for package in ('libz-mingw-w64-dev', 'mingw-w64-x86-64-dev', gcc):
            self.assertIn('%s %s' % (package, dpkg_version(package)), third)
        self.assertIn('libpng1.6 %s' % libpng, third)
        for licence in ('PNG Reference Library License', 'GCC RUNTIME LIBRARY EXCEPTION',
                        'Jean-loup Gailly', 'mingw-w64'):
            self.assertIn(licence, third)

    def readme_keys(self, settings):
        """Every default binding the program wrote is in README.txt with its command's name."""
        readme = self.text('README.txt')
        japanese = readme[:readme.index('■ About Tenmark')]
        names = texts()
        listed = 0
        for key, value in settings.items():
            if not key.startswith('dw_Key_') or int(value) == 0:
                continue
            command = key[len('dw_Key_'):]
            line = '\r\n  %s ' % key_name(int(value) & 0xFFFFFFFF)
            self.assertRegex(japanese, re.escape(line) + r' *' +
                             re.escape(names['CommandName' + command]), command)
            self.assertIn(line, readme[len(japanese):], command)
            listed += 1
        self.assertGreater(listed, 10)

    def test_runs_from_a_japanese_folder_and_keeps_its_files_beside_itself(self):
        place = os.path.join(new_workdir(self.root, 'unpacked'), 'お絵かき 道具')
        with zipfile.ZipFile(self.zip) as z:
            z.extractall(place)
        folder = os.path.join(place, self.folder)
        app = App(self.exe, self.probe, self.prefix, folder, copy_exe=False)
        self.apps.append(app)
        vx, vy, _, _ = app.wait_window()['view']
        app.drag([(vx + 20 + 10 * i, vy + 30) for i in range(11)])
        app.wait_title(b' *')
        app.key('Escape')
        self.assertExitsWith(app, 0)

        with open(os.path.join(folder, 'tenmark.ini'), 'rb') as f:
            settings = dict(line.split('=', 1) for line in f.read().decode('cp932').split('\r\n')
                            if '=' in line)
        self.assertEqual(settings['s_save_dir'], windows_path(folder) + '\\')
        saved = [name for name in os.listdir(folder) if TIMESTAMP_PNG.match(name)]
        self.assertEqual(len(saved), 1, os.listdir(folder))
        self.assertEqual(App.pixel(os.path.join(folder, saved[0]), 70, 30), INK)
        self.readme_keys(settings)

        # A picture in a folder with a Japanese name, itself named with a character whose second
        # Shift-JIS byte is a backslash, opened from the command line. (The program then names
        # the document after the time, as at every start.)
        pictures = os.path.join(os.path.dirname(place), '線画 フォルダ')
        os.makedirs(pictures)
        picture = os.path.join(pictures, '表紙.bmp')
        subprocess.run([CONVERT, '-size', '400x300', 'xc:white', '-fill', 'black', '-draw',
                        'rectangle 10,10 29,19', '-type', 'bilevel', 'BMP3:' + picture],
                       check=True, timeout=60)
        app.close()
        second = App(self.exe, self.probe, self.prefix, folder, args=[windows_path(picture)],
                     copy_exe=False)
        self.apps.append(second)
        vx, vy, vw, _ = second.wait_window()['view']
        self.assertEqual(vw, 400)
        shot = os.path.join(os.path.dirname(place), 'opened.png')
        # The rectangle stands out from the rest of the picture once it is painted.
        wait_until(lambda: len(set(second.colours(shot, [(vx + 15, vy + 15),
                                                         (vx + 60, vy + 40)]))) == 2,
                   what='the opened picture')
        second.focus()
        second.key('Escape')
        self.assertExitsWith(second, 0)
        # Nothing changed, so nothing more was saved.
        self.assertEqual(sorted(os.listdir(folder)),
                         sorted(['LICENSE.txt', 'README.txt', 'THIRD-PARTY.txt', 'tenmark.exe',
                                 'tenmark.ini', saved[0]]))
