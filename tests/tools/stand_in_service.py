#!/usr/bin/env python3
"""A local stand-in for the two translation web services, on 127.0.0.1 only.

It answers
  /translate_a/t           in Google Translate's reply format: [[["<translation>","<source>",...
  /v2/Http.svc/Translate   in Microsoft Translator's:
                           <string xmlns="http://schemas.microsoft.com/2003/10/Serialization/">...
with UTF-8 bodies, from the fixed DICTIONARY; an unknown text gets a marked translation
("译" + text) so a test can tell it from a dictionary one. It records every request.

In-process use:
  svc = StandInService(); svc.start()      listens on a free port; svc.port, svc.host
  svc.set_mode("http500")                  how the next requests fail (see MODES); "slow"
                                           takes delay=SECONDS and sends the headers at once
                                           and the body after the delay (stall="headers":
                                           nothing at all until the delay is over)
  svc.requests()                           [{"path", "headers": [(name, value)...], "service",
                                             "text"}], in arrival order
  svc.clear(); svc.stop()

Command line (for a demo): stand_in_service.py [--port N] [--port-file F] [--log F]
serves until killed and prints the port.
"""
import argparse
import html
import http.server
import json
import signal
import socket
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
}

MARK = "译"

MODES = ("ok", "refuse", "http500", "no_markers", "empty_segment", "slow", "huge", "close_mid")

GOOGLE_PATH = "/translate_a/t"
MICROSOFT_PATH = "/v2/Http.svc/Translate"


def translate(text):
    """The stand-in's translation: the dictionary's entry, else the marked text."""
    if text in DICTIONARY:
        return DICTIONARY[text]
    return MARK + text


def google_escape(text):
    """JSON string escaping the way Google writes it (angle brackets as \\u003c, \\u003e)."""
    escaped = json.dumps(text, ensure_ascii=False)[1:-1]
    return escaped.replace("<", "\\u003c").replace(">", "\\u003e")


def google_reply(translation, source):
    return '[[["%s","%s",null,null,1]],null,"en"]' % (google_escape(translation),
                                                      google_escape(source))


def microsoft_reply(translation):
    return '<string xmlns="%s">%s</string>' % (NAMESPACE, html.escape(translation, quote=False))


ERROR_PAGE = ("<!DOCTYPE html><html><head><title>500 Internal Server Error</title></head>"
              "<body><h1>Internal Server Error</h1><p>The server could not complete the "
              "request.</p></body></html>")


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "StandIn/1.0"

    def log_message(self, fmt, *args):  # quiet; the service keeps its own log
        pass

    def do_GET(self):
        service = self.server.owner
        parsed = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True, encoding="utf-8",
                                      errors="replace")
        text = query.get("text", [""])[0]
        if parsed.path == GOOGLE_PATH:
            kind = "google"
        elif parsed.path == MICROSOFT_PATH:
            kind = "microsoft"
        else:
            kind = None
        service._record({"path": self.path, "headers": list(self.headers.items()),
                         "service": kind, "text": text})
        if kind is None:
            self._send(404, "text/plain; charset=utf-8", b"not found")
            return
        mode, params = service._current_mode()
        if mode == "http500":
            self._send(500, "text/html; charset=utf-8", ERROR_PAGE.encode("utf-8"))
            return
        if mode == "slow" and params.get("stall") == "headers":
            time.sleep(float(params.get("delay", 20)))
        translation = translate(text)
        if mode == "huge":
            size = int(params.get("size", 6 * 1024 * 1024))
            translation = (translation * (size // max(1, len(translation.encode("utf-8"))) + 1))
        if mode == "empty_segment":
            translation = ""
        if kind == "google":
            body = google_reply(translation, text)
            ctype = "application/json; charset=UTF-8"
            if mode == "no_markers":
                body = '{"error":{"code":400,"message":"Invalid request"}}'
        else:
            body = microsoft_reply(translation)
            ctype = "application/xml; charset=utf-8"
            if mode == "no_markers":
                body = ("<html><body><h1>Argument Exception</h1><p>Method: Translate()"
                        "</p></body></html>")
                ctype = "text/html; charset=utf-8"
        data = body.encode("utf-8")
        if mode == "close_mid":
            # Promise the whole body, send it up to the middle of the translation, hang up.
            if kind == "google":
                head = '[[["' + google_escape(translation[:len(translation) // 2])
            else:
                head = '<string xmlns="%s">%s' % (
                    NAMESPACE, html.escape(translation[:len(translation) // 2], quote=False))
            self.send_response(200)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(head.encode("utf-8"))
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
        self._send(200, ctype, data)

    def _send(self, status, ctype, data, delay=0.0):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if delay:
            self.wfile.flush()
            time.sleep(delay)
        self.wfile.write(data)


class _Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    block_on_close = False  # a slow reply in progress must not hold up stop()

    def handle_error(self, request, client_address):
        # A client that gave up (a time-out, a closed connection) is part of the tests.
        pass
    allow_reuse_address = True


class StandInService:
    def __init__(self, port=0, log_path=None):
        self._wanted_port = port
        self.port = None
        self._lock = threading.Lock()
        self._requests = []
        self._mode = ("ok", {})
        self._server = None
        self._thread = None
        self._log_path = log_path

    @property
    def host(self):
        return "127.0.0.1:%d" % self.port

    # ---- listening ----------------------------------------------------
    def start(self):
        self._listen(self._wanted_port)
        return self

    def _listen(self, port):
        self._server = _Server(("127.0.0.1", port), _Handler)
        self._server.owner = self
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever,
                                        kwargs={"poll_interval": 0.1}, daemon=True)
        self._thread.start()

    def _close(self):
        if self._server is not None:
            self._server.shutdown()
            self._server.server_close()
            self._thread.join(timeout=5)
            self._server = None
            self._thread = None

    def stop(self):
        with self._lock:
            self._close()

    # ---- modes and records --------------------------------------------
    def set_mode(self, mode, **params):
        if mode not in MODES:
            raise ValueError("unknown mode %r" % mode)
        with self._lock:
            self._mode = (mode, dict(params))
            if mode == "refuse":
                self._close()  # nothing listens: connections are refused
            elif self._server is None and self.port is not None:
                self._listen(self.port)

    def _current_mode(self):
        with self._lock:
            return self._mode

    def _record(self, entry):
        with self._lock:
            self._requests.append(entry)
        if self._log_path:
            with open(self._log_path, "a", encoding="utf-8") as log:
                log.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def requests(self):
        with self._lock:
            return [dict(r, headers=list(r["headers"])) for r in self._requests]

    def clear(self):
        with self._lock:
            self._requests = []


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    args = parser.parse_args(argv)
    # Killed by a demo script: stop listening cleanly on SIGTERM as on Ctrl+C.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    svc = StandInService(port=args.port, log_path=args.log).start()
    if args.port_file:
        with open(args.port_file, "w", encoding="ascii") as f:
            f.write("%d\n" % svc.port)
    print(svc.port, flush=True)
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
