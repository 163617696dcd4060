#!/usr/bin/env python3
"""End-to-end test of the F2 pass: the real tool, a sample program and the stand-in service.

  translate_pass_e2e.py SCENARIO --tool zelvane_e2e.exe --sample sample_target.exe
                        --inspector inspector.exe --artifacts DIR

Scenarios:
  translate   F2 over the sample: every translatable text replaced by its cleaned translation,
              the rest untouched, requests in enumeration order with the caption last, the
              status texts, the eight key events of the desktop refresh, the hung window
              skipped within the bound, a second F2 during the pass changing nothing;
              screenshots before and after in DIR.
  controls    F2 on the tool's own status line; Tab to the Microsoft box and Space; Down on
              the direction list.
  refused     the stand-in refuses connections: nothing changes and the pass ends with the
              failure status; then every request fails (HTTP 500): three are tried, no more.
  restore     F2 over the sample, a label changed by the program, then Shift+F2: every other
              window the tool wrote shows its original again, the changed label keeps its text.
  close_during_pass
              WM_CLOSE to the tool while a pass waits for a reply: the tool ends with code 0
              and writes nothing more.
  timing      not a test: prints the wall time of one pass with a service that answers at once.
Prints the figures (requests, pass wall time) on success; exits 1 with the reason otherwise.

--tool-locale LOCALE starts the tool under another locale (en_US.UTF-8: ANSI code page 1252,
ja_JP.UTF-8: 932) while the sample keeps its own (zh_CN.UTF-8): the tool's texts and the
sample's translations must come out exactly as under 936.
"""
import argparse
import json
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))

from wine_env import WineEnv  # noqa: E402
from inspector import Inspector  # noqa: E402
import stand_in_service  # noqa: E402

TOOL_TITLE = "Zelvane软件翻译插件".encode("gbk")
JOKING = "你绝对在逗我".encode("gbk")
TRANSLATING = "正在翻译...".encode("gbk")  # followed by " done/total"
FINISHED = "翻译完成".encode("gbk")
NO_SERVICE = "翻译失败：翻译服务无响应".encode("gbk")
RESTORED = "已恢复原文".encode("gbk")
USAGE = "使用方法:把鼠标停留在程序窗口 按下F2键".encode("gbk")

# The sample's windows the pass must leave alone, by name (see sample_target_win32.cpp).
SKIPPED = ["queding", "empty", "spaces", "hung", "progman"]
# The user's own data and live values: never sent, never written.
USER_DATA = ["document", "choice", "counter", "percent"]
SKIPPED += USER_DATA
# Windows whose text has characters with no GBK form: never sent, never written.
NOT_GBK = ["korean"]
# What a read through the ANSI code page makes of the Korean caption on a 936 system.
KOREAN_THROUGH_ANSI = "??? ??"
# While the pass still reads and writes foreign windows with the ANSI calls, the checks that
# only a wide read can pass are reported as skipped when (and only when) their failure is
# exactly the mark of an ANSI read. Set to False once foreign windows are read wide.
FOREIGN_READ_MAY_BE_ANSI = False
# The Python codec of the ANSI code page each tool locale gives.
LOCALE_CODEC = {"en_US.UTF-8": "cp1252", "ja_JP.UTF-8": "cp932"}
SKIP_CODE = 77  # CTest's SKIP_RETURN_CODE for these tests
DESKTOP_CHORD = ["keydown 91", "keydown 68", "keyup 91", "keyup 68"] * 2
HUNG_WAIT_BOUND_S = 2.0

# The sample's texts, with replies that carry what the clean-up must remove: parentheses,
# angle brackets (sent as \u003c and \u003e), a line break (sent as backslash n), "&" and
# "%"; and a slash, which must survive.
stand_in_service.DICTIONARY.update({
    "Open": "打开",
    "Save As": "另存为(A)",
    "File name:": "文件名/路径:",
    "Options": "<选项>",
    "Show hidden files": "显示隐藏文件\n(H)",
    "Confirm on exit": "退出时确认 & 保存 100%",
    "Details": "详细信息",
    "Colour": "颜色",
    "Apply": "应用",
    "OK确定": "好的，确定",
    "丶 marker": "丶 标记",
    "Sample Settings": "示例设置",
})


