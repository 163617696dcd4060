// The HTTP exchange over the Windows HTTP Services request object (WinHttp.WinHttpRequest.5.1),
// driven by member name through IDispatch. COM must be initialised on the calling thread.
#pragma once

#include "services/http_exchange.h"

// Runs one exchange, bounded as a whole by `limits.deadline_ms` from open to the last byte of
// the body: a server that accepts and never answers costs the deadline, no more. The URL and
// header texts are code page 936; the body goes out as its exact bytes (POST only) and the
// reply's text comes back as UTF-8. Every failure (no object, refused connection, deadline,
// broken reply) is `answered == false`; it never throws.
HttpReply ExchangeOverWinHttp(const HttpRequest& request, const ExchangeLimits& limits);
