#!/usr/bin/env python3
"""The start signal: copies of the tool under different names, started by a program that holds
the shared section (or none), which reports the section's bytes once the window is up.

Usage: start_signal_test.py ZELVANE_EXE HOLDER_EXE   (inside the CTest Wine fixture)
"""
import json
import os
import shutil
import sys
import tempfile
import unittest

from tool_session import TITLE, WineEnv  # also puts tests/tools on the path
from inspector import windows_path

UNTOUCHED = "ab" * 16
SIGNALLED = "000000" + "ab" * 13

ENV = None
TOOL = None
HOLDER = None


class StartSignal(unittest.TestCase):
    CASES = [  # file name of the copy, whether the section exists, bytes afterwards
        ("x.tmp", True, SIGNALLED),
        ("x.TMP", True, SIGNALLED),
        ("x.tmp.exe", True, UNTOUCHED),
        ("x.exe", True, UNTOUCHED),
        ("x.tmp", False, ""),  # no section: start-up goes on
    ]

    def test_names(self):
        self.run_cases(self.CASES, None)

    def test_section_found_under_other_code_pages(self):
        # The holder names the section by its UTF-16 characters; the tool, started under the
        # holder's English or Japanese locale, must open the same section.
        for locale in ("en_US.UTF-8", "ja_JP.UTF-8"):
            with self.subTest(locale=locale):
                self.run_cases([("x.tmp", True, SIGNALLED)], locale)

    def run_cases(self, cases, locale):
        with tempfile.TemporaryDirectory() as work:
            for name, with_section, expected in cases:
                with self.subTest(name=name, section=with_section):
                    folder = os.path.join(work, f"{name}-{with_section}")
                    os.makedirs(folder)
                    copy = os.path.join(folder, name)
                    shutil.copyfile(TOOL, copy)
                    out = os.path.join(folder, "result.json")
                    argv = [HOLDER, "--out", windows_path(out), "--title-hex", TITLE.hex(),
                            "--timeout", "30"]
                    if not with_section:
                        argv.append("--no-section")
                    rc, text = ENV.run(argv + ["--", windows_path(copy)], timeout=90,
                                       extra_env={"LC_ALL": locale} if locale else None)
                    self.assertEqual(rc, 0, text)
                    with open(out, encoding="utf-8") as f:
                        result = json.load(f)
                    self.assertTrue(result["started"])
                    self.assertTrue(result["window"], "the tool's window came up")
                    self.assertEqual(result["bytes"], expected)


def main():
    global ENV, TOOL, HOLDER
    TOOL, HOLDER = sys.argv[1], sys.argv[2]
    ENV = WineEnv.from_environment()
    program = unittest.main(argv=[sys.argv[0], "-v"], exit=False)
    ENV.stop_all()
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
