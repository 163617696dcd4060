// The shipped configuration: the real hosts and the production bounds, read from nothing but
// the code.
#include "services/real_service_hosts.h"
#include "services/service_endpoints.h"

ServiceEndpoints CurrentServiceEndpoints() {
  ServiceEndpoints endpoints;
  endpoints.google_host = real_hosts::kGoogleHost;
  endpoints.google_referer = real_hosts::kGoogleReferer;
  endpoints.microsoft_host = real_hosts::kMicrosoftHost;
  endpoints.serialization_namespace = real_hosts::kSerializationNamespace;
  endpoints.google_current_base = real_hosts::kGoogleCurrentBase;
  endpoints.microsoft_current_base = real_hosts::kMicrosoftCurrentBase;
  endpoints.limits = ExchangeLimits{};  // 5 s, 5 s, 10 s, 15 s; 20 s for the whole exchange
  return endpoints;
}
