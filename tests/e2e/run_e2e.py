#!/usr/bin/env python3
"""Runs every end-to-end test (tests/e2e/test_*.py) against a built tenmark.exe under Wine.

usage: run_e2e.py TENMARK_EXE PROBE_EXE [pattern]
Ends with the line "e2e: N passed, N failed" and a non-zero exit code on any failure.
"""
import os
import shutil
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2e_case import E2ECase  # noqa: E402
from wine_session import prepare_prefix  # noqa: E402


class TimedResult(unittest.TextTestResult):
    """Prints each test's time after its verdict, so that slow tests stand out in the log, and
    names the step of a scenario in which a failure came."""

    def startTest(self, test):
        self.started = time.monotonic()
        super().startTest(test)

    def stopTest(self, test):
        super().stopTest(test)
        self.stream.writeln('   (%.1f s)' % (time.monotonic() - self.started))
        self.stream.flush()

    def in_step(self, test, err):
        step = getattr(test, 'current', None)
        return (AssertionError, AssertionError('in step "%s": %s: %s' % (
            step, err[0].__name__, err[1])), err[2]) if step else err

    def addFailure(self, test, err):
        super().addFailure(test, self.in_step(test, err))

    def addError(self, test, err):
        super().addError(test, self.in_step(test, err))


def main():
    exe, probe = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    pattern = sys.argv[3] if len(sys.argv) > 3 else 'test_*.py'
    root = tempfile.mkdtemp(prefix='tenmark-e2e-')
    print('e2e: preparing a Wine prefix in %s' % root, flush=True)
    E2ECase.exe, E2ECase.probe, E2ECase.root = exe, probe, root
    # The scripted tablet driver is built beside the probe.
    E2ECase.wintab = os.path.join(os.path.dirname(os.path.dirname(probe)), 'wintab',
                                  'Wintab32.dll')
    E2ECase.prefix = prepare_prefix(root)
    suite = unittest.defaultTestLoader.discover(os.path.dirname(os.path.abspath(__file__)),
                                                pattern=pattern)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout,
                                     resultclass=TimedResult).run(suite)
    failed = len(result.failures) + len(result.errors)
    passed = result.testsRun - failed - len(result.skipped)
    if failed:
        print('e2e: screenshots and files are kept in %s' % root)
    else:
        shutil.rmtree(root, ignore_errors=True)
    print('e2e: %d passed, %d failed' % (passed, failed))
    return 1 if failed or result.testsRun == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
