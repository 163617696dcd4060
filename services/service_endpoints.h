// Where the service routes send their requests. Chosen at link time: the shipped executable
// links zt_endpoints_production (the real hosts, fixed), test executables link
// zt_endpoints_test (the stand-in service named by ZELVANE_TEST_SERVICE_HOST).
#pragma once

#include "services/http_exchange.h"
#include "text/ansi_text.h"

struct ServiceEndpoints {
  AnsiText google_host;             // host[:port] of the original route, plain HTTP
  AnsiText google_referer;          // root page of the Google host
  AnsiText microsoft_host;          // host[:port] of the original route, plain HTTP
  AnsiText serialization_namespace; // namespace URI of the Microsoft reply's root element
  AnsiText google_current_base;     // scheme://host[:port] of Google's current route
  AnsiText microsoft_current_base;  // scheme://host[:port] of Microsoft's current route
  ExchangeLimits limits;            // bounds of every exchange
};

ServiceEndpoints CurrentServiceEndpoints();
