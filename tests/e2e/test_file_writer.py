"""The Win32 file writer under Wine: it replaces a file whole, refuses a read-only one, leaves no
temporary file when its process is ended mid-save, removes one that a save cut short left
behind but never one in use, and writes a target near the path limit."""
import os
import subprocess

from e2e_case import E2ECase
from wine_session import Display, base_env, new_workdir, windows_path

OLD = b'old picture'


def unix_path(path):
    return path[2:].replace('\\', '/')


class FileWriterTest(E2ECase):
    def setUp(self):
        super().setUp()
        self.folder = new_workdir(self.root, self.id().split('.')[-1])
        self.target = os.path.join(self.folder, 'a.png')
        with open(self.target, 'wb') as f:
            f.write(OLD)

    def write(self, text, *mode):
        """Runs the writer on the target; its output lines."""
        checker = os.path.join(os.path.dirname(self.probe), 'tenmark_file_check.exe')
        env = base_env(self.prefix)
        with Display() as display:
            env['DISPLAY'] = display.name
            out = subprocess.run(['wine', checker, windows_path(self.target), text] + list(mode),
                                 env=env, capture_output=True, timeout=120, check=False).stdout
            subprocess.run(['wineserver', '-k'], env=env, timeout=60, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(['wineserver', '-w'], env=env, timeout=60, check=False)
        return out.decode('ascii', 'replace').split()

    def content(self, path):
        if not os.path.exists(path):
            return None
        with open(path, 'rb') as f:
            return f.read()

    def test_replaces_the_file_and_leaves_nothing_else(self):
        self.assertEqual(self.write('new'), ['saved'])
        self.assertEqual(self.content(self.target), b'new')
        self.assertEqual(os.listdir(self.folder), ['a.png'])

    def test_a_target_near_the_path_limit_is_written(self):
        # 252 characters as Windows sees the path: a temporary name any longer than the
        # target's would pass the limit of the ANSI file calls.
        name = 'n' * (252 - len(windows_path(self.folder)) - 5) + '.png'
        self.target = os.path.join(self.folder, name)
        self.assertEqual(len(windows_path(self.target)), 252)
        self.assertEqual(self.write('new'), ['saved'])
        self.assertEqual(self.content(self.target), b'new')
        self.assertEqual(sorted(os.listdir(self.folder)), sorted(['a.png', name]))

    def test_read_only_file_is_refused_and_kept(self):
        os.chmod(self.target, 0o444)
        self.assertEqual(self.write('new'), ['refused'])
        self.assertEqual(self.content(self.target), OLD)
        self.assertEqual(os.listdir(self.folder), ['a.png'])

    def test_a_save_ended_with_its_process_leaves_no_temporary(self):
        self.assertEqual(self.write('new', 'die'), [])
        self.assertEqual(self.content(self.target), OLD)
        self.assertEqual(os.listdir(self.folder), ['a.png'])

    def test_a_leftover_temporary_goes_and_one_in_use_stays(self):
        out = self.write('new', 'occupy')
        self.assertEqual(out[-1], 'saved')
        files = dict(line.split('=', 1) for line in out[:-1])
        self.assertEqual(self.content(unix_path(files['occupied'])), b"someone else's")
        self.assertIsNone(self.content(unix_path(files['leftover'])))
        self.assertEqual(self.content(self.target), b'new')
        self.assertEqual(len(os.listdir(self.folder)), 2)
