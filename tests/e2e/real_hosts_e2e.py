#!/usr/bin/env python3
"""End-to-end test of the shipped tool against the services' real host names, over real HTTPS.

  private_net.py WORK -- real_hosts_e2e.py --tool zelvane.exe --sample sample_target.exe
      --inspector inspector.exe --probe https_probe.exe --artifacts DIR SCENARIO...

Runs inside tests/tools/private_net.py: there the four host names lead to 127.0.0.1 and the
system bundle trusts a test authority. The driver starts its own Xvfb and Wine prefix in the
namespace, and a stand-in that serves every route under its real name: plain HTTP on port 80
(the original routes) and HTTPS on port 443 with the test authority's certificate (the current
routes). The tool is the unmodified shipped executable: nothing points it anywhere.

Scenarios (a fresh tool and sample program each):
  proof      HTTPS from Wine: 12157 with the untouched bundle, 200 with the test authority;
             then an F2 pass whose requests reach the original Google route on port 80 under
             its own Host name.
  today      the originals answer as they do today (Google 403 with a page, Microsoft 404),
             the current routes answer: everything translated, the Google original asked once
             and then resting, every request checked; then the same with the Microsoft engine.
  google_down
             both Google routes fail: Microsoft's current route serves the pass.
  all_down   every route refused, then every route answering an error: nothing changes, the
             pass ends within 20 s with 翻译失败：翻译服务无响应.
  black_hole every connection accepted and never answered: the same, within 30 s.
  mixed      two texts fail on every route: 翻译完成，2项未能翻译.
Prints the request list and wall time of each pass; exits 1 with the reason on a failure.
"""
import argparse
import http.server
import json
import os
import signal
import socket
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.join(HERE, "..", "tools")
sys.path.insert(0, TOOLS)
sys.path.insert(0, HERE)

import private_net  # noqa: E402
import stand_in_service  # noqa: E402
import wine_env  # noqa: E402
from inspector import Inspector  # noqa: E402
import translate_pass_e2e as e2e  # noqa: E402
from translate_pass_e2e import Failure, check, wait_for  # noqa: E402

FAILED = "翻译失败：翻译服务无响应".encode("gbk")
GOOGLE_UA = ("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; QQDownload 663; "
             "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1) ; .NET CLR 2.0.50727)")
MICROSOFT_APP_ID = "7A1C0E93F6B8D2A4C5E7091B3D6F8A2C4E0B7D19"

# The sample's texts with plain translations: what the tool writes back is exactly these.
TRANSLATIONS = {
    "Open": "打开", "Save As": "另存为", "File name:": "文件名", "Options": "选项",
    "Show hidden files": "显示隐藏文件", "Confirm on exit": "退出时确认", "Details": "详细信息",
    "Colour": "颜色", "Apply": "应用", "OK确定": "好的确定", "丶 marker": "丶标记",
    "Sample Settings": "示例设置", "Size < 10 & > 2": "大小在二到十之间", "Language": "语言",
    "Read-only note": "只读说明",
}
stand_in_service.DICTIONARY.update(TRANSLATIONS)

# Route name: (host, path). The original routes are plain HTTP, the current ones HTTPS.
ROUTES = {
    "google_original": ("translate.google.com", "/translate_a/t"),
    "google_current": ("translate.googleapis.com", "/translate_a/single"),
    "microsoft_original": ("api.microsofttranslator.com", "/v2/Http.svc/Translate"),
    "microsoft_current": ("edge.microsoft.com", "/translate/translatetext"),
}
SCHEME = {"google_original": "http", "microsoft_original": "http",
          "google_current": "https", "microsoft_current": "https"}

# How a route answers: "ok"; "gone" (the original routes today: Google 403 with its page,
# Microsoft 404); "http500"; "drop" (reads the request, closes without a reply).
TODAY = {"google_original": "gone", "microsoft_original": "gone",
         "google_current": "ok", "microsoft_current": "ok"}