class Failure(Exception):
    pass


class Skipped(Exception):
    pass


# What to print when a scenario fails: (label, callable) pairs the scenario registers.
DIAGNOSTICS = []


def check(condition, message):
    if not condition:
        raise Failure(message)


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for(what, probe, timeout, interval=0.2):
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


class Sample:
    def __init__(self, env, exe, artifacts):
        self.state_path = os.path.join(artifacts, "sample_state.json")
        if os.path.exists(self.state_path):
            os.remove(self.state_path)
        env.start([exe, wine_path(self.state_path)])
        wait_for("the sample's state", self.state, 30)
        self.initial = self.texts()
        self.initial_wide = self.wide_texts()
        DIAGNOSTICS.append(("sample texts", self.texts))
        DIAGNOSTICS.append(("sample events", self.events))

    def state(self):
        try:
            with open(self.state_path, encoding="ascii") as f:
                return json.load(f)
        except (OSError, ValueError):
            return None

    def texts(self):
        return {w["name"]: bytes.fromhex(w["text"]) for w in self.state()["windows"]}

    def wide_texts(self):
        return {w["name"]: bytes.fromhex(w["wtext"]).decode("utf-16-le")
                for w in self.state()["windows"]}

    def rect(self, name):
        return next(w["rect"] for w in self.state()["windows"] if w["name"] == name)

    def events(self):
        return self.state()["events"]


class Tool:
    def __init__(self, env, exe, inspector, service_host, locale=None):
        self.inspector = Inspector(env, inspector)
        # No host for the shipped executable: it reads nothing from its environment.
        extra = {"ZELVANE_TEST_SERVICE_HOST": service_host} if service_host else {}
        if locale:
            extra["LC_ALL"] = locale
        self.process = env.start([exe], extra_env=extra)
        # The class first: the inspector reads the title of every top-level window of that
        # class, and the sample's hung thread owns a top-level window (its IME window).
        dump = self.inspector.dump(title=TOOL_TITLE, cls="ZelvaneMainWindow", timeout=40)
        check(dump is not None, "the tool's window did not appear")
        self.window = dump["windows"][0]
        self.status = next(w for w in dump["windows"] if Inspector.text(w) == USAGE)

    def status_text(self):
        return self.inspector.get_text(self.status["handle"])


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def press_f2_over(env, x, y):
    env.xdotool("mousemove", x, y)
    time.sleep(0.3)
    env.hold_key("F2")


def click(env, x, y):
    """Activates the window there. Not on a caption: a click there starts Wine's move loop,
    which can outlive xdotool's quick release and swallow the keys that follow."""
    env.xdotool("mousemove", x, y)
    env.xdotool("click", "1")
    time.sleep(0.5)


def empty_spot(rect):
    """A point of the sample's client area with no control under it."""
    return rect[2] - 40, rect[3] - 30


def _replace_all(text, search, replacement):
    """Byte-wise, ASCII letters without case, double-byte characters stepped over whole."""
    out, pos, low = bytearray(), 0, search.lower()
    while pos < len(text):
        if len(text) - pos < len(search):
            out += text[pos:]
            break
        if text[pos:pos + len(search)].lower() == low:
            out += replacement
            pos += len(search)
        elif text[pos] >= 0x80:
            if pos + 1 == len(text):
                break
            out += text[pos:pos + 2]
            pos += 2
        else:
            out.append(text[pos])
            pos += 1
    return bytes(out)


CLEAN_UP = [(b"\\r", b"\r\n"), (b"\\n", b" "), (b"\\u003c", b""), (b"%", b""), (b"&", b""),
            (b"(", b""), (b")", b""), (b"\\", b""), ("＆".encode("gbk"), b""), (b"u003c", b""),
            (b"u003e", b"")]


