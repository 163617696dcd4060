#!/usr/bin/env python3
"""Speed and memory figures of the tool under Wine (printed, never checked).

  run_bench.py [--build build/win64] [--out out/bench/figures.txt] [--idle-seconds 60]
               [--sizes 200,1000,3000] [--skip floor,routes] [--tool OTHER_zelvane_e2e.exe]
--idle-seconds 0 and an empty --sizes leave those parts out.

One run makes its own Wine environment (fresh prefix, Xvfb, code page 936), a stand-in service
on 127.0.0.1, and prints:
  pass       per target size N: the wall time of one F2 pass over many_windows_target with N
             labelled controls and a stand-in that answers at once (F2 press to the target's
             last WM_SETTEXT, seen through its state file, so to within about 0.1 s); the median
             time per window (between consecutive WM_SETTEXT arrivals at the target, and
             between consecutive requests at the stand-in); the CPU time of the tool, the
             wineserver and the Xvfb display during the pass per window (less sensitive to other load on the
             machine than the wall times); the tool's VmRSS and VmPeak after the pass (a fresh
             tool for each N);
  floor      the mean time of one bare GET through the same exchange the tool uses, against
             the same stand-in (services_exchange_benchmark), and the per-window time of the
             smallest N as a multiple of it;
  routes     the wall time of a pass over the sample program with every reply 300 ms late:
             Google (one request per text, its original route answering) against Microsoft
             (selected with Tab and Space; its original route fails, the current batch route
             answers), F2 press to the end of the desktop refresh; both include the bounded wait
             on the sample's hung window;
  idle       the tool's CPU (and the wineserver's) while it sits idle, as a share of one core.
The table is also written to --out.
"""
import argparse
import json
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(TOP, "tests", "tools"))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
sys.path.insert(0, os.path.join(TOP, "tests", "keyboard"))

import idle_cpu  # noqa: E402
import stand_in_service  # noqa: E402
import translate_pass_e2e as e2e  # noqa: E402
import wine_env  # noqa: E402

TOOL_EXE = "zelvane_e2e.exe"


def timed_service():
    """A stand-in that also notes the arrival time (time.monotonic()) of every request."""
    svc = stand_in_service.StandInService()
    record = svc._record

    def record_with_time(entry):
        entry["at"] = time.monotonic()
        record(entry)

    svc._record = record_with_time
    return svc.start()


def median_gap_ms(times):
    gaps = [b - a for a, b in zip(times, times[1:])]
    return statistics.median(gaps) if gaps else float("nan")


def process_of(env, needle):
    return idle_cpu.find(idle_cpu.processes_of_prefix(env.prefix), needle)


def memory_kb(pid):
    """(VmRSS, VmPeak) of a process in KiB, from /proc."""
    values = {}
    with open(f"/proc/{pid}/status", encoding="ascii", errors="replace") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmPeak"):
                values[key] = int(rest.split()[0])
    return values.get("VmRSS", 0), values.get("VmPeak", 0)


def stop(proc):
    wine_env._kill_group(proc)


class ManyWindows:
    def __init__(self, env, exe, count, work):
        self.path = os.path.join(work, f"many_{count}.json")
        self.count = count
        self.proc = env.start([exe, str(count), e2e.wine_path(self.path)])
        e2e.wait_for(f"the target with {count} windows", self.state, 60)

    def state(self):
        try:
            with open(self.path, encoding="ascii") as f:
                return json.load(f)
        except (OSError, ValueError):
            return None

    def set_text_times(self):
        state = self.state()
        return state["settext"] if state else []

    def free_spot(self):
        """A point in the top strip of the client area, where no control lies."""
        rect = self.state()["rect"]
        return rect[2] - 60, rect[1] + 45


def start_tool(env, args, svc):
    tool = e2e.Tool(env, args.tool, args.inspector, svc.host)
    time.sleep(1.0)
    pid = process_of(env, os.path.basename(args.tool))
    if pid is None:
        raise e2e.Failure("no process of the tool found in the prefix")
    return tool, pid