class _Handler(stand_in_service._Handler):
    """The stand-in's replies, chosen by the Host name and path of each request."""

    def do_GET(self):
        self._serve(b"")

    def do_POST(self):
        self._serve(self._read_body())

    def _serve(self, body):
        service = self.server.owner
        parsed = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True, encoding="utf-8",
                                      errors="replace")
        host = (self.headers.get("Host") or "").split(":")[0].lower()
        route = next((name for name, (h, p) in ROUTES.items()
                      if h == host and p == parsed.path), None)
        texts = []
        if route in ("google_original", "microsoft_original"):
            texts = [query.get("text", [""])[0]]
        elif route == "google_current":
            texts = [query.get("q", [""])[0]]
        elif route == "microsoft_current":
            sent = stand_in_service._string_list(body)
            texts = None if sent is None else [stand_in_service.decode_entities(t) for t in sent]
        service.record({"route": route, "scheme": self.server.scheme, "method": self.command,
                        "host": host, "path": self.path, "headers": list(self.headers.items()),
                        "body": body.decode("utf-8", "replace"), "texts": texts})
        if route is None:
            # The bare root answers, for the HTTPS probe; anything else is not served here.
            status = 200 if parsed.path == "/" else 404
            self._send(status, "text/plain; charset=utf-8", b"stand-in")
            return
        mode = service.mode_for(route, texts or [])
        if mode == "drop":
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            return
        if mode == "gone":  # the original routes today
            mode = "http403" if route == "google_original" else "http404"
        if mode in stand_in_service.STATUS_PAGES:
            status, page = stand_in_service.STATUS_PAGES[mode]
            self._send(status, "text/html; charset=utf-8", page.encode("utf-8"))
            return
        if route == "google_original":
            body = stand_in_service.google_reply(stand_in_service.translate(texts[0]), texts[0])
            ctype = "application/json; charset=UTF-8"
        elif route == "google_current":
            body = stand_in_service.google_current_reply(
                stand_in_service.google_current_segments(texts[0]))
            ctype = "application/json; charset=UTF-8"
        elif route == "microsoft_original":
            body = stand_in_service.microsoft_reply(stand_in_service.translate(texts[0]))
            ctype = "application/xml; charset=utf-8"
        else:
            if texts is None:
                self._send(400, "application/json", b'{"error":{"code":400000}}')
                return
            body = stand_in_service.microsoft_current_reply(
                [stand_in_service.encode_entities(stand_in_service.translate(t)) for t in texts],
                "zh-Hans")
            ctype = "application/json; charset=utf-8"
        self._send(200, ctype, body.encode("utf-8"))


class _Server(stand_in_service._Server):
    def __init__(self, owner, port, context):
        super().__init__(("127.0.0.1", port), _Handler)
        self.owner = owner
        self.context = context
        self.scheme = "https" if context else "http"

    def finish_request(self, request, client_address):
        # In the connection's own thread: a black hole or a slow handshake holds up no other.
        self.owner.count_connection(self.scheme)
        if self.owner.black_hole:
            self.owner.released.wait()
            return
        if self.context is None:
            super().finish_request(request, client_address)
            return
        try:
            connection = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return
        try:
            super().finish_request(connection, client_address)
        finally:
            connection.close()


class RealHostService:
    """The four routes under their real names: port 80 plain, port 443 with the test
    certificate. Modes per route, texts that fail on every route, refusal, black hole."""

    def __init__(self):
        self._lock = threading.Lock()
        self._requests = []
        self.connections = {"http": 0, "https": 0}
        self.modes = dict(TODAY)
        self.failing_texts = set()
        self.black_hole = False
        self.released = threading.Event()
        self._servers = []

    def start(self):
        self.released.clear()
        context = private_net.server_context()
        for port, ctx in ((80, None), (443, context)):
            server = _Server(self, port, ctx)
            thread = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1},
                                      daemon=True)
            thread.start()
            self._servers.append((server, thread))
        return self

    def stop(self):
        """Nothing listens any more: connections are refused."""
        self.released.set()  # black-holed connections end
        for server, thread in self._servers:
            server.shutdown()
            server.server_close()
            thread.join(timeout=5)
        self._servers = []

    def configure(self, modes=None, failing_texts=(), black_hole=False):
        with self._lock:
            self.modes = dict(TODAY, **(modes or {}))
            self.failing_texts = set(failing_texts)
            self.black_hole = black_hole
            self._requests = []
            self.connections = {"http": 0, "https": 0}

    def mode_for(self, route, texts):
        with self._lock:
            if self.failing_texts.intersection(texts):
                return "drop"
            return self.modes[route]

    def record(self, entry):
        with self._lock:
            self._requests.append(entry)

    def count_connection(self, scheme):
        with self._lock:
            self.connections[scheme] += 1

    def requests(self):
        with self._lock:
            return list(self._requests)


