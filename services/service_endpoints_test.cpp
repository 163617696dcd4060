// The test configuration: every route goes to the stand-in service at
// ZELVANE_TEST_SERVICE_HOST ("127.0.0.1:PORT") over plain HTTP. Unset or empty, requests go to
// a refused loopback port, so a test build never reaches a real host.
// ZELVANE_TEST_DEADLINE_MS, when set, shortens every bound of an exchange to that many ms.
#include <cstdlib>

#include "services/real_service_hosts.h"
#include "services/service_endpoints.h"

namespace {
constexpr char kNowhere[] = "127.0.0.1:9";
}

ServiceEndpoints CurrentServiceEndpoints() {
  const char* configured = std::getenv("ZELVANE_TEST_SERVICE_HOST");
  const AnsiText host = (configured != nullptr && *configured != '\0') ? configured : kNowhere;
  ServiceEndpoints endpoints;
  endpoints.google_host = host;
  endpoints.google_referer = "http://" + host + "/";
  endpoints.microsoft_host = host;
  endpoints.serialization_namespace = real_hosts::kSerializationNamespace;
  endpoints.google_current_base = "http://" + host;
  endpoints.microsoft_current_base = "http://" + host;
  if (const char* deadline = std::getenv("ZELVANE_TEST_DEADLINE_MS")) {
    const long ms = std::strtol(deadline, nullptr, 10);
    if (ms > 0 && ms < 600000) {
      const auto bound = static_cast<std::int32_t>(ms);
      endpoints.limits = ExchangeLimits{bound, bound, bound, bound, bound};
    }
  }
  return endpoints;
}
