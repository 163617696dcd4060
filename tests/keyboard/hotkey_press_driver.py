#!/usr/bin/env python3
"""Presses keys from outside (xdotool on the test display) at a probe program that registers
F2, F3 and F4 with the hotkey registry, and checks what the probe recorded.

usage: hotkey_press_driver.py PROBE_EXE
"""
import os
import sys
import tempfile
import time

_TOOLS = (os.path.dirname(os.environ["ZT_WINE_ENV"]) if "ZT_WINE_ENV" in os.environ
          else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
sys.path.insert(0, _TOOLS)
from wine_env import WineEnv  # noqa: E402

SETTLE = 0.4  # several 10 ms ticks, and time for a worker thread to write its line


def read_lines(path):
    try:
        with open(path, encoding="utf-8") as f:
            return [line.strip() for line in f if line.strip()]
    except FileNotFoundError:
        return []


def wait_for(path, predicate, timeout=60.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        lines = read_lines(path)
        if predicate(lines):
            return lines
        time.sleep(0.05)
    raise AssertionError(f"timed out; the probe wrote: {read_lines(path)}")


def fired(lines, name):
    return [line for line in lines if line.startswith(f"fire {name} ")]


class Checks:
    def __init__(self, out):
        self.out = out
        self.failures = []

    def expect_count(self, name, count, what):
        time.sleep(SETTLE)
        got = fired(read_lines(self.out), name)
        status = "ok" if len(got) == count else "FAILED"
        print(f"[{status}] {what}: {name} fired {len(got)} time(s), expected {count}", flush=True)
        if len(got) != count:
            self.failures.append(what)
        return got


def main(argv):
    probe = argv[1]
    env = WineEnv.from_environment()
    work = tempfile.mkdtemp(prefix="zt_hotkey_")
    out = os.path.join(work, "events.txt")
    try:
        env.start([probe, "Z:" + out])
        ready = wait_for(out, lambda lines: any(l.startswith("ready") for l in lines))
        print(ready[0], flush=True)
        env.xdotool("mousemove", 640, 400)
        check = Checks(out)

        def hold(*keys, seconds=0.3):
            for key in keys:
                env.xdotool("keydown", key)
                time.sleep(0.05)
            time.sleep(seconds)
            for key in reversed(keys):
                env.xdotool("keyup", key)
                time.sleep(0.05)

        hold("F2")
        lines = check.expect_count("F2", 1, "holding F2 fires once")
        if lines and lines[0] != "fire F2 id=1000001 thread=worker":
            check.failures.append(f"first F2 firing reads {lines[0]!r}")
        hold("F2")
        check.expect_count("F2", 2, "the next press fires again")
        hold("Shift_L", "F2")
        check.expect_count("F2", 2, "Shift+F2 does not fire")

        env.xdotool("keydown", "Shift_L")
        time.sleep(0.05)
        env.xdotool("keydown", "F2")
        time.sleep(0.2)
        env.xdotool("keyup", "Shift_L")
        time.sleep(0.3)
        env.xdotool("keyup", "F2")
        check.expect_count("F2", 2, "letting Shift go while F2 is held does not fire")
        hold("F2")
        check.expect_count("F2", 3, "a plain press after that fires")

        hold("F3")
        lines = check.expect_count("F3", 1, "the synchronous hotkey F3 fires once")
        if lines and lines[0] != "fire F3 id=1000002 message=0 thread=gui":
            check.failures.append(f"F3 firing reads {lines[0]!r}")

        env.xdotool("keydown", "F4")
        check.expect_count("F4up", 0, "the release-triggered F4 waits while held")
        env.xdotool("keyup", "F4")
        check.expect_count("F4up", 1, "the release-triggered F4 fires on release")

        open(out + ".release", "w").close()
        wait_for(out, lambda lines: "released" in lines)
        hold("F2")
        hold("F3")
        check.expect_count("F2", 3, "after the exit clean-up F2 no longer fires")
        check.expect_count("F3", 1, "after the exit clean-up F3 no longer fires")

        open(out + ".quit", "w").close()
        wait_for(out, lambda lines: "quit" in lines, timeout=30)
        print("[ok] the probe's loop ran on after the clean-up and ended normally", flush=True)
        if check.failures:
            print("failures:", *check.failures, sep="\n  ")
            return 1
        return 0
    finally:
        env.stop_all()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
