#!/usr/bin/env python3
"""A local stand-in for the two translation web services.

Routes (UTF-8 bodies; the "service" each request is recorded under in brackets):
  GET  /translate_a/t            [google]  Google's original route:
                                 [[["<translation>","<source>",null,null,1]],null,"en"]
  GET  /v2/Http.svc/Translate    [microsoft]  Microsoft's original route:
                                 <string xmlns="http://schemas.microsoft.com/2003/10/
                                 Serialization/">...</string>
  GET  /translate_a/single?client=dict-chrome-ex&sl=SL&tl=TL&dt=t&ie=UTF-8&oe=UTF-8&q=TEXT
                                 [google_current]  Google's current route:
                                 [[["你好。","Hello. ",null,null,10],["世界。","World.",null,null,10]],
                                  null,"en"]
                                 one segment per sentence (see sentences()); the first elements
                                 of the segments concatenate to the whole translation.
  POST /translate/translatetext?from=FROM&to=TO&isEnterpriseClient=false
                                 [microsoft_current]  Microsoft's current route: the body is a
                                 JSON array of strings; the reply is one object per string, in
                                 order: [{"detectedLanguage":{"language":"en","score":1},
                                          "translations":[{"text":"...","to":"TO"}]}, ...]
                                 The client sends "&", "<", ">" as &amp; &lt; &gt;: they are
                                 decoded before translating and encoded again in the reply.
Anything else is a 404.

Translation: a text in the fixed DICTIONARY gets its entry; any other gets a marked translation
("译" + text) so a test can tell it from a dictionary one (translate()). Google's current route
translates sentence by sentence (translate_sentence(): "Hello." gives "你好。" when "Hello" is in
the dictionary, and an unknown sentence is marked with its spacing kept).

In-process use:
  svc = StandInService(); svc.start()      listens on 127.0.0.1, a free port; svc.port, svc.host
  StandInService(port=80, tls_port=443, cert=PEM, key=PEM, bind="127.0.0.1").start()
                                           plain HTTP on one port and HTTPS on another at once,
                                           one record and one mode for both; svc.tls_port
  svc.set_mode(MODE, **params)             every route answers in MODE (see MODES); this also
                                           drops the modes set per route
  svc.set_mode(MODE, service=S, **params)  only the route(s) S ("google", "microsoft",
                                           "google_current", "microsoft_current", or a tuple
                                           such as GOOGLE_ROUTES) answer in MODE
  svc.set_reply_delay(SECONDS)             every answer waits this long first (benchmarks)
  svc.requests()                           [{"method", "path" (with query), "headers":
                                             [(name, value)...] in order, "body" (bytes),
                                             "service", "text", "texts"}] in arrival order;
                                           "text" is the one text of a GET route (for the POST
                                           route, its only string, else None), "texts" the
                                           list of texts as sent (entities not decoded)
  svc.clear(); svc.stop()

Modes and their parameters:
  ok               answers as the service does
  refuse           nothing listens (every route; the ports are kept for the next mode)
  http500 / http403 / http404
                   that status with an HTML page (403 and 404: the services' own error pages)
  no_markers       200 with a body in the wrong shape; empty_segment: an empty translation
  slow             delay=SECONDS (20): headers at once, the body after the delay;
                   stall="headers": nothing at all until the delay is over
  slow_body        delay=SECONDS (20): headers and the first half of the body at once, the rest
                   after the delay
  black_hole       reads the request and never answers, not even headers, until the service
                   is stopped or its mode is set again (then it hangs up)
  huge             a translation of about size=BYTES (6 MB)
  close_mid        promises the whole body, sends part of it and hangs up

Command line (for a demo or a private network):
  stand_in_service.py [--port N] [--bind ADDR] [--port-file F] [--log F]
                      [--tls-port N --cert F --key F] [--mode MODE]
serves until killed and prints the port (and the TLS port on a second line; both also go to
the port file).
"""
import argparse
import html
import http.server
import json
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse

NAMESPACE = "http://schemas.microsoft.com/2003/10/Serialization/"