# ---- the expected requests ------------------------------------------------------------------

def escaped(text):
    return "".join("%%%02X" % b for b in text.encode("utf-8"))


def google_original_path(text):
    return ("/translate_a/t?client=t&text=" + escaped(text) +
            "&hl=zh-CN&multires=1&otf=1&pc=0&sc=1&sl=auto&tl=zh-CN")


def google_current_path(text):
    return ("/translate_a/single?client=dict-chrome-ex&sl=auto&tl=zh-CN&dt=t&ie=UTF-8&oe=UTF-8"
            "&q=" + escaped(text))


def microsoft_original_path(text):
    return ("/v2/Http.svc/Translate?appId=" + MICROSOFT_APP_ID + "&text=" + escaped(text) +
            "&from=&to=zh-CHS")


MICROSOFT_CURRENT_PATH = "/translate/translatetext?from=&to=zh-Hans&isEnterpriseClient=false"


def header(request, name):
    return next((v for k, v in request["headers"] if k.lower() == name.lower()), None)


def check_request(request, route, text=None):
    """Method, scheme, Host, path and the route's own headers and body of one request."""
    host = ROUTES[route][0]
    where = f"{route} request {request['method']} {request['scheme']}://{request['host']}" \
            f"{request['path']}"
    check(request["route"] == route, f"expected {route}, got {where}")
    check(request["scheme"] == SCHEME[route], f"{where}: not over {SCHEME[route]}")
    check(header(request, "Host") == host, f"{where}: Host {header(request, 'Host')!r}")
    if route == "google_original":
        check(request["method"] == "GET" and request["path"] == google_original_path(text),
              f"{where}: expected GET {google_original_path(text)}")
        names = [k.lower() for k, _ in request["headers"]]
        check(header(request, "Referer") == "http://translate.google.com/",
              f"{where}: Referer {header(request, 'Referer')!r}")
        check(header(request, "User-Agent") == GOOGLE_UA,
              f"{where}: User-Agent {header(request, 'User-Agent')!r}")
        check(names.index("referer") < names.index("user-agent"),
              f"{where}: Referer is not set before User-Agent: {names}")
    elif route == "google_current":
        check(request["method"] == "GET" and request["path"] == google_current_path(text),
              f"{where}: expected GET {google_current_path(text)}")
    elif route == "microsoft_original":
        check(request["method"] == "GET" and request["path"] == microsoft_original_path(text),
              f"{where}: expected GET {microsoft_original_path(text)}")
    else:
        check(request["method"] == "POST" and request["path"] == MICROSOFT_CURRENT_PATH,
              f"{where}: expected POST {MICROSOFT_CURRENT_PATH}")
        check(header(request, "Content-Type") == "application/json",
              f"{where}: Content-Type {header(request, 'Content-Type')!r}")
        try:
            sent = json.loads(request["body"])
        except ValueError:
            raise Failure(f"{where}: the body is not JSON: {request['body']!r}")
        check(isinstance(sent, list) and sent and all(isinstance(s, str) for s in sent),
              f"{where}: the body is not an array of strings: {request['body']!r}")
        wanted = [stand_in_service.encode_entities(t) for t in request["texts"]]
        check(sent == wanted, f"{where}: body {sent!r}, expected {wanted!r}")


