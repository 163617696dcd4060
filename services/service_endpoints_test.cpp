// The test configuration: both services are the stand-in service at
// ZELVANE_TEST_SERVICE_HOST ("127.0.0.1:PORT"). Unset or empty, requests go to a refused
// loopback port, so a test build never reaches a real host.
#include <cstdlib>

#include "services/real_service_hosts.h"
#include "services/service_endpoints.h"

namespace {
constexpr char kNowhere[] = "127.0.0.1:9";
}

ServiceEndpoints CurrentServiceEndpoints() {
  const char* configured = std::getenv("ZELVANE_TEST_SERVICE_HOST");
  const AnsiText host = (configured != nullptr && *configured != '\0') ? configured : kNowhere;
  return {host, "http://" + host + "/", host, real_hosts::kSerializationNamespace};
}
