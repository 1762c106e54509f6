"""The Win32 file writer under Wine, on its own: it replaces a file whole, refuses a read-only
one, leaves no temporary file when its process is ended mid-save, leaves files under its
temporary names alone, writes a target near the path limit, and, writing under a free name,
never replaces the file another program put there meanwhile."""
import os

from e2e_case import E2ECase
from wine_session import wait_until, windows_path

OLD = b'old picture'


def content(path):
    if not os.path.exists(path):
        return None
    with open(path, 'rb') as f:
        return f.read()


class FileWriterTest(E2ECase):
    def write(self, target, *mode):
        """Runs the writer on the target, with "new" as its text; its output words."""
        checker = os.path.join(os.path.dirname(self.probe), 'tenmark_file_check.exe')
        return self.app.wine(checker, windows_path(target), 'new', *mode).decode().split()

    def target(self, name='a.png'):
        """A file of old bytes in a folder of its own."""
        path = os.path.join(self.folder(), name)
        with open(path, 'wb') as f:
            f.write(OLD)
        return path, os.path.dirname(path)

    def test_the_win32_file_writer(self):
        self.step('the file is replaced whole and nothing else is left')
        target, folder = self.target()
        self.assertEqual(self.write(target), ['saved'])
        self.assertEqual((content(target), os.listdir(folder)), (b'new', ['a.png']))

        self.step('a read-only file is refused and kept')
        target, folder = self.target()
        os.chmod(target, 0o444)
        self.assertEqual(self.write(target), ['refused'])
        self.assertEqual((content(target), os.listdir(folder)), (OLD, ['a.png']))

        self.step('a save ended with its process leaves no temporary')
        target, folder = self.target()
        self.assertEqual(self.write(target, 'die'), [])
        # The Wine server closes the ended process's handles, and so deletes the temporary,
        # after `wine` has returned: the folder is watched for a while, not read once.
        wait_until(lambda: os.listdir(folder) == ['a.png'], 10, 'the temporary deleted')
        self.assertEqual(content(target), OLD)

        self.step('files under the temporary names, one in use, stay as they are')
        target, folder = self.target()
        out = self.write(target, 'occupy')
        self.assertEqual(out[-1], 'saved')
        files = {k: v[2:].replace('\\', '/') for k, v in (w.split('=', 1) for w in out[:-1])}
        self.assertEqual((content(files['occupied']), content(files['leftover'])),
                         (b"someone else's", b"someone else's"))
        self.assertEqual((content(target), len(os.listdir(folder))), (b'new', 3))

        self.step('a target near the path limit is written')
        # 252 characters as Windows sees the path: a temporary name any longer than the
        # target's would pass the limit of the ANSI file calls.
        folder = self.folder('limit')
        name = 'n' * (252 - len(windows_path(folder)) - 5) + '.png'
        target = os.path.join(folder, name)
        self.assertEqual(len(windows_path(target)), 252)
        self.assertEqual(self.write(target), ['saved'])
        self.assertEqual((content(target), os.listdir(folder)), (b'new', [name]))

        self.step('under a free name, the file another program took meanwhile is kept')
        target, folder = self.target()
        self.assertEqual(self.write(target, 'rival'), ['saved'])
        self.assertEqual([content(os.path.join(folder, n)) for n in ('a_1.png', 'a_2.png')],
                         [b'rival', b'new'])
        self.assertEqual(sorted(os.listdir(folder)), ['a.png', 'a_1.png', 'a_2.png'])
