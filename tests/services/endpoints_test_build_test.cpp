// The test configuration follows ZELVANE_TEST_SERVICE_HOST and, without it, reaches no real
// host.
#include <gtest/gtest.h>

#include <cstdlib>

#include "services/service_endpoints.h"

namespace {

struct HostCase {
  const char* configured;  // nullptr: unset
  const char* host;
};

class TestEndpointsTest : public ::testing::TestWithParam<HostCase> {};

TEST_P(TestEndpointsTest, BothServicesAreTheStandIn) {
  if (GetParam().configured) {
    setenv("ZELVANE_TEST_SERVICE_HOST", GetParam().configured, 1);
  } else {
    unsetenv("ZELVANE_TEST_SERVICE_HOST");
  }
  const ServiceEndpoints endpoints = CurrentServiceEndpoints();
  EXPECT_EQ(endpoints.google_host, GetParam().host);
  EXPECT_EQ(endpoints.microsoft_host, GetParam().host);
  EXPECT_EQ(endpoints.google_referer, std::string("http://") + GetParam().host + "/");
  EXPECT_EQ(endpoints.serialization_namespace,
            "http://schemas.microsoft.com/2003/10/Serialization/");
}

INSTANTIATE_TEST_SUITE_P(Hosts, TestEndpointsTest,
                         ::testing::Values(HostCase{"127.0.0.1:54321", "127.0.0.1:54321"},
                                           HostCase{nullptr, "127.0.0.1:9"},
                                           HostCase{"", "127.0.0.1:9"}));

}  // namespace
