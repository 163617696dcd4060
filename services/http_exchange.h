// One HTTP exchange as the service routes see it: a method, a URL, ordered request headers and
// a body in; whether an answer came, its status and its body out. The Win32 adapter runs it
// through the WinHttp request object; native tests pass a recording fake.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/ansi_text.h"

struct RequestHeader {
  AnsiText name;
  AnsiText value;
};

using RequestHeaders = std::vector<RequestHeader>;

enum class HttpMethod { kGet, kPost };

struct HttpRequest {
  HttpMethod method = HttpMethod::kGet;
  AnsiText url;            // ASCII: every text in it is percent-encoded
  RequestHeaders headers;  // set in this order
  std::string body;        // UTF-8 bytes, sent as they are (POST only)
};

struct HttpReply {
  bool answered = false;  // a status line and the whole body came back before the deadline
  int status = 0;         // the HTTP status when answered
  std::string body;       // the body decoded by the request object, as UTF-8
};

// Bounds of one exchange, in milliseconds. The four time-outs are the request object's own
// (resolve, connect, send, receive); `deadline` bounds the whole exchange from open to the last
// byte, also for a server that accepts and never sends its headers.
struct ExchangeLimits {
  std::int32_t resolve_ms = 5000;
  std::int32_t connect_ms = 5000;
  std::int32_t send_ms = 10000;
  std::int32_t receive_ms = 15000;
  std::int32_t deadline_ms = 20000;
};

using HttpExchange = std::function<HttpReply(const HttpRequest&, const ExchangeLimits&)>;

// The GET of the original routes as a plain getter: URL and headers in, body out (empty on any
// failure). Kept for the clients' original shape.
using HttpGetter = std::function<AnsiText(const AnsiText& url, const RequestHeaders& headers)>;