def expected_text(original):
    """The cleaned translation of the stand-in's reply for a sample text (GBK bytes)."""
    translation = stand_in_service.translate(original.decode("gbk"))
    raw = stand_in_service.google_escape(translation).encode("gbk")
    for search, replacement in CLEAN_UP:
        raw = _replace_all(raw, search, replacement)
    return raw


def set_aside_korean(sample, requests, written):
    """Checks that the Korean caption was neither sent nor written and still holds its text;
    returns the requests and written names without it.

    Reading a foreign window through the ANSI code page turns the caption into question marks,
    which are then sent and written back. That is a fault of the foreign-window read, not of
    this test: until that read is wide, such a run reports the check as skipped. Any other
    trace of the caption fails."""
    korean_requests = [r for r in requests if r["text"] in (KOREAN_THROUGH_ANSI,
                                                          sample.initial_wide["korean"])]
    rest_requests = [r for r in requests if r not in korean_requests]
    rest_written = [n for n in written if n not in NOT_GBK]
    touched = bool(korean_requests) or "korean" in written
    if not touched or not FOREIGN_READ_MAY_BE_ANSI:
        check(sample.wide_texts()["korean"] == sample.initial_wide["korean"],
              f"the Korean caption changed to {sample.wide_texts()['korean']!r}")
        return rest_requests, rest_written
    check(all(r["text"] == KOREAN_THROUGH_ANSI for r in korean_requests),
          f"the Korean caption was sent as {[r['text'] for r in korean_requests]!r}")
    print("SKIPPED CHECK: the Korean caption (no GBK form) was read through the ANSI code page"
          f" as {KOREAN_THROUGH_ANSI!r}, sent and written; this check passes once foreign"
          " windows are read with the wide messages")
    return rest_requests, rest_written


