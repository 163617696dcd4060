#!/usr/bin/env python3
"""The demo's run after the build: environment, stand-in service, sample, tool, F2, table.

Each step prints one line with the elapsed time; a failing step is named and the demo exits 1.
Everything started here is ended here, by its process id.
"""
import argparse
import os
import sys
import time
import unicodedata

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "tests", "tools"))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))

import wine_env  # noqa: E402
import stand_in_service  # noqa: E402
import translate_pass_e2e as e2e  # noqa: E402  (its sample texts and dictionary entries)

START = time.time()


class StepFailed(Exception):
    pass


def say(message):
    print(f"[demo {int(time.time() - START):4d}s] {message}", flush=True)


def width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def pad(text, cells):
    return text + " " * max(0, cells - width(text))


def shown(data):
    text = data.decode("gbk", "replace")
    if not text:
        return "(empty)"
    text = repr(text)[1:-1]  # line breaks and tabs as escapes, one row per control
    return f'"{text}"' if text != text.strip() else text


def table(rows):
    left = max([width("control")] + [width(r[0]) for r in rows])
    mid = max([width("before")] + [width(r[1]) for r in rows])
    lines = [f"{pad('control', left)} | {pad('before', mid)} -> after",
             "-" * (left + mid + 20)]
    for name, before, after in rows:
        lines.append(f"{pad(name, left)} | {pad(before, mid)} -> {after}")
    return "\n".join(lines)


def run(args):
    exe = lambda *parts: os.path.join(args.tree, *parts)  # noqa: E731
    tool_exe, sample_exe = exe("app", "zelvane_e2e.exe"), exe("tests", "e2e", "sample_target.exe")
    inspector_exe = next((p for p in (exe("tests", "app", "inspector.exe"),
                                      exe("tests", "tools", "inspector.exe"))
                          if os.path.exists(p)), None)
    for path in (tool_exe, sample_exe, inspector_exe):
        if not path or not os.path.exists(path):
            raise StepFailed("find the programs", f"{path} is not built")
    os.makedirs(args.out, exist_ok=True)
    state_dir = os.path.join(args.out, "wine-env")

    step = "start the display and a fresh Wine prefix"
    say(step + " (about 10 s)")
    try:
        wine_env.setup(state_dir)
    except Exception as error:  # noqa: BLE001
        raise StepFailed(step, str(error))
    env = wine_env.WineEnv.load(state_dir)
    svc = stand_in_service.StandInService()
    try:
        step = "start the stand-in translation service"
        svc.start()
        say(f"{step}: {svc.host}")

        step = "start the sample English program"
        say(step)
        sample = e2e.Sample(env, sample_exe, args.out)

        step = "start the tool"
        say(step + " (zelvane_e2e.exe, pointed at the stand-in)")
        tool = e2e.Tool(env, tool_exe, inspector_exe, svc.host)

        caption = sample.rect("caption")
        crop = f"{caption[2] - caption[0]}x{caption[3] - caption[1]}+{caption[0]}+{caption[1]}"
        step = "screenshot before"
        e2e.click(env, *e2e.empty_spot(caption))  # brings the sample in front of the tool
        env.screenshot(os.path.join(args.out, "sample_before.png"), crop=crop)
        say(f"{step}: {os.path.join(args.out, 'sample_before.png')}")

        step = "rest the mouse on the sample and press F2"
        say(step)
        started = time.monotonic()
        e2e.press_f2_over(env, *e2e.empty_spot(caption))

        step = "wait for 翻译完成 in the tool's status line"
        say(step)
        e2e.wait_for("翻译完成", lambda: tool.status_text() == e2e.FINISHED, 120)
        say(f"the pass took {time.monotonic() - started:.1f} s, {len(svc.requests())} requests")
        time.sleep(0.5)

        step = "screenshot after"
        env.screenshot(os.path.join(args.out, "sample_after.png"), crop=crop)
        env.screenshot(os.path.join(args.out, "desktop_after.png"))
        say(f"{step}: {os.path.join(args.out, 'sample_after.png')}")

        after = sample.texts()
        rows = [(name, shown(before), shown(after[name]))
                for name, before in sample.initial.items() if name != "progman"]
        text = table(rows)
        with open(os.path.join(args.out, "table.txt"), "w", encoding="utf-8") as f:
            f.write(text + "\n")
        print(text, flush=True)
    except e2e.Failure as failure:
        raise StepFailed(step, str(failure))
    except StepFailed:
        raise
    except Exception as error:  # noqa: BLE001
        raise StepFailed(step, repr(error))
    finally:
        env.stop_all()
        svc.stop()
        wine_env.cleanup(state_dir, quiet=True)


def main():
    global START
    ap = argparse.ArgumentParser()
    ap.add_argument("--tree", required=True, help="the win64 build tree with the programs")
    ap.add_argument("--out", required=True)
    ap.add_argument("--started", type=float, default=time.time())
    args = ap.parse_args()
    START = args.started
    args.out, args.tree = os.path.abspath(args.out), os.path.abspath(args.tree)
    try:
        run(args)
    except StepFailed as failed:
        step, why = failed.args
        print(f"demo: FAILED at step '{step}': {why}", file=sys.stderr)
        return 1
    say(f"done: screenshots and table in {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
