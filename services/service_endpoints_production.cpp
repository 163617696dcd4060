// The shipped configuration: the real hosts, read from nothing but the code.
#include "services/real_service_hosts.h"
#include "services/service_endpoints.h"

ServiceEndpoints CurrentServiceEndpoints() {
  return {real_hosts::kGoogleHost, real_hosts::kGoogleReferer, real_hosts::kMicrosoftHost,
          real_hosts::kSerializationNamespace};
}