def scenario_translate(env, args, svc):
    sample = Sample(env, args.sample, args.artifacts)
    tool = Tool(env, args.tool, args.inspector, svc.host, args.tool_locale)
    state = sample.state()
    order = state["enumeration"]  # names in the order the platform reports them
    translatable = [n for n in order if n not in SKIPPED + NOT_GBK and n != "caption"]

    caption = sample.rect("caption")
    crop = f"{caption[2] - caption[0]}x{caption[3] - caption[1]}+{caption[0]}+{caption[1]}"
    click(env, *empty_spot(caption))  # also brings the sample in front of the tool
    env.screenshot(os.path.join(args.artifacts, "sample_before.png"), crop=crop)
    svc.clear()
    svc.set_mode("slow", delay=0.3)  # long enough to watch the status and press F2 again

    started = time.monotonic()
    press_f2_over(env, *empty_spot(caption))
    seen = set()

    def status_is(wanted):
        text = tool.status_text()
        seen.add(text)
        return text == wanted or (wanted == TRANSLATING and text.startswith(TRANSLATING + b" "))

    wait_for("正在翻译...", lambda: status_is(TRANSLATING), 30, interval=0.05)
    env.hold_key("F2")  # a second press while the pass runs
    wait_for("翻译完成", lambda: status_is(FINISHED), 90, interval=0.1)
    wall = time.monotonic() - started
    time.sleep(2.0)  # a second pass, had it started, would ask again by now

    texts = sample.texts()
    written = [e.split(" ", 1)[1] for e in sample.events() if e.startswith("settext ")]
    requests, written = set_aside_korean(sample, svc.requests(), written)
    sent = [r["text"] for r in requests]
    wanted = [sample.initial[n].decode("gbk") for n in translatable + ["caption"]]
    if sent != wanted and args.tool_locale in LOCALE_CODEC and FOREIGN_READ_MAY_BE_ANSI:
        codec = LOCALE_CODEC[args.tool_locale]
        originals = [t.decode("gbk") for t in sample.initial.values()]
        through_ansi = {o.encode(codec, "replace").decode("gbk", "replace") for o in originals}
        through_ansi -= set(originals)
        if any(t in through_ansi for t in sent) and \
                all(t in wanted or t in through_ansi for t in sent):
            raise Skipped(f"the sample's windows were read through the tool's ANSI code page "
                          f"({codec}): {sent!r}; the tool's own status line passed; the "
                          "translations are checked once foreign windows are read wide")
    check(sent == wanted, f"requests {sent!r}, expected {wanted!r}")
    check(all(r["service"] == "google" for r in requests), "a request went to Microsoft")
    for request, text in zip(requests, wanted):
        encoded = "".join("%%%02X" % b for b in text.encode("utf-8"))  # every byte escaped
        check("text=" + encoded + "&" in request["path"] + "&",
              f"{text!r} not sent as {encoded}: {request['path']}")
    for name in translatable + ["caption"]:
        check(texts[name] == expected_text(sample.initial[name]),
              f"{name}: {texts[name]!r}, expected {expected_text(sample.initial[name])!r}")
    for name in SKIPPED:
        check(texts[name] == sample.initial[name], f"{name} changed to {texts[name]!r}")
    check(sorted(written) == sorted(translatable + ["caption"]), f"windows written: {written}")
    keys = [" ".join(e.split(" ")[:2]) for e in sample.events()
            if e.startswith("key") and e.split(" ")[1] in ("91", "68")]
    check(keys == DESKTOP_CHORD, f"desktop refresh keys {keys}")
    slowest_possible = len(requests) * 0.3 + 8 * 0.1
    check(wall < slowest_possible + 2 * HUNG_WAIT_BOUND_S + 30, f"the pass took {wall:.1f} s")

    progress = sorted(t for t in seen if t.startswith(TRANSLATING + b" "))
    total = len(translatable) + 1
    check(any(t.endswith(b"/%d" % total) for t in progress) and
          all(re.fullmatch(re.escape(TRANSLATING) + rb" \d+/%d" % total, t) for t in progress),
          f"progress texts seen: {progress!r}, expected n/{total}")
    env.screenshot(os.path.join(args.artifacts, "sample_after.png"), crop=crop)
    print(f"figures: {len(requests)} requests, pass wall time {wall:.2f} s "
          f"(stand-in delay 0.3 s per request), status texts seen {len(seen)}")


def focus_microsoft_box(env, status_rect):
    click(env, *centre(status_rect))  # the focus is on 状态 now
    for _ in range(5):
        env.hold_key("Tab", 0.05)
        time.sleep(0.1)


def scenario_controls(env, args, svc):
    sample = Sample(env, args.sample, args.artifacts)
    tool = Tool(env, args.tool, args.inspector, svc.host, args.tool_locale)
    svc.clear()

    # F2 on the tool's own status line: only the status answers.
    status_rect = tool.status["window"]
    press_f2_over(env, *centre(status_rect))
    wait_for("你绝对在逗我", lambda: tool.status_text() == JOKING, 20)
    time.sleep(1.0)
    check(svc.requests() == [], "a request was made for the tool's own window")

    # Tab five times from 状态 reaches 选择框_必应; Space checks it.
    focus_microsoft_box(env, status_rect)
    env.hold_key("space", 0.05)
    time.sleep(0.5)
    press_f2_over(env, *centre(sample.rect("open")))
    wait_for("翻译完成", lambda: tool.status_text() == FINISHED, 60)
    check([r["service"] for r in svc.requests()] == ["microsoft"],
          f"after Space on the Microsoft box: {svc.requests()}")

    # Space again returns to Google; Shift+Tab to 组合框1 and Down picks English to Chinese.
    svc.clear()
    focus_microsoft_box(env, status_rect)
    env.hold_key("space", 0.05)
    time.sleep(0.2)
    env.hold_key("shift+Tab", 0.05)
    time.sleep(0.2)
    env.hold_key("Down", 0.05)
    time.sleep(0.5)
    press_f2_over(env, *centre(sample.rect("save")))
    wait_for("a request", lambda: svc.requests(), 30)
    wait_for("翻译完成", lambda: tool.status_text() == FINISHED, 60)
    requests = svc.requests()
    check(len(requests) == 1 and requests[0]["service"] == "google"
          and "&sl=en&tl=zh-CN" in requests[0]["path"], f"after Down: {requests}")
    print("figures: guard made 0 requests; engine and direction switches took effect")


