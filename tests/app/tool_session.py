"""Starting the tool under Wine and reading it from outside, for the app's UI tests."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from wine_env import WineEnv  # noqa: E402
from inspector import Inspector  # noqa: E402

TITLE = "Zelvane软件翻译插件".encode("gbk")
SCREEN_W, SCREEN_H = 1280, 800

# Control ids in creation order, as the tool assigns them.
IDS = {
    "超级链接框2": 101, "超级链接框1": 102, "进度条": 103, "选择框_谷歌": 104,
    "选择框_必应": 105, "标签3": 106, "组合框1": 107, "标签2": 108, "标签1": 109,
    "翻译结果": 110, "原文内容": 111, "编辑框1": 112, "状态": 113,
}


class ToolSession:
    """One run of the tool: start, find its window, drive it, read it back."""

    def __init__(self, env, tool, inspector_exe):
        self.env = env
        self.tool = tool
        self.ins = Inspector(env, inspector_exe)
        self.proc = None
        self.tree = None

    def start(self, locale=None):
        """Starts the tool; `locale` (for example "en_US.UTF-8") sets its ANSI code page."""
        self.proc = self.env.start([self.tool], extra_env={"LC_ALL": locale} if locale else None)
        self.tree = self.ins.dump(title=TITLE, timeout=30)
        if self.tree is None:
            raise AssertionError("the tool's window did not appear")
        return self.tree

    def refresh(self):
        self.tree = self.ins.dump(title=TITLE, timeout=5)
        return self.tree

    @property
    def main(self):
        return self.tree["windows"][0]

    def control(self, name, tree=None):
        for w in (tree or self.tree)["windows"][1:]:
            if w["id"] == IDS[name]:
                return w
        raise AssertionError(f"no control {name}")

    def handle(self, name):
        return int(self.control(name)["handle"], 16)

    def focus_name(self):
        focus = self.refresh()["focus"]
        for name in IDS:
            if self.control(name)["handle"] == focus:
                return name
        return focus

    def activate(self):
        """Click the caption, as a person does; Wine then gives the window the keyboard."""
        left, top = self.main["window"][0], self.main["window"][1]
        self.env.xdotool("mousemove", left + 90, top + 10, "click", 1)
        deadline = time.time() + 10
        while time.time() < deadline:
            tree = self.refresh()
            if tree and tree["active"] == self.main["handle"]:
                return
            time.sleep(0.2)
        raise AssertionError("the tool's window did not become active")

    def key(self, chord, settle=0.3):
        self.env.xdotool("key", "--delay", "50", chord)
        time.sleep(settle)

    def wait_exit(self, timeout):
        """The exit code, or None when the tool is still running after `timeout` seconds."""
        try:
            return self.proc.wait(timeout=timeout)
        except Exception:  # subprocess.TimeoutExpired
            return None