def describe(request):
    texts = "|".join(request["texts"] or [])
    return f"{request['method']} {request['scheme']}://{request['host']}{request['path']}" + \
        (f"  body {request['body']}" if request["body"] else "") + f"  [{texts}]"


# ---- one pass ---------------------------------------------------------------------------------

class Session:
    """The sample program and the tool, fresh for each scenario."""

    def __init__(self, env, args, name):
        self.env, self.args = env, args
        self.artifacts = os.path.join(args.artifacts, name)
        os.makedirs(self.artifacts, exist_ok=True)
        self.start_sample()
        self.tool = e2e.Tool(env, args.tool, args.inspector, None)

    def start_sample(self):
        # Only this sample's texts and events are worth printing on a failure.
        e2e.DIAGNOSTICS[:] = [d for d in e2e.DIAGNOSTICS if d[0] == "requests"]
        self.sample = e2e.Sample(self.env, self.args.sample, self.artifacts)
        # A caption with no GBK form is the foreign-window read's own subject (see
        # translate_pass_e2e.py); here every window holds an English text.
        for window in self.sample.state()["windows"]:
            if window["name"] in getattr(e2e, "NOT_GBK", []):
                Inspector(self.env, self.args.inspector).set_text(window["hwnd"], b"Language")
                wait_for("the English caption",
                         lambda: self.sample.texts()[window["name"]] == b"Language", 10)
                self.sample.initial[window["name"]] = b"Language"
        order = self.sample.state()["enumeration"]
        self.asked = [n for n in order if n not in e2e.SKIPPED and n != "caption"] + ["caption"]

    def texts_asked(self):
        return [self.sample.initial[n].decode("gbk") for n in self.asked]

    def run_pass(self, svc, bound=90):
        """F2 over the sample's client area; the final status and the wall time to it."""
        caption = self.sample.rect("caption")
        e2e.click(self.env, *e2e.empty_spot(caption))
        svc.configure(svc.modes, svc.failing_texts, svc.black_hole)  # forget earlier requests
        # The status of an earlier pass must not be taken for this one's end.
        self.tool.inspector.set_text(self.tool.status["handle"], b"-")
        started = time.monotonic()
        e2e.press_f2_over(self.env, *e2e.empty_spot(caption))

        def final():
            text = self.tool.status_text()
            return text if text.startswith("翻译完成".encode("gbk")) or text == FAILED else None

        status = wait_for("the end of the pass", final, bound, interval=0.1)
        wall = time.monotonic() - started
        return status, wall

    def check_translated(self, names):
        texts = self.sample.texts()
        for name in self.asked:
            source = self.sample.initial[name]
            wanted = TRANSLATIONS[source.decode("gbk")].encode("gbk") if name in names else source
            check(texts[name] == wanted, f"{name}: {texts[name].decode('gbk', 'replace')!r}, "
                  f"expected {wanted.decode('gbk')!r}")
        for name in e2e.SKIPPED:
            check(texts[name] == self.sample.initial[name], f"{name} changed")

    def stop(self):
        self.env.stop_all()


def report(label, status, wall, requests):
    print(f"{label}: status {status.decode('gbk', 'replace')}, pass wall time {wall:.2f} s, "
          f"{len(requests)} requests")
    for r in requests:
        print("   ", describe(r))


def microsoft_texts(requests):
    """The texts of the Microsoft current requests, in order, each request checked."""
    texts = []
    for r in requests:
        check_request(r, "microsoft_current")
        texts += r["texts"]
    return texts


# ---- scenarios --------------------------------------------------------------------------------
# A failing check leaves the programs running: the driver takes a screenshot, then ends them.