def refresh_keys(sample):
    return [e for e in sample.events() if e.startswith("key") and e.split(" ")[1] in ("91", "68")]


def scenario_refused(env, args, svc):
    sample = Sample(env, args.sample, args.artifacts)
    tool = Tool(env, args.tool, args.inspector, svc.host, args.tool_locale)
    caption = sample.rect("caption")
    click(env, *empty_spot(caption))

    # Every request failing (HTTP 500) shows how many the pass tries: each route once (the
    # engine's two, then the other engine's current one); failed routes rest, so no more.
    svc.set_mode("http500")
    svc.clear()
    started = time.monotonic()
    press_f2_over(env, *empty_spot(caption))
    wait_for("the desktop refresh", lambda: len(refresh_keys(sample)) == 8, 90)
    failing_wall = time.monotonic() - started
    time.sleep(1.0)
    tried = len(svc.requests())
    check(tried == 3, f"{tried} requests tried against a failing service")
    check([r["service"] for r in svc.requests()] == ["google", "google_current",
                                                     "microsoft_current"],
          f"routes tried: {[r['service'] for r in svc.requests()]}")
    check(sample.texts() == sample.initial, "a text changed after failed translations")
    check(tool.status_text() == NO_SERVICE, "the failing pass did not end with 翻译失败")

    # Connections refused: nothing can be counted at the service, but nothing may change.
    svc.set_mode("refuse")
    started = time.monotonic()
    press_f2_over(env, *empty_spot(caption))
    wait_for("the second desktop refresh", lambda: len(refresh_keys(sample)) == 16, 90)
    refused_wall = time.monotonic() - started
    check(sample.texts() == sample.initial, "a text changed although nothing was translated")
    check(tool.status_text() == NO_SERVICE, "the refused pass did not end with 翻译失败")
    print(f"figures: refused pass {refused_wall:.2f} s; failing pass {tried} requests, "
          f"{failing_wall:.2f} s")


def scenario_restore(env, args, svc):
    sample = Sample(env, args.sample, args.artifacts)
    tool = Tool(env, args.tool, args.inspector, svc.host)
    caption = sample.rect("caption")
    click(env, *empty_spot(caption))
    press_f2_over(env, *empty_spot(caption))
    wait_for("翻译完成", lambda: tool.status_text() == FINISHED, 90)
    translated = sample.texts()
    check(translated["open"] != sample.initial["open"], "the pass wrote nothing")

    # The program changes one translated label itself; Shift+F2 must leave that one alone.
    changed = b"Changed by the program"
    file_window = next(w for w in sample.state()["windows"] if w["name"] == "file")
    tool.inspector.set_text(file_window["hwnd"], changed)
    wait_for("the changed label", lambda: sample.texts()["file"] == changed, 10)
    requests = len(svc.requests())
    env.xdotool("mousemove", *empty_spot(caption))
    time.sleep(0.3)
    env.hold_key("shift+F2")
    wait_for("已恢复原文", lambda: tool.status_text() == RESTORED, 30)
    time.sleep(0.5)  # the sample writes its state every 100 ms

    texts = sample.texts()
    for name, original in sample.initial.items():
        wanted = changed if name == "file" else original
        check(texts[name] == wanted,
              f"{name}: {texts[name]!r} after the restore, expected {wanted!r}")
    check(len(svc.requests()) == requests, "the restore asked the service")
    restored = [n for n in sample.initial if n != "file" and translated[n] != sample.initial[n]]

    # F2 again translates again, every text it translated before from the translation memory.
    env.xdotool("mousemove", *empty_spot(caption))
    time.sleep(0.3)
    press_f2_over(env, *empty_spot(caption))
    wait_for("翻译完成 again", lambda: tool.status_text() == FINISHED, 60)
    time.sleep(0.5)
    again = sample.texts()
    for name in restored:
        check(again[name] == translated[name],
              f"{name}: {again[name]!r} after F2 again, expected {translated[name]!r}")
    # Only the label the program changed is new; everything else comes from the memory.
    asked = [r["text"] for r in svc.requests()[requests:]]
    check(asked == [changed.decode("gbk")], f"F2 after the restore asked {asked!r}")
    print(f"figures: {len(restored)} translated windows back to their original texts, "
          f"the changed label kept; F2 again: {len(svc.requests()) - requests} requests")