def bench_pass(env, args, svc, count, work):
    target = ManyWindows(env, args.many, count, work)
    tool, pid = start_tool(env, args, svc)
    x, y = target.free_spot()
    e2e.click(env, x, y)
    svc.clear()
    server = process_of(env, "wineserver")
    display = env.info.get("xvfb_pid")
    cpu_before = [idle_cpu.cpu_seconds(p) if p else 0.0 for p in (pid, server, display)]
    started = time.monotonic()
    e2e.press_f2_over(env, x, y)
    wanted = count + 1  # every control and the caption
    e2e.wait_for(f"{wanted} texts written", lambda: len(target.set_text_times()) >= wanted,
                 60 + count * 0.2, interval=0.05)
    wall = time.monotonic() - started
    cpu_after = [idle_cpu.cpu_seconds(p) if p else 0.0 for p in (pid, server, display)]
    time.sleep(1.0)
    rss, peak = memory_kb(pid)
    times = target.set_text_times()
    arrivals = [r["at"] for r in svc.requests()]
    figures = {"n": count, "wall": wall, "per_window": median_gap_ms(times),
               "per_request": 1000.0 * median_gap_ms(arrivals), "requests": len(arrivals),
               "written": len(times), "rss": rss, "peak": peak,
               "tool_cpu": 1000.0 * (cpu_after[0] - cpu_before[0]) / count,
               "server_cpu": 1000.0 * (cpu_after[1] - cpu_before[1]) / count,
               "x_cpu": 1000.0 * (cpu_after[2] - cpu_before[2]) / count}
    stop(tool.process)
    stop(target.proc)
    return figures


def http_floor(env, args, svc):
    argv = [args.exchange, "get", "50"]
    extra = {"ZELVANE_TEST_SERVICE_HOST": svc.host}
    env.run([args.exchange, "get", "3"], timeout=120, extra_env=extra)  # warm up
    _, output = env.run(argv, timeout=300, extra_env=extra)
    for line in output.splitlines():
        if "mean" in line:
            return float(line.split("mean", 1)[1].split("ms", 1)[0]), line.strip()
    raise e2e.Failure(f"the exchange benchmark printed no figure: {output!r}")


def route_pass(env, args, svc, work, name):
    os.makedirs(os.path.join(work, name), exist_ok=True)
    sample = e2e.Sample(env, args.sample, os.path.join(work, name))
    caption = sample.rect("caption")
    e2e.click(env, *e2e.empty_spot(caption))
    svc.clear()
    before = len(e2e.refresh_keys(sample))
    started = time.monotonic()
    e2e.press_f2_over(env, *e2e.empty_spot(caption))
    e2e.wait_for("the end of the pass", lambda: len(e2e.refresh_keys(sample)) >= before + 8, 120,
                 interval=0.05)
    wall = time.monotonic() - started
    requests = svc.requests()
    routes = {}
    for r in requests:
        routes[r["service"]] = routes.get(r["service"], 0) + 1
    batches = [len(r["texts"] or []) for r in requests if r["service"] == "microsoft_current"]
    written = len([e for e in sample.events() if e.startswith("settext ")])
    return {"wall": wall, "routes": routes, "batches": batches, "written": written}


def bench_routes(env, args, svc, work):
    """A fresh tool for each engine: the translator remembers the texts it has translated."""
    svc.set_reply_delay(0.3)
    try:
        tool, _ = start_tool(env, args, svc)
        google = route_pass(env, args, svc, work, "google")
        stop(tool.process)
        tool, _ = start_tool(env, args, svc)
        e2e.focus_microsoft_box(env, tool.status["window"])
        env.hold_key("space", 0.05)
        time.sleep(0.5)
        svc.set_mode("http500", service="microsoft")
        microsoft = route_pass(env, args, svc, work, "microsoft")
        svc.set_mode("ok")
        stop(tool.process)
    finally:
        svc.set_reply_delay(0)
    return google, microsoft


def bench_idle(env, args, svc):
    tool, pid = start_tool(env, args, svc)
    server = process_of(env, "wineserver")
    time.sleep(args.settle)
    start = {"tool": idle_cpu.cpu_seconds(pid), "wineserver": idle_cpu.cpu_seconds(server)}
    t0 = time.monotonic()
    time.sleep(args.idle_seconds)
    elapsed = time.monotonic() - t0
    end = {"tool": idle_cpu.cpu_seconds(pid), "wineserver": idle_cpu.cpu_seconds(server)}
    rss, peak = memory_kb(pid)
    stop(tool.process)
    share = {k: 100.0 * (end[k] - start[k]) / elapsed for k in start
             if start[k] is not None and end[k] is not None}
    return {"seconds": elapsed, "share": share, "rss": rss, "peak": peak}


