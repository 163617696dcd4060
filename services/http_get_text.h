// The HTTP GET of the original routes, through the bounded exchange (ExchangeOverWinHttp) with
// the bounds of the linked endpoints. COM must be initialised on the calling thread.
#pragma once

#include "services/http_exchange.h"

// The body of the reply in code page 936 (characters it lacks as '?'), whatever the HTTP
// status; empty when the exchange fails (no object, refused connection, deadline, broken
// reply).
AnsiText HttpGetText(const AnsiText& url, const RequestHeaders& headers);
