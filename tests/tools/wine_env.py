#!/usr/bin/env python3
"""The Wine test environment: a fresh prefix, an Xvfb display and code page 936.

Command line (used by CTest):
  wine_env.py setup   STATE_DIR            make the prefix, start Xvfb unless a display is given
  wine_env.py run     STATE_DIR [--timeout S] [--locale L] -- PROGRAM [ARGS...]
                                           run one program (a .exe goes through wine64),
                                           under LC_ALL=L instead of zh_CN.UTF-8 when given
  wine_env.py cleanup STATE_DIR            end the prefix's processes and the Xvfb we started

As a module (for Python drivers of end-to-end tests):
  env = WineEnv.load(STATE_DIR)            or WineEnv.from_environment() inside a CTest test
  proc = env.start([exe, args...])         tracked; env.stop_all() ends each by its id
  env.run([...], timeout=...)              run to completion, output read from files
  env.xdotool(...), env.hold_key("F2"), env.screenshot(path, crop=None)

A display is "given" when ZT_DISPLAY is set (for example ZT_DISPLAY=:0); otherwise setup
starts its own Xvfb on a free display number and cleanup stops it.
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
SCREEN = "1280x800"


def _log(msg):
    print(f"[wine_env] {msg}", flush=True)


class WineEnv:
    def __init__(self, state_dir, info):
        self.state_dir = state_dir
        self.info = info
        self.procs = []

    # ---- construction -------------------------------------------------
    @staticmethod
    def load(state_dir):
        state_dir = os.path.abspath(state_dir)
        with open(os.path.join(state_dir, "env.json"), encoding="utf-8") as f:
            return WineEnv(state_dir, json.load(f))

    @staticmethod
    def from_environment():
        return WineEnv.load(os.environ["ZT_WINE_STATE"])

    @property
    def prefix(self):
        return self.info["prefix"]

    @property
    def display(self):
        return self.info["display"]

    def env(self, extra=None):
        e = dict(os.environ)
        e.update({
            "WINEPREFIX": self.prefix,
            "DISPLAY": self.display,
            "LC_ALL": "zh_CN.UTF-8",
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        if extra:
            e.update(extra)
        return e

    @staticmethod
    def command(argv):
        argv = list(argv)
        if argv and argv[0].lower().endswith(".exe"):
            argv = [WINE64] + argv
        return argv

    # ---- processes ----------------------------------------------------
    def start(self, argv, extra_env=None, stdout_path=None):
        """Start a program in the background; it is ended by stop_all()."""
        out = open(stdout_path or os.devnull, "wb")
        p = subprocess.Popen(self.command(argv), env=self.env(extra_env), stdout=out,
                             stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                             start_new_session=True)
        out.close()
        self.procs.append(p)
        return p

    def run(self, argv, timeout=120, extra_env=None, check=False):
        """Run to completion. Output goes through files: a Wine helper can hold a pipe open."""
        with tempfile.TemporaryFile() as out:
            p = subprocess.Popen(self.command(argv), env=self.env(extra_env), stdout=out,
                                 stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                 start_new_session=True)
            try:
                rc = p.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                _kill_group(p)
                rc = None
            out.seek(0)
            text = out.read().decode("utf-8", "replace")
        if check and rc != 0:
            raise RuntimeError(f"{argv} exited with {rc}:\n{text}")
        return rc, text

    def stop_all(self):
        for p in self.procs:
            if p.poll() is None:
                _kill_group(p)
        self.procs = []

    # ---- desktop ------------------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env(), check=True,
                       stdout=subprocess.DEVNULL)

    def hold_key(self, key, seconds=0.15):
        """Press like a person: long enough for a 10 ms poll to see the key down."""
        self.xdotool("keydown", key)
        time.sleep(seconds)
        self.xdotool("keyup", key)

    def screenshot(self, path, crop=None):
        argv = ["import", "-window", "root"]
        if crop:
            argv += ["-crop", crop, "+repage"]
        subprocess.run(argv + [path], env=self.env(), check=True)


def _kill_group(p):
    try:
        os.killpg(p.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    try:
        p.kill()
    except ProcessLookupError:
        pass
    try:
        p.wait(timeout=10)
    except subprocess.TimeoutExpired:
        pass


def _start_xvfb(state_dir):
    r, w = os.pipe()
    log = open(os.path.join(state_dir, "xvfb.log"), "wb")
    p = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", SCREEN + "x24",
                          "-nolisten", "tcp"], pass_fds=(w,), stdout=log, stderr=log,
                         stdin=subprocess.DEVNULL, start_new_session=True)
    os.close(w)
    number = b""
    deadline = time.time() + 30
    while time.time() < deadline and not number.endswith(b"\n"):
        chunk = os.read(r, 16)
        if not chunk:
            break
        number += chunk
    os.close(r)
    if not number.strip():
        p.kill()
        raise RuntimeError("Xvfb did not report a display number")
    return p.pid, ":" + number.decode().strip()


def _wine(info, argv, timeout=180):
    env = WineEnv(None, info).env()
    with tempfile.TemporaryFile() as out:
        subprocess.run(argv, env=env, stdout=out, stderr=subprocess.STDOUT,
                       stdin=subprocess.DEVNULL, timeout=timeout)


def setup(state_dir):
    state_dir = os.path.abspath(state_dir)  # Wine takes only an absolute WINEPREFIX
    cleanup(state_dir, quiet=True)
    shutil.rmtree(state_dir, ignore_errors=True)
    os.makedirs(state_dir)
    info = {"prefix": os.path.join(state_dir, "prefix"), "xvfb_pid": None}
    given = os.environ.get("ZT_DISPLAY")
    if given:
        info["display"] = given
    else:
        info["xvfb_pid"], info["display"] = _start_xvfb(state_dir)
    with open(os.path.join(state_dir, "env.json"), "w", encoding="utf-8") as f:
        json.dump(info, f)
    t0 = time.time()
    _wine(info, [WINE64, "wineboot", "-i"])
    reg = [
        # One virtual desktop at the display's origin: frames, reliable activation.
        ["HKCU\\Software\\Wine\\Explorer", "Desktop", "Default"],
        ["HKCU\\Software\\Wine\\Explorer\\Desktops", "Default", SCREEN],
        # The window's font face is not on Linux; draw it with the installed CJK font.
        ["HKCU\\Software\\Wine\\Fonts\\Replacements", "微软雅黑", "WenQuanYi Micro Hei"],
    ]
    for key, name, value in reg:
        _wine(info, [WINE64, "reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"])
    _wine(info, [WINESERVER, "-k"])
    _wine(info, [WINESERVER, "-w"])
    _log(f"prefix {info['prefix']} on display {info['display']} ready in {time.time() - t0:.1f} s")
    return 0


def cleanup(state_dir, quiet=False):
    path = os.path.join(state_dir, "env.json")
    if not os.path.exists(path):
        return 0
    with open(path, encoding="utf-8") as f:
        info = json.load(f)
    if os.path.isdir(info["prefix"]):
        try:
            _wine(info, [WINESERVER, "-k"], timeout=30)
        except subprocess.TimeoutExpired:
            pass
    pid = info.get("xvfb_pid")
    if pid:
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        info["xvfb_pid"] = None
        with open(path, "w", encoding="utf-8") as f:
            json.dump(info, f)
    if not quiet:
        _log("environment stopped")
    return 0


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    verb, state_dir = argv[1], os.path.abspath(argv[2])
    if verb == "setup":
        return setup(state_dir)
    if verb == "cleanup":
        return cleanup(state_dir)
    if verb == "run":
        rest = argv[3:]
        timeout = 300
        extra = None
        while rest[:1] in (["--timeout"], ["--locale"]):
            if rest[0] == "--timeout":
                timeout = float(rest[1])
            else:
                extra = {"LC_ALL": rest[1]}
            rest = rest[2:]
        if rest[:1] == ["--"]:
            rest = rest[1:]
        env = WineEnv.load(state_dir)
        rc, text = env.run(rest, timeout=timeout, extra_env=extra)
        sys.stdout.write(text)
        if rc is None:
            print(f"[wine_env] timed out after {timeout} s")
            return 124
        return rc
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
