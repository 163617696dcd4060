"""Python side of the window inspector (inspector.exe): read and drive another program's
windows from outside, under the Wine environment of wine_env.py.

    from inspector import Inspector
    ins = Inspector(env, "/path/to/inspector.exe")
    tree = ins.dump(title=b"...", timeout=20)     # dict; tree["windows"][0] is the top level
    ins.send(hwnd, msg, wparam, lparam)           # SendMessage, returns the result
    ins.post(hwnd, msg, wparam, lparam)
    ins.set_text(hwnd, b"bytes in code page 936")
    ins.get_text(hwnd)                            # bytes
Texts cross as UTF-16. In a dump, "text" is hex of their code page 936 bytes (use
Inspector.text(window) to get bytes) and "wtext" hex of the UTF-16 itself
(Inspector.wide_text(window) gives a str).
"""
import json
import os
import tempfile


def windows_path(path):
    """The Wine path of a Linux file (drive Z: is the Linux root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Inspector:
    def __init__(self, env, exe):
        self.env = env
        self.exe = exe

    def _call(self, *args, timeout=120, extra_env=None):
        with tempfile.TemporaryDirectory() as work:
            out = os.path.join(work, "out.json")
            rc, text = self.env.run([self.exe] + [str(a) for a in args] +
                                    ["--out", windows_path(out)], timeout=timeout,
                                    extra_env=extra_env)
            if rc == 2:
                raise RuntimeError(f"inspector usage error: {args}")
            if not os.path.exists(out):
                raise RuntimeError(f"inspector wrote nothing (rc {rc}): {text}")
            with open(out, encoding="utf-8") as f:
                return rc, json.load(f)

    @staticmethod
    def _selection(title, cls, pid, timeout):
        args = []
        if title is not None:
            args += ["--title-hex", title.hex()]
        if cls is not None:
            args += ["--class", cls]
        if pid is not None:
            args += ["--pid", pid]
        return args + ["--timeout", timeout]

    def dump(self, title=None, cls=None, pid=None, timeout=0):
        """The window and its descendants, or None when no such window exists."""
        _, result = self._call("dump", *self._selection(title, cls, pid, timeout))
        return result if result.get("found") else None

    def wait(self, title=None, cls=None, pid=None, timeout=20):
        _, result = self._call("wait", *self._selection(title, cls, pid, timeout))
        return result if result.get("found") else None

    def ansi_code_page(self, locale):
        """The ANSI code page a program started under `locale` gets (GetACP)."""
        _, result = self._call("codepage", extra_env={"LC_ALL": locale})
        return result["acp"]

    def send(self, hwnd, msg, wparam=0, lparam=0):
        _, result = self._call("send", "--hwnd", hwnd, "--msg", msg, "--wparam", wparam,
                               "--lparam", lparam)
        return result["result"]

    def post(self, hwnd, msg, wparam=0, lparam=0):
        _, result = self._call("post", "--hwnd", hwnd, "--msg", msg, "--wparam", wparam,
                               "--lparam", lparam)
        return result["result"]

    def set_text(self, hwnd, data):
        with tempfile.TemporaryDirectory() as work:
            path = os.path.join(work, "text.bin")
            with open(path, "wb") as f:
                f.write(data)
            _, result = self._call("settext", "--hwnd", hwnd, "--text-file", windows_path(path))
        return result["result"]

    def get_text(self, hwnd):
        _, result = self._call("gettext", "--hwnd", hwnd)
        return bytes.fromhex(result["text"])

    def get_wide_text(self, hwnd):
        """The text as the window holds it, in UTF-16, decoded to a str."""
        _, result = self._call("gettext", "--hwnd", hwnd)
        return bytes.fromhex(result["wtext"]).decode("utf-16-le")

    @staticmethod
    def text(window):
        return bytes.fromhex(window["text"])

    @staticmethod
    def wide_text(window):
        return bytes.fromhex(window["wtext"]).decode("utf-16-le")