def scenario_proof(env, args, svc):
    out = os.path.join(args.artifacts, "probe.txt")

    def probe():
        if os.path.exists(out):
            os.remove(out)
        env.run([args.probe, "https://translate.googleapis.com/", e2e.wine_path(out)], timeout=60)
        with open(out, encoding="ascii") as f:
            return f.read().strip()

    with private_net.Bundle.without_test_authority():
        untrusted = probe()
    trusted = probe()
    check(untrusted == "error 12157", f"HTTPS without the test authority: {untrusted}")
    check(trusted == "status 200", f"HTTPS with the test authority: {trusted}")
    print(f"proof: HTTPS probe without the authority: {untrusted}; with it: {trusted}")

    svc.configure({"google_original": "ok"})
    session = Session(env, args, "proof")
    status, wall = session.run_pass(svc)
    requests = svc.requests()
    report("proof pass (the Google original route answering)", status, wall, requests)
    check(requests, "no request reached the stand-in")
    check_request(requests[0], "google_original", session.texts_asked()[0])
    check(all(r["route"] == "google_original" for r in requests),
          "a request went elsewhere than the Google original route")
    check([r["texts"][0] for r in requests] == session.texts_asked(),
          f"texts asked {[r['texts'] for r in requests]}")
    check(status == e2e.FINISHED, f"status {status.decode('gbk', 'replace')}")
    session.check_translated(session.asked)
    session.stop()


def scenario_today(env, args, svc):
    svc.configure()
    session = Session(env, args, "today_google")
    texts = session.texts_asked()
    status, wall = session.run_pass(svc)
    requests = svc.requests()
    report("today, Google engine", status, wall, requests)
    check(len(requests) == len(texts) + 1,
          f"{len(requests)} requests for {len(texts)} texts: expected the Google original once, "
          "then the current route for each text")
    check_request(requests[0], "google_original", texts[0])
    for request, text in zip(requests[1:], texts):
        check_request(request, "google_current", text)
    check(status == e2e.FINISHED, f"status {status.decode('gbk', 'replace')}")
    session.check_translated(session.asked)
    session.stop()

    # The Microsoft engine (a fresh tool, in front of the sample): its original route once
    # (404), then the current one.
    session = Session(env, args, "today_microsoft")
    e2e.focus_microsoft_box(env, session.tool.status["window"])
    env.hold_key("space", 0.05)
    time.sleep(0.5)
    status, wall = session.run_pass(svc)
    requests = svc.requests()
    report("today, Microsoft engine", status, wall, requests)
    check(requests, "no request")
    check_request(requests[0], "microsoft_original", texts[0])
    sent = microsoft_texts(requests[1:])
    check(sent == texts, f"Microsoft current texts {sent!r}, expected {texts!r}")
    check(status == e2e.FINISHED, f"status {status.decode('gbk', 'replace')}")
    session.check_translated(session.asked)
    session.stop()


def scenario_google_down(env, args, svc):
    svc.configure({"google_original": "drop", "google_current": "http500"})
    session = Session(env, args, "google_down")
    # A text with the three characters the JSON body carries as entities.
    special = "Size < 10 & > 2"
    file_window = next(w for w in session.sample.state()["windows"] if w["name"] == "file")
    session.tool.inspector.set_text(file_window["hwnd"], special.encode("gbk"))
    wait_for("the new text", lambda: session.sample.texts()["file"] == special.encode("gbk"), 10)
    session.sample.initial["file"] = special.encode("gbk")
    texts = session.texts_asked()
    status, wall = session.run_pass(svc)
    requests = svc.requests()
    report("Google routes down", status, wall, requests)
    google = [r for r in requests if r["route"] in ("google_original", "google_current")]
    check(len(google) == 2, f"{len(google)} Google requests: expected each route once")
    check_request(google[0], "google_original", texts[0])
    check_request(google[1], "google_current", texts[0])
    microsoft = [r for r in requests if r["route"] == "microsoft_current"]
    check(len(microsoft) + len(google) == len(requests), "a request to another route")
    sent = microsoft_texts(microsoft)
    check(sent == texts, f"Microsoft current texts {sent!r}, expected {texts!r}")
    check(any(stand_in_service.encode_entities(special) in r["body"] for r in microsoft),
          "the text with & < > was not sent with entities")
    check(status == e2e.FINISHED, f"status {status.decode('gbk', 'replace')}")
    session.check_translated(session.asked)
    session.stop()


