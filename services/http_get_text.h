// The synchronous HTTP GET of both service clients, through the Windows HTTP Services request
// object. COM must be initialised on the calling thread.
#pragma once

#include "services/http_exchange.h"

// The body of the reply in the process ANSI code page, whatever the HTTP status; empty when
// the exchange fails (no object, refused connection, time-out, broken reply).
AnsiText HttpGetText(const AnsiText& url, const RequestHeaders& headers);
