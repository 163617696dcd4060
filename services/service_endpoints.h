// Where the two service clients send their requests. Chosen at link time: the shipped
// executable links zt_endpoints_production (the real hosts, fixed), test executables link
// zt_endpoints_test (the stand-in service named by ZELVANE_TEST_SERVICE_HOST).
#pragma once

#include "text/ansi_text.h"

struct ServiceEndpoints {
  AnsiText google_host;             // host[:port], reached over plain HTTP
  AnsiText google_referer;          // root page of the Google host
  AnsiText microsoft_host;          // host[:port]
  AnsiText serialization_namespace; // namespace URI of the Microsoft reply's root element
};

ServiceEndpoints CurrentServiceEndpoints();