# Plain dict on purpose: other drivers add their own entries.
DICTIONARY = {
    "OK": "确定",
    "Cancel": "取消",
    "File": "文件",
    "Edit": "编辑",
    "Help": "帮助",
    "Open": "打开",
    "Save": "保存",
    "Exit": "退出",
    "Close": "关闭",
    "Yes": "是",
    "No": "否",
    "Hello": "你好",
    "Hi": "你好",
    "World": "世界",
    "Open File": "打开文件",
}

MARK = "译"

MODES = ("ok", "refuse", "http500", "http403", "http404", "no_markers", "empty_segment",
         "slow", "slow_body", "black_hole", "huge", "close_mid")

GOOGLE_PATH = "/translate_a/t"
MICROSOFT_PATH = "/v2/Http.svc/Translate"
GOOGLE_CURRENT_PATH = "/translate_a/single"
MICROSOFT_CURRENT_PATH = "/translate/translatetext"

ROUTES = {  # path: (service, method)
    GOOGLE_PATH: ("google", "GET"),
    MICROSOFT_PATH: ("microsoft", "GET"),
    GOOGLE_CURRENT_PATH: ("google_current", "GET"),
    MICROSOFT_CURRENT_PATH: ("microsoft_current", "POST"),
}
SERVICES = tuple(service for service, _ in ROUTES.values())
ORIGINAL_ROUTES = ("google", "microsoft")
CURRENT_ROUTES = ("google_current", "microsoft_current")
GOOGLE_ROUTES = ("google", "google_current")
MICROSOFT_ROUTES = ("microsoft", "microsoft_current")


def translate(text):
    """The stand-in's translation: the dictionary's entry, else the marked text."""
    if text in DICTIONARY:
        return DICTIONARY[text]
    return MARK + text


def sentences(text):
    """The text cut after every ". " (the separator stays with the sentence before it)."""
    parts = []
    start = 0
    while True:
        cut = text.find(". ", start)
        if cut < 0:
            break
        end = cut + 2
        while end < len(text) and text[end] == " ":
            end += 1
        parts.append(text[start:end])
        start = end
    if start < len(text) or not parts:
        parts.append(text[start:])
    return parts


def translate_sentence(sentence):
    """One sentence as Google's current route translates it: the dictionary entry of the
    sentence without its trailing spaces (and without a final ".", which becomes "。"); an
    unknown sentence is marked and keeps its spacing, so that marked sentences concatenate to
    the marked text."""
    core = sentence.rstrip(" ")
    if core in DICTIONARY:
        return DICTIONARY[core]
    if core.endswith(".") and core[:-1] in DICTIONARY:
        return DICTIONARY[core[:-1]] + "。"
    return MARK + sentence


def google_current_segments(text):
    """[(translation, source)] of Google's current route for one text."""
    return [(translate_sentence(s), s) for s in sentences(text)]


def google_escape(text):
    """JSON string escaping the way Google writes it (angle brackets as \\u003c, \\u003e)."""
    escaped = json.dumps(text, ensure_ascii=False)[1:-1]
    return escaped.replace("<", "\\u003c").replace(">", "\\u003e")


def google_reply(translation, source):
    return '[[["%s","%s",null,null,1]],null,"en"]' % (google_escape(translation),
                                                      google_escape(source))


def google_current_reply(segments):
    parts = ['["%s","%s",null,null,10]' % (google_escape(t), google_escape(s))
             for t, s in segments]
    return '[[%s],null,"en"]' % ",".join(parts)


def microsoft_reply(translation):
    return '<string xmlns="%s">%s</string>' % (NAMESPACE, html.escape(translation, quote=False))


def decode_entities(text):
    """&amp; &lt; &gt; back to characters (&amp; last, so "&amp;lt;" stays "&lt;")."""
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&")