def table(passes, floor, google, microsoft, idle):
    lines = ["Zelvane under Wine: speed and memory (stand-in service on 127.0.0.1)", ""]
    if passes:
        lines.append("pass over many_windows_target, stand-in answering at once")
        lines.append("  windows   pass s   ms/window  ms/request  CPU ms/window tool+wineserver+X"
                     "  requests  written   VmRSS MiB  VmPeak MiB")
        for p in passes:
            lines.append(f"  {p['n']:7d}  {p['wall']:7.2f}  {p['per_window']:9.2f}  "
                         f"{p['per_request']:10.2f}  {p['tool_cpu']:13.2f} + "
                         f"{p['server_cpu']:5.2f} + {p['x_cpu']:5.2f}   {p['requests']:8d}  "
                         f"{p['written']:7d}  "
                         f"{p['rss'] / 1024:10.1f}  {p['peak'] / 1024:10.1f}")
        lines.append("  (ms/window, ms/request: medians of the gaps between consecutive"
                     " WM_SETTEXT arrivals at the target, requests at the stand-in;")
        lines.append("   CPU ms/window: CPU time of the tool's process, the wineserver and the"
                     " Xvfb display during the pass, per window)")
        lines.append("")
    if floor:
        mean, line = floor
        lines.append(f"HTTP floor (bare GET through the same exchange, same stand-in): "
                     f"{mean:.2f} ms")
        lines.append(f"  {line}")
        if passes:
            lines.append(f"  per window at {passes[0]['n']} windows / floor = "
                         f"{passes[0]['per_window'] / mean:.2f}")
        lines.append("")
    if google:
        lines.append("pass over the sample program, every reply 300 ms late"
                     " (incl. the hung-window wait)")
        for label, r in (("per text (Google)", google), ("batch (Microsoft)", microsoft)):
            routes = ", ".join(f"{k} {v}" for k, v in sorted(r["routes"].items()))
            extra = (f" ({sum(r['batches'])} texts, at most {max(r['batches'])} in one post)"
                     if r["batches"] else "")
            lines.append(f"  {label:18s} {r['wall']:6.2f} s   requests: {routes}{extra}; "
                         f"{r['written']} written")
        lines.append("")
    if idle:
        shares = ", ".join(f"{k} {v:.2f} %" for k, v in idle["share"].items())
        lines.append(f"idle over {idle['seconds']:.0f} s (share of one core): {shares}; "
                     f"tool VmRSS {idle['rss'] / 1024:.1f} MiB, "
                     f"VmPeak {idle['peak'] / 1024:.1f} MiB")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(TOP, "build", "win64"))
    parser.add_argument("--out", default=os.path.join(TOP, "out", "bench", "figures.txt"))
    parser.add_argument("--sizes", default="200,1000,3000")
    parser.add_argument("--idle-seconds", type=float, default=60)
    parser.add_argument("--settle", type=float, default=5)
    parser.add_argument("--skip", default="", help="floor,routes: leave these parts out")
    parser.add_argument("--tool", help="another build of zelvane_e2e.exe to measure")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    args.tool = os.path.abspath(args.tool or os.path.join(build, "app", TOOL_EXE))
    args.inspector = os.path.join(build, "tests", "app", "inspector.exe")
    args.sample = os.path.join(build, "tests", "e2e", "sample_target.exe")
    args.many = os.path.join(build, "tests", "bench", "many_windows_target.exe")
    args.exchange = os.path.join(build, "tests", "services", "services_exchange_benchmark.exe")
    for path in (args.tool, args.inspector, args.sample, args.many, args.exchange):
        if not os.path.exists(path):
            print(f"bench: {path} is missing; build the win64 tree first", file=sys.stderr)
            return 2
    sizes = [int(s) for s in args.sizes.split(",") if s]

    work = tempfile.mkdtemp(prefix="zt_bench.")
    state = os.path.join(work, "wine")
    wine_env.setup(state)
    env = wine_env.WineEnv.load(state)
    svc = timed_service()
    passes, floor, google, microsoft, idle = [], None, None, None, None
    try:
        if args.idle_seconds > 0:
            idle = bench_idle(env, args, svc)
            print("bench: idle done", flush=True)
        for count in sizes:
            passes.append(bench_pass(env, args, svc, count, work))
            print(f"bench: pass over {count} windows done", flush=True)
        if "floor" not in args.skip:
            floor = http_floor(env, args, svc)
        if "routes" not in args.skip:
            google, microsoft = bench_routes(env, args, svc, work)
    except e2e.Failure as failure:
        print(f"bench: FAILED: {failure}", file=sys.stderr)
        return 1
    finally:
        env.stop_all()
        svc.stop()
        wine_env.cleanup(state, quiet=True)
        shutil.rmtree(work, ignore_errors=True)
    text = table(passes, floor, google, microsoft, idle)
    print(text, end="")
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
