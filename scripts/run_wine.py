#!/usr/bin/env python3
"""Starts tenmark.exe under Wine in a prefix of its own (Japanese locale and fonts).

usage: run_wine.py TENMARK_EXE PROBE_EXE STATE_DIR [args for tenmark.exe]
With $DISPLAY set, the program runs there until the user closes it. Without one it runs on a
virtual display; a screenshot of its window is written to STATE_DIR/screenshot.png and the
program is then closed with Escape.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'e2e'))

from wine_session import App, base_env, prepare_prefix  # noqa: E402


def prefix_in(state):
    prefix = os.path.join(state, 'prefix')
    if not os.path.exists(os.path.join(prefix, 'system.reg')):
        os.makedirs(state, exist_ok=True)
        print('run: preparing a Wine prefix in %s' % prefix, flush=True)
        prepare_prefix(state)
    return prefix


def main():
    exe, probe, state, args = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    prefix = prefix_in(os.path.abspath(state))
    if os.environ.get('DISPLAY'):
        os.execvpe('wine', ['wine', exe] + args, base_env(prefix))
    app = App(exe, probe, prefix, os.path.dirname(os.path.abspath(exe)), args=args,
              copy_exe=False)
    try:
        app.wait_window()
        shot = app.screenshot(os.path.join(os.path.abspath(state), 'screenshot.png'))
        print('run: no $DISPLAY: tenmark.exe ran on a virtual display; screenshot: %s' % shot)
        app.focus()
        app.key('Escape')
        code = app.wait_exit(30)
        print('run: tenmark.exe ended with exit code %s' % code)
        return 0 if code == 0 else 1
    finally:
        app.close()


if __name__ == '__main__':
    sys.exit(main())