def _failing_pass(env, args, svc, name, label, bound):
    session = Session(env, args, name)
    status, wall = session.run_pass(svc, bound=bound + 30)
    requests = svc.requests()
    report(label, status, wall, requests)
    print(f"    connections: {svc.connections}")
    check(status == FAILED, f"status {status.decode('gbk', 'replace')}")
    check(wall < bound, f"the pass took {wall:.1f} s, more than {bound} s")
    session.check_translated([])
    session.stop()
    return requests


def scenario_all_down(env, args, svc):
    svc.stop()  # nothing listens
    try:
        _failing_pass(env, args, svc, "all_refused", "every route refused", 20)
    finally:
        svc.start()
    svc.configure({"google_original": "gone", "microsoft_original": "gone",
                   "google_current": "http500", "microsoft_current": "http500"})
    requests = _failing_pass(env, args, svc, "all_errors", "every route answering an error", 20)
    routes = [r["route"] for r in requests]
    check(routes == ["google_original", "google_current", "microsoft_current"],
          f"routes asked {routes}: expected the two Google routes, then Microsoft's current "
          "one, then none (all resting)")


def scenario_black_hole(env, args, svc):
    svc.configure(black_hole=True)
    try:
        _failing_pass(env, args, svc, "black_hole", "every route black-holed", 30)
    finally:
        svc.stop()  # ends the connections held open
        svc.start()
        svc.configure()


def scenario_mixed(env, args, svc):
    svc.configure()
    session = Session(env, args, "mixed")
    # The last two texts asked fail on every route: once the last control's text has made
    # every route rest, the caption cannot be asked anywhere either.
    failing = session.asked[-2:]
    svc.configure(failing_texts=[session.sample.initial[n].decode("gbk") for n in failing])
    status, wall = session.run_pass(svc)
    requests = svc.requests()
    report("mixed", status, wall, requests)
    wanted = "翻译完成，2项未能翻译".encode("gbk")
    check(status == wanted, f"status {status.decode('gbk', 'replace')}, expected "
          f"{wanted.decode('gbk')}")
    session.check_translated([n for n in session.asked if n not in failing])
    session.stop()


SCENARIOS = {"proof": scenario_proof, "today": scenario_today, "google_down": scenario_google_down,
             "all_down": scenario_all_down, "black_hole": scenario_black_hole,
             "mixed": scenario_mixed}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenarios", nargs="+", choices=sorted(SCENARIOS))
    for name in ("tool", "sample", "inspector", "probe", "artifacts"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    os.makedirs(args.artifacts, exist_ok=True)
    private_net.work_dir()  # only inside the private network
    # Ended from outside: still end the programs, the display and the stand-in below.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

    # Xvfb and the prefix of this namespace: display sockets and wineserver are its own.
    os.environ.pop("ZT_DISPLAY", None)
    state = os.path.join(args.artifacts, "wine-env")
    wine_env.setup(state)
    env = wine_env.WineEnv.load(state)
    svc = RealHostService().start()
    e2e.DIAGNOSTICS.append(("requests", lambda: [describe(r) for r in svc.requests()]))
    failed = []
    try:
        for name in args.scenarios:  # each on its own: one failure does not hide the others
            print(f"--- {name}", flush=True)
            try:
                SCENARIOS[name](env, args, svc)
            except Failure as failure:
                failed.append(name)
                print(f"FAILED: {failure}")
                shot = os.path.join(args.artifacts, name + "-failure.png")
                try:
                    env.screenshot(shot)
                    print(f"  screen: {shot}")
                except (OSError, subprocess.CalledProcessError):
                    pass
                for label, probe in e2e.DIAGNOSTICS:
                    try:
                        print(f"  {label}: {probe()!r}")
                    except Exception as error:  # a diagnostic must not hide the failure
                        print(f"  {label}: unavailable ({error})")
            env.stop_all()
    finally:
        env.stop_all()
        svc.stop()
        wine_env.cleanup(state)
    if failed:
        print("failed: " + ", ".join(failed))
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