def scenario_close_during_pass(env, args, svc):
    sample = Sample(env, args.sample, args.artifacts)
    tool = Tool(env, args.tool, args.inspector, svc.host, args.tool_locale)
    caption = sample.rect("caption")
    click(env, *empty_spot(caption))
    svc.set_mode("slow", delay=1.5)
    press_f2_over(env, *empty_spot(caption))
    wait_for("正在翻译...", lambda: tool.status_text().startswith(TRANSLATING), 30,
             interval=0.05)
    tool.inspector.post(tool.window["handle"], 0x0010)  # WM_CLOSE while a reply is awaited
    try:
        code = tool.process.wait(timeout=30)
    except Exception:
        raise Failure("the tool did not end after WM_CLOSE during a pass")
    check(code == 0, f"the tool ended with code {code}")
    time.sleep(2.0)  # the reply that was awaited arrives; nothing may be written any more
    texts = sample.texts()
    written = [e for e in sample.events() if e.startswith("settext ")]
    check(len(written) <= 2, f"windows written after the close: {written}")
    check(texts["caption"] == sample.initial["caption"], "the caption was translated")
    print(f"figures: tool ended with code {code}; {len(written)} windows written before the close")


def scenario_timing(env, args, svc):
    """Not a test: the wall time of one pass over the sample with a service that answers at
    once, from the F2 press to 翻译完成 in the status line."""
    sample = Sample(env, args.sample, args.artifacts)
    tool = Tool(env, args.tool, args.inspector, svc.host, args.tool_locale)
    caption = sample.rect("caption")
    click(env, *empty_spot(caption))
    started = time.monotonic()
    press_f2_over(env, *empty_spot(caption))
    wait_for("翻译完成", lambda: tool.status_text() == FINISHED, 90, interval=0.05)
    wall = time.monotonic() - started
    print(f"figures: {len(svc.requests())} requests, pass wall time {wall:.2f} s "
          f"(includes the 0.15 s key hold, the desktop refresh and the status polling)")


SCENARIOS = {"translate": scenario_translate, "controls": scenario_controls,
             "refused": scenario_refused, "close_during_pass": scenario_close_during_pass,
             "restore": scenario_restore, "timing": scenario_timing}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--tool", required=True)
    parser.add_argument("--sample", required=True)
    parser.add_argument("--inspector", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--tool-locale", default=None,
                        help="LC_ALL for the tool alone, for example en_US.UTF-8")
    args = parser.parse_args()
    os.makedirs(args.artifacts, exist_ok=True)

    env = WineEnv.from_environment()
    svc = stand_in_service.StandInService()
    svc.start()
    DIAGNOSTICS.append(("requests", lambda: [(r["service"], r["text"]) for r in svc.requests()]))
    try:
        SCENARIOS[args.scenario](env, args, svc)
    except Skipped as skipped:
        print(f"SKIPPED: {skipped}")
        return SKIP_CODE
    except Failure as failure:
        print(f"FAILED: {failure}")
        for label, probe in DIAGNOSTICS:
            try:
                print(f"  {label}: {probe()!r}")
            except Exception as error:  # a diagnostic must not hide the failure
                print(f"  {label}: unavailable ({error})")
        return 1
    finally:
        env.stop_all()
        svc.stop()
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
