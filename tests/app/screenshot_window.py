#!/usr/bin/env python3
"""Takes a picture of the tool's window under Wine and Xvfb.

Usage: screenshot_window.py ZELVANE_EXE INSPECTOR_EXE OUTPUT.png [STATE_DIR]

Uses the Wine environment in STATE_DIR (or $ZT_WINE_STATE); without either it sets up a
fresh one in a temporary folder (with the CJK font replacement of wine_env.py, so the
Chinese texts show) and removes it afterwards.
"""
import os
import shutil
import sys
import tempfile
import time

from tool_session import ToolSession, WineEnv
import wine_env


def main(argv):
    if len(argv) < 4:
        print(__doc__)
        return 2
    tool, inspector, output = argv[1], argv[2], os.path.abspath(argv[3])
    state = argv[4] if len(argv) > 4 else os.environ.get("ZT_WINE_STATE")
    own = None
    if not state:
        own = tempfile.mkdtemp(prefix="zt-shot-")
        state = os.path.join(own, "wine")
        wine_env.setup(state)
    env = WineEnv.load(state)
    try:
        session = ToolSession(env, tool, inspector)
        session.start()
        session.activate()
        env.xdotool("mousemove", 5, 795)  # keep the pointer off the window
        time.sleep(1.0)
        left, top, right, bottom = session.refresh()["windows"][0]["window"]
        env.screenshot(output, crop=f"{right - left}x{bottom - top}+{left}+{top}")
        print(f"wrote {output} ({right - left} x {bottom - top} at {left}, {top})")
    finally:
        env.stop_all()
        if own:
            wine_env.cleanup(state)
            shutil.rmtree(own, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