def encode_entities(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def microsoft_current_reply(translations, to):
    return json.dumps([{"detectedLanguage": {"language": "en", "score": 1},
                        "translations": [{"text": t, "to": to}]} for t in translations],
                      ensure_ascii=False, separators=(",", ":"))


ERROR_PAGE = ("<!DOCTYPE html><html><head><title>500 Internal Server Error</title></head>"
              "<body><h1>Internal Server Error</h1><p>The server could not complete the "
              "request.</p></body></html>")
FORBIDDEN_PAGE = ("<!DOCTYPE html><html lang=en><meta charset=utf-8><title>Error 403 "
                  "(Forbidden)!!1</title><p><b>403.</b> <ins>That's an error.</ins><p>Your "
                  "client does not have permission to get URL <code>/translate_a/t</code> from "
                  "this server. <ins>That's all we know.</ins></html>")
NOT_FOUND_PAGE = ("<!DOCTYPE html><html><head><title>404 - File or directory not found."
                  "</title></head><body><h2>404 - File or directory not found.</h2><h3>The "
                  "resource you are looking for might have been removed, had its name changed, "
                  "or is temporarily unavailable.</h3></body></html>")
STATUS_PAGES = {"http500": (500, ERROR_PAGE), "http403": (403, FORBIDDEN_PAGE),
                "http404": (404, NOT_FOUND_PAGE)}


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "StandIn/1.0"
    # Headers and body go out in separate writes: with Nagle's algorithm and the client's
    # delayed acknowledgement, every reply on a kept-open connection would wait 40 ms.
    disable_nagle_algorithm = True

    def log_message(self, fmt, *args):  # quiet; the service keeps its own log
        pass

    def setup(self):
        if isinstance(self.request, ssl.SSLSocket):
            # The handshake in this connection's own thread, bounded, so that a client that
            # never completes it holds up nothing else.
            self.request.settimeout(10)
            try:
                self.request.do_handshake()
            finally:
                self.request.settimeout(None)
        super().setup()

    def do_GET(self):
        self._handle("GET")

    def do_POST(self):
        self._handle("POST")

    def _read_body(self):
        # The client writes its headers and its body separately, and waits with the body for
        # the acknowledgement of the headers (Nagle's algorithm on its side). Acknowledge at
        # once rather than after the delayed-ACK time-out (40 ms per request).
        if hasattr(socket, "TCP_QUICKACK"):
            try:
                self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
            except OSError:
                pass
        length = self.headers.get("Content-Length")
        if length is None:
            return b""
        try:
            size = int(length)
        except ValueError:
            return b""
        return self.rfile.read(max(0, min(size, 64 * 1024 * 1024)))

    def _handle(self, method):
        service = self.server.owner
        body = self._read_body() if method == "POST" else b""
        parsed = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True, encoding="utf-8",
                                      errors="replace")
        kind, route_method = ROUTES.get(parsed.path, (None, None))
        if route_method != method:
            kind = None
        text, texts = "", None
        if kind in ("google", "microsoft"):
            text = query.get("text", [""])[0]
            texts = [text]
        elif kind == "google_current":
            text = query.get("q", [""])[0]
            texts = [text]
        elif kind == "microsoft_current":
            texts = _string_list(body)
            text = texts[0] if texts is not None and len(texts) == 1 else None
        service._record({"method": method, "path": self.path,
                         "headers": list(self.headers.items()), "body": body,
                         "service": kind, "text": text, "texts": texts})
        if kind is None:
            self._send(404, "text/plain; charset=utf-8", b"not found")
            return
        mode, params = service._mode_for(kind)
        delay = service._reply_delay()
        if delay:
            time.sleep(delay)
        if mode == "black_hole":
            service._wait_for_release()
            self.close_connection = True
            return
        if mode in STATUS_PAGES:
            status, page = STATUS_PAGES[mode]
            self._send(status, "text/html; charset=utf-8", page.encode("utf-8"))
            return
        if kind == "microsoft_current" and texts is None:
            self._send(400, "application/json; charset=utf-8",
                       b'{"error":{"code":400074,"message":"The body of the request is not '
                       b'valid JSON."}}')
            return
        if mode == "slow" and params.get("stall") == "headers":
            time.sleep(float(params.get("delay", 20)))
        ctype, data, head = self._reply(kind, mode, params, text, texts, query)
        if mode == "close_mid":
            # Promise the whole body, send it up to the middle of the translation, hang up.
            self.send_response(200)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(head)
            self.wfile.flush()
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            return
        if mode == "slow" and params.get("stall") != "headers":
            # The status line and headers at once, the body only after the delay.
            self._send(200, ctype, data, delay=float(params.get("delay", 20)))
            return
        if mode == "slow_body":
            self._send(200, ctype, data, delay=float(params.get("delay", 20)),
                       split=len(data) // 2)
            return
        self._send(200, ctype, data)

    def _reply(self, kind, mode, params, text, texts, query):
        """(content type, body bytes, the bytes close_mid sends before hanging up)."""
        def translated(source, per_sentence=False):
            if mode == "empty_segment":
                return [("", source)]
            if per_sentence:
                segments = google_current_segments(source)
            else:
                segments = [(translate(source), source)]
            if mode == "huge":
                size = int(params.get("size", 6 * 1024 * 1024))
                segments = [(t * (size // max(1, len(t.encode("utf-8")) * len(segments)) + 1),
                             s) for t, s in segments]
            return segments

        if kind == "google":
            (translation, _), = translated(text)
            body = google_reply(translation, text)
            head = '[[["' + google_escape(translation[:len(translation) // 2])
            ctype = "application/json; charset=UTF-8"
            if mode == "no_markers":
                body = '{"error":{"code":400,"message":"Invalid request"}}'
        elif kind == "microsoft":
            (translation, _), = translated(text)
            body = microsoft_reply(translation)
            head = '<string xmlns="%s">%s' % (
                NAMESPACE, html.escape(translation[:len(translation) // 2], quote=False))
            ctype = "application/xml; charset=utf-8"
            if mode == "no_markers":
                body = ("<html><body><h1>Argument Exception</h1><p>Method: Translate()"
                        "</p></body></html>")
                ctype = "text/html; charset=utf-8"
        elif kind == "google_current":
            body = google_current_reply(translated(text, per_sentence=True))
            head = None
            ctype = "application/json; charset=UTF-8"
            if mode == "no_markers":
                body = '{"error":{"code":400,"message":"Invalid request"}}'
        else:
            to = query.get("to", [""])[0]
            outs = ["".join(t for t, _ in translated(decode_entities(s))) for s in texts]
            body = microsoft_current_reply([encode_entities(t) for t in outs], to)
            head = None
            ctype = "application/json; charset=utf-8"
            if mode == "no_markers":
                body = ('{"error":{"code":400036,"message":"The target language is not '
                        'valid."}}')
        data = body.encode("utf-8")
        return ctype, data, (head.encode("utf-8") if head is not None else data[:len(data) // 2])

    def _send(self, status, ctype, data, delay=0.0, split=0):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if delay:
            self.wfile.write(data[:split])
            self.wfile.flush()
            time.sleep(delay)
            data = data[split:]
        self.wfile.write(data)


def _string_list(body):
    """The JSON array of strings of a POST body, else None."""
    try:
        value = json.loads(body.decode("utf-8"))
    except (UnicodeDecodeError, ValueError):
        return None
    if not isinstance(value, list) or not all(isinstance(v, str) for v in value):
        return None
    return value


class _Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    block_on_close = False  # a slow reply in progress must not hold up stop()
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # A client that gave up (a time-out, a closed connection) is part of the tests.
        pass


class _TlsServer(_Server):
    def __init__(self, address, handler, context):
        self.context = context
        super().__init__(address, handler)

    def get_request(self):
        sock, address = super().get_request()
        # The handshake happens in the connection's thread (see _Handler.setup).
        return self.context.wrap_socket(sock, server_side=True,
                                        do_handshake_on_connect=False), address


class StandInService:
    def __init__(self, port=0, log_path=None, bind="127.0.0.1", tls_port=None, cert=None,
                 key=None):
        if tls_port is not None and not (cert and key):
            raise ValueError("HTTPS needs a certificate and a key")
        self._bind = bind
        self._wanted_port = port
        self._wanted_tls_port = tls_port
        self._cert, self._key = cert, key
        self.port = None
        self.tls_port = None
        self._lock = threading.Lock()
        self._requests = []
        self._mode = ("ok", {})
        self._route_modes = {}
        self._delay = 0.0
        self._release = threading.Event()
        self._servers = []  # [(server, thread)]
        self._log_path = log_path

    @property
    def host(self):
        return "%s:%d" % (self._bind, self.port)

    # ---- listening ----------------------------------------------------
    def start(self):
        self._listen()
        return self

    def _listen(self):
        server = _Server((self._bind, self.port or self._wanted_port), _Handler)
        servers = [server]
        self.port = server.server_address[1]
        if self._wanted_tls_port is not None:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(self._cert, self._key)
            tls = _TlsServer((self._bind, self.tls_port or self._wanted_tls_port), _Handler,
                             context)
            self.tls_port = tls.server_address[1]
            servers.append(tls)
        for s in servers:
            s.owner = self
            thread = threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.1},
                                      daemon=True)
            thread.start()
            self._servers.append((s, thread))

    def _close(self):
        for server, thread in self._servers:
            server.shutdown()
            server.server_close()
            thread.join(timeout=5)
        self._servers = []

    def stop(self):
        self._release.set()
        with self._lock:
            self._close()

    # ---- modes and records --------------------------------------------
    def set_mode(self, mode, service=None, **params):
        if mode not in MODES:
            raise ValueError("unknown mode %r" % mode)
        services = (service,) if isinstance(service, str) else service
        if services is not None:
            unknown = [s for s in services if s not in SERVICES]
            if unknown:
                raise ValueError("unknown service %r" % unknown)
            if mode == "refuse":
                raise ValueError("refuse closes every route; set it without a service")
        # Connections held by a black hole hang up now.
        self._release.set()
        with self._lock:
            self._release = threading.Event()
            if services is None:
                self._mode = (mode, dict(params))
                self._route_modes = {}
            else:
                for s in services:
                    self._route_modes[s] = (mode, dict(params))
            if mode == "refuse":
                self._close()  # nothing listens: connections are refused
            elif not self._servers and self.port is not None:
                self._listen()

    def set_reply_delay(self, seconds):
        with self._lock:
            self._delay = float(seconds)

    def _mode_for(self, service):
        with self._lock:
            return self._route_modes.get(service, self._mode)

    def _current_mode(self):
        with self._lock:
            return self._mode

    def _reply_delay(self):
        with self._lock:
            return self._delay

    def _wait_for_release(self):
        with self._lock:
            release = self._release
        release.wait()

    def _record(self, entry):
        with self._lock:
            self._requests.append(entry)
        if self._log_path:
            logged = dict(entry, body=entry["body"].decode("utf-8", errors="backslashreplace"))
            with open(self._log_path, "a", encoding="utf-8") as log:
                log.write(json.dumps(logged, ensure_ascii=False) + "\n")

    def requests(self):
        with self._lock:
            return [dict(r, headers=list(r["headers"]),
                         texts=list(r["texts"]) if r["texts"] is not None else None)
                    for r in self._requests]

    def clear(self):
        with self._lock:
            self._requests = []


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    parser.add_argument("--tls-port", type=int)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--mode", choices=MODES, default="ok")
    args = parser.parse_args(argv)
    if args.tls_port is not None and not (args.cert and args.key):
        parser.error("--tls-port needs --cert and --key")
    # Killed by a demo script: stop listening cleanly on SIGTERM as on Ctrl+C.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    svc = StandInService(port=args.port, log_path=args.log, bind=args.bind,
                         tls_port=args.tls_port, cert=args.cert, key=args.key).start()
    svc.set_mode(args.mode)
    ports = "%d\n" % svc.port + ("%d\n" % svc.tls_port if svc.tls_port is not None else "")
    if args.port_file:
        with open(args.port_file, "w", encoding="ascii") as f:
            f.write(ports)
    print(ports, end="", flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass
    finally:
        svc.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
