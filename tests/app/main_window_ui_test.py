#!/usr/bin/env python3
"""The tool's window read and driven from outside under Wine.

Usage: main_window_ui_test.py ZELVANE_EXE INSPECTOR_EXE   (inside the CTest Wine fixture)
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest

from tool_session import IDS, SCREEN_H, SCREEN_W, TITLE, Inspector, ToolSession, WineEnv

# Window styles and messages.
WS_CHILD, WS_VISIBLE, WS_CLIPSIBLINGS, WS_CLIPCHILDREN = 0x40000000, 0x10000000, 0x04000000, 0x02000000
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_TABSTOP = 0x00020000, 0x00010000, 0x00010000
WS_VSCROLL, WS_BORDER = 0x00200000, 0x00800000
WS_EX_WINDOWEDGE, WS_EX_CLIENTEDGE, WS_EX_STATICEDGE = 0x100, 0x200, 0x20000
ES_CENTER, ES_MULTILINE, ES_AUTOVSCROLL, ES_AUTOHSCROLL = 0x1, 0x4, 0x40, 0x80
ES_READONLY, ES_WANTRETURN = 0x800, 0x1000
BS_AUTOCHECKBOX, BS_LEFT, BS_VCENTER = 0x3, 0x100, 0xC00
CBS_DROPDOWNLIST, CBS_AUTOHSCROLL = 0x3, 0x40
SS_BITMAP = 0xE
BM_GETCHECK, BM_SETCHECK = 0xF0, 0xF1
WM_KEYDOWN, WM_KEYUP, VK_SPACE = 0x100, 0x101, 0x20

CHILD = WS_CHILD | WS_VISIBLE
EDIT = CHILD | WS_CLIPSIBLINGS | WS_TABSTOP
MULTI = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN
CHECK = CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER

DESCRIPTION = "\r\n".join([
    "本程序适合用于对英文软件的翻译", "将程序内的英语转化为中文的软件", "当然如果取不到句柄一切都是空谈",
    "绝对好用不坑欢迎大家一起来使用", "本程序完全免费如有收费说明被骗"]).encode("gbk")
STATUS = "使用方法:把鼠标停留在程序窗口 按下F2键".encode("gbk")
DIRECTIONS = [("自动检测", 0), ("英语 → 中文", 1), ("中文 → 英语", 2), ("日文 → 中文", 3),
              ("中文 → 日文", 4)]

# name, class, style read back, extended style, left, top, width, height (None: the
# control's own), text. Edit boxes take WS_BORDER over and draw it themselves; a combo box
# hands WS_VSCROLL to its list; a combo box's height is that of its selection field.
CONTROLS = [
    ("超级链接框2", "ZelvaneHyperlink", CHILD, 0, 160, 104, 80, 24, "Zelvane论坛".encode("gbk")),
    ("超级链接框1", "ZelvaneHyperlink", CHILD, 0, 32, 104, 80, 24, "Korvath论坛".encode("gbk")),
    ("进度条", "Static", CHILD | SS_BITMAP, 0, 800, 320, 0, 0, b""),
    ("选择框_谷歌", "Button", CHECK, 0, 1134, 465, 0, 0, "谷歌翻译".encode("gbk")),
    ("选择框_必应", "Button", CHECK, 0, 1136, 431, 0, 9, "必应翻译".encode("gbk")),
    ("标签3", "ZelvaneCaption", CHILD, 0, 938, 652, 0, 0, "翻译选择：".encode("gbk")),
    ("组合框1", "ComboBox", CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL,
     0, 1004, 651, 0, None, "自动检测".encode("gbk")),
    ("标签2", "ZelvaneCaption", CHILD, 0, 904, 376, 0, 0, "翻译结果".encode("gbk")),
    ("标签1", "ZelvaneCaption", CHILD, 0, 680, 376, 0, 0, "原文内容".encode("gbk")),
    # The hand-over boxes have no scroll bar (see the control table in main_window_win32.cpp).
    ("翻译结果", "Edit", EDIT | MULTI | ES_READONLY, 0, 904, 400, 8, 0, b""),
    ("原文内容", "Edit", EDIT | MULTI, 0, 680, 399, 0, 1, b""),
    ("编辑框1", "Edit", EDIT | MULTI | ES_CENTER | ES_READONLY, WS_EX_STATICEDGE, 16, 8, 240, 88,
     DESCRIPTION),
    ("状态", "Edit", EDIT | ES_AUTOHSCROLL | ES_CENTER | ES_READONLY, WS_EX_CLIENTEDGE, 16, 128,
     240, 20, STATUS),
]

ENV = None
TOOL = None
INSPECTOR = None


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.tool = ToolSession(ENV, TOOL, INSPECTOR)
        self.tool.start()

    def tearDown(self):
        ENV.stop_all()


class StartState(ToolTest):
    def test_main_window_title_size_position_and_frame(self):
        main = self.tool.main
        self.assertEqual(main["class"], "ZelvaneMainWindow")
        self.assertEqual(bytes.fromhex(main["text"]), TITLE)
        left, top, right, bottom = main["window"]
        self.assertEqual((right - left, bottom - top), (274, 184))
        self.assertEqual((left, top), ((SCREEN_W - 275) // 2, (SCREEN_H - 185) // 2))
        style = main["style"]
        self.assertEqual(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE),
                         WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE)
        self.assertEqual(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0)
        # The system adds the window edge to every captioned window; nothing else.
        self.assertEqual(main["exstyle"] & ~WS_EX_WINDOWEDGE, 0)
        self.assertEqual(main["parent"], self.tool.tree["windows"][0]["parent"])

    def test_every_control_as_created(self):
        windows = self.tool.tree["windows"]
        origin = self.tool.main["origin"]
        self.assertEqual([w["id"] for w in windows[1:]], [IDS[c[0]] for c in CONTROLS],
                         "controls in creation order, and no others")
        for name, cls, style, exstyle, left, top, width, height, text in CONTROLS:
            with self.subTest(control=name):
                w = self.tool.control(name)
                self.assertEqual(w["class"], cls)
                self.assertEqual(w["parent"], self.tool.main["handle"])
                self.assertEqual(hex(w["style"]), hex(style))
                self.assertEqual(hex(w["exstyle"]), hex(exstyle))
                l, t, r, b = w["window"]
                self.assertEqual((l - origin[0], t - origin[1]), (left, top))
                self.assertEqual(r - l, width)
                if height is not None:
                    self.assertEqual(b - t, height)
                self.assertEqual(bytes.fromhex(w["text"]), text)
                self.assertTrue(w["enabled"])

    def test_engine_boxes_and_direction_list_start_values(self):
        self.assertEqual(self.tool.control("选择框_谷歌")["check"], 1)
        self.assertEqual(self.tool.control("选择框_必应")["check"], 0)
        combo = self.tool.control("组合框1")
        self.assertEqual(combo["current"], 0)
        self.assertEqual([bytes.fromhex(i) for i in combo["items"]],
                         [t.encode("gbk") for t, _ in DIRECTIONS])
        self.assertEqual(combo["itemdata"], [v for _, v in DIRECTIONS])
        self.assertIn(b"\xA1\xFA", bytes.fromhex(combo["items"][1]))  # the arrow's two bytes


class EngineBoxes(ToolTest):
    def click(self, name):
        # A click as the box reports it: Space pressed and released on the box itself
        # (zero-sized boxes ignore mouse clicks, which land outside them).
        hwnd = self.tool.handle(name)
        self.tool.ins.send(hwnd, WM_KEYDOWN, VK_SPACE, 0x00390001)
        self.tool.ins.send(hwnd, WM_KEYUP, VK_SPACE, 0xC0390001)

    def set_check(self, name, state):
        self.tool.ins.send(self.tool.handle(name), BM_SETCHECK, state)

    def checks(self):
        return tuple(self.tool.ins.send(self.tool.handle(n), BM_GETCHECK)
                     for n in ("选择框_谷歌", "选择框_必应"))

    def test_clicks_keep_exactly_one_checked_and_set_check_leaves_the_other(self):
        steps = [  # action, box, (谷歌, 必应) afterwards
            ("click", "选择框_必应", (0, 1)),
            ("click", "选择框_必应", (1, 0)),
            ("click", "选择框_谷歌", (0, 1)),
            ("click", "选择框_谷歌", (1, 0)),
            ("set1", "选择框_必应", (1, 1)),
            ("set0", "选择框_谷歌", (0, 1)),
            ("set0", "选择框_必应", (0, 0)),
            ("click", "选择框_必应", (0, 1)),
        ]
        for number, (action, box, expected) in enumerate(steps):
            if action == "click":
                self.click(box)
            else:
                self.set_check(box, int(action[-1]))
            self.assertEqual(self.checks(), expected, f"step {number}: {action} {box}")


class Keyboard(ToolTest):
    def test_tab_order_from_the_first_focus_and_back(self):
        self.tool.activate()
        self.assertEqual(self.tool.focus_name(), "状态")
        order = ["编辑框1", "原文内容", "翻译结果", "组合框1", "选择框_必应", "选择框_谷歌", "状态"]
        for presses, expected in enumerate(order, start=1):
            self.tool.key("Tab")
            self.assertEqual(self.tool.focus_name(), expected, f"after {presses} Tab presses")
        for expected in reversed(order[:-1]):
            self.tool.key("shift+Tab")
            self.assertEqual(self.tool.focus_name(), expected, "Shift+Tab")

    def test_space_on_microsoft_box_and_down_on_direction_list(self):
        self.tool.activate()
        for _ in range(5):
            self.tool.key("Tab")
        self.assertEqual(self.tool.focus_name(), "选择框_必应")
        self.tool.key("space")
        tree = self.tool.refresh()
        self.assertEqual(self.tool.control("选择框_必应", tree)["check"], 1)
        self.assertEqual(self.tool.control("选择框_谷歌", tree)["check"], 0)
        self.tool.key("shift+Tab")
        self.assertEqual(self.tool.focus_name(), "组合框1")
        self.tool.key("Down")
        combo = self.tool.control("组合框1", self.tool.refresh())
        self.assertEqual(combo["current"], 1)

    def test_focus_returns_to_the_last_control_after_deactivation(self):
        self.tool.activate()
        self.tool.key("Tab")
        self.tool.key("Tab")
        self.assertEqual(self.tool.focus_name(), "原文内容")
        # Click the empty desktop, then the caption again.
        ENV.xdotool("mousemove", 100, 700, "click", 1)
        time.sleep(0.5)
        self.assertNotEqual(self.tool.refresh()["active"], self.tool.main["handle"])
        self.tool.activate()
        self.assertEqual(self.tool.focus_name(), "原文内容")


class Hyperlinks(ToolTest):
    HOVER = (51, 153, 255)
    NORMAL = (0, 0, 255)

    def colours_in(self, name):
        """The set of colours drawn inside a link, from a screenshot."""
        l, t, r, b = self.tool.control(name)["window"]
        with tempfile.TemporaryDirectory() as work:
            shot = os.path.join(work, "link.png")
            ENV.screenshot(shot, crop=f"{r - l}x{b - t}+{l}+{t}")
            raw = os.path.join(work, "link.rgb")
            subprocess.run(["convert", shot, "-depth", "8", "rgb:" + raw], check=True)
            with open(raw, "rb") as f:
                pixels = f.read()
        return {tuple(pixels[i:i + 3]) for i in range(0, len(pixels) - 2, 3)}

    def test_hover_captures_the_mouse_and_changes_colour_until_it_leaves(self):
        for name in ("超级链接框1", "超级链接框2"):
            with self.subTest(link=name):
                l, t, r, b = self.tool.control(name)["window"]
                handle = self.tool.control(name)["handle"]
                self.assertIn(self.NORMAL, self.colours_in(name))
                ENV.xdotool("mousemove", (l + r) // 2, (t + b) // 2)
                time.sleep(0.5)
                self.assertEqual(self.tool.refresh()["capture"], handle)
                colours = self.colours_in(name)
                self.assertIn(self.HOVER, colours)
                self.assertNotIn(self.NORMAL, colours)
                ENV.xdotool("mousemove", l - 40, b + 40)
                time.sleep(0.5)
                self.assertEqual(self.tool.refresh()["capture"], "0x0")
                self.assertIn(self.NORMAL, self.colours_in(name))


class Closing(ToolTest):
    # chord pressed with the tool active, Tab presses before it, whether the tool closes.
    CASES = [
        ("Escape", 0, True),
        ("Escape", 2, True),  # focus inside the multi-line source box
        ("Escape", 4, True),  # focus on the direction list
        ("ctrl+Escape", 0, False),
        ("shift+Escape", 0, False),
        ("alt+Escape", 0, False),
        ("alt+F4", 0, True),
    ]

    def test_keys(self):
        for number, (chord, tabs, closes) in enumerate(self.CASES):
            with self.subTest(chord=chord, tabs=tabs):
                if number > 0:
                    ENV.stop_all()
                    self.tool.start()
                self.tool.activate()
                for _ in range(tabs):
                    self.tool.key("Tab")
                self.tool.key(chord, settle=0)
                if closes:
                    self.assertEqual(self.tool.wait_exit(15), 0)
                else:
                    self.assertIsNone(self.tool.wait_exit(2), "the tool must keep running")
                    self.assertIsNotNone(self.tool.refresh())

    def test_close_button(self):
        self.tool.activate()
        right, top = self.tool.main["window"][2], self.tool.main["window"][1]
        ENV.xdotool("mousemove", right - 14, top + 11, "click", 1)
        self.assertEqual(self.tool.wait_exit(15), 0)


JOKING = "你绝对在逗我".encode("gbk")


def press_f2_on_own_window(tool):
    """F2 over the description until the status line answers; the status text last read."""
    l, t, r, b = tool.control("编辑框1")["window"]
    ENV.xdotool("mousemove", (l + r) // 2, (t + b) // 2)
    status = tool.handle("状态")
    deadline = time.time() + 15
    text = b""
    while time.time() < deadline and text != JOKING:
        ENV.hold_key("F2")
        time.sleep(0.5)
        text = tool.ins.get_text(status)
    return text


class StartUp(ToolTest):
    def test_f2_is_registered_and_answers_on_the_tools_own_window(self):
        # The hotkey poll runs on a window-less timer: this shows that start-up registered F2
        # and that the message loop dispatches thread messages.
        self.assertEqual(self.tool.ins.get_text(self.tool.handle("状态")), STATUS)
        self.assertEqual(press_f2_on_own_window(self.tool), JOKING)
        self.assertIsNone(self.tool.wait_exit(0.5))


class LongTexts(ToolTest):
    def test_source_and_result_boxes_take_long_texts_with_line_breaks(self):
        line = "Line {:05d} with 中文 and tabs\tend".encode("gbk")
        text = b"\r\n".join(line.replace(b"{:05d}", b"%05d" % i) for i in range(1200))
        self.assertGreater(len(text), 30000)
        for name in ("原文内容", "翻译结果"):
            with self.subTest(box=name):
                hwnd = self.tool.handle(name)
                self.assertEqual(self.tool.ins.set_text(hwnd, text), 1)
                self.assertEqual(self.tool.ins.get_text(hwnd), text)


# Locales the tool is also started under, and the ANSI code page each gives a Wine program.
OTHER_CODE_PAGES = [("en_US.UTF-8", 1252), ("ja_JP.UTF-8", 932)]


class OtherCodePages(unittest.TestCase):
    """The tool started on an English or a Japanese system shows what it shows on a Chinese
    one: every text read back from outside as UTF-16 is the one it has under code page 936."""

    def setUp(self):
        self.tool = ToolSession(ENV, TOOL, INSPECTOR)

    def tearDown(self):
        ENV.stop_all()

    def test_each_locale_gives_its_code_page(self):
        for locale, code_page in OTHER_CODE_PAGES + [("zh_CN.UTF-8", 936)]:
            with self.subTest(locale=locale):
                self.assertEqual(self.tool.ins.ansi_code_page(locale), code_page)

    def test_window_texts_status_and_boxes_as_under_936(self):
        for locale, _ in OTHER_CODE_PAGES:
            with self.subTest(locale=locale):
                ENV.stop_all()
                self.tool.start(locale)
                self.assertEqual(Inspector.wide_text(self.tool.main), TITLE.decode("gbk"))
                for name, *_, text in CONTROLS:
                    self.assertEqual(Inspector.wide_text(self.tool.control(name)),
                                     text.decode("gbk"), name)
                combo = self.tool.control("组合框1")
                self.assertEqual([bytes.fromhex(i) for i in combo["items"]],
                                 [t.encode("gbk") for t, _ in DIRECTIONS])
                # Written from the pass's own thread through the status line operation.
                self.assertEqual(press_f2_on_own_window(self.tool), JOKING)


def main():
    global ENV, TOOL, INSPECTOR
    TOOL, INSPECTOR = sys.argv[1], sys.argv[2]
    ENV = WineEnv.from_environment()
    program = unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[3:], exit=False)
    ENV.stop_all()
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
