#!/usr/bin/env python3
"""A benchmark, not a test: the CPU the tool uses while it sits idle under Wine.

  tests/keyboard/idle_cpu.py [--exe build/win64/app/zelvane.exe] [--seconds 60] [--settle 10]

Makes its own Wine environment (fresh prefix, Xvfb, code page 936: tests/tools/wine_env.py),
starts the tool, lets it settle, then reads the CPU time of the tool's Wine process and of the
prefix's wineserver from /proc/<pid>/stat at the start and the end of the window and prints
each as a share of one core. Nobody touches the keyboard meanwhile: what is left is the
hotkey poll's timer ticks and whatever else the idle program does.
"""
import argparse
import os
import shutil
import sys
import tempfile
import time

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(TOP, "tests", "tools"))
import wine_env  # noqa: E402

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """utime + stime of a process, in seconds; None once it is gone."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as f:
            stat = f.read().decode("latin-1")
    except OSError:
        return None
    fields = stat[stat.rindex(")") + 2:].split()  # the name may hold spaces
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND


def processes_of_prefix(prefix):
    """(pid, command line) of every process whose environment names this Wine prefix."""
    wanted = ("WINEPREFIX=" + prefix).encode()
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/environ", "rb") as f:
                if wanted not in f.read().split(b"\0"):
                    continue
            with open(f"/proc/{name}/cmdline", "rb") as f:
                cmdline = f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
        except OSError:
            continue
        found.append((int(name), cmdline))
    return found


def find(processes, needle):
    for pid, cmdline in processes:
        if needle.lower() in cmdline.lower():
            return pid
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", default=os.path.join(TOP, "build", "win64", "app", "zelvane.exe"))
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--settle", type=float, default=10)
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    name = os.path.basename(exe)

    state = tempfile.mkdtemp(prefix="zt_idle_cpu.")
    try:
        wine_env.setup(state)
        env = wine_env.WineEnv.load(state)
        env.start([exe])
        time.sleep(args.settle)  # start-up work is not idle time
        processes = processes_of_prefix(env.prefix)
        tool = find(processes, name)
        server = find(processes, "wineserver")
        if tool is None:
            print(f"idle_cpu: no process of {name} found in the prefix", file=sys.stderr)
            return 1
        watched = {name: tool, "wineserver": server}
        start = {label: cpu_seconds(pid) for label, pid in watched.items() if pid}
        t0 = time.monotonic()
        time.sleep(args.seconds)
        elapsed = time.monotonic() - t0
        end = {label: cpu_seconds(pid) for label, pid in watched.items() if pid}
        print(f"idle CPU of {exe} over {elapsed:.0f} s (share of one core):")
        for label in start:
            if start[label] is None or end.get(label) is None:
                print(f"  {label:12s} ended during the measurement")
                continue
            used = end[label] - start[label]
            print(f"  {label:12s} {100.0 * used / elapsed:6.2f} %   ({used:.2f} s of CPU)")
        env.stop_all()
        return 0
    finally:
        wine_env.cleanup(state, quiet=True)
        shutil.rmtree(state, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
