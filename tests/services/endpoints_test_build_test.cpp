// The test configuration follows ZELVANE_TEST_SERVICE_HOST and, without it, reaches no real
// host; ZELVANE_TEST_DEADLINE_MS shortens the bounds, and anything but a sane number of
// milliseconds leaves the production ones.
#include <gtest/gtest.h>

#include <cstdint>
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

struct DeadlineCase {
  const char* configured;  // nullptr: unset
  std::int32_t bound;      // every bound; 0: the production bounds
};

class TestDeadlineTest : public ::testing::TestWithParam<DeadlineCase> {};

TEST_P(TestDeadlineTest, ShortensEveryBoundOrNone) {
  setenv("ZELVANE_TEST_SERVICE_HOST", "127.0.0.1:54321", 1);
  if (GetParam().configured) {
    setenv("ZELVANE_TEST_DEADLINE_MS", GetParam().configured, 1);
  } else {
    unsetenv("ZELVANE_TEST_DEADLINE_MS");
  }
  const ExchangeLimits limits = CurrentServiceEndpoints().limits;
  unsetenv("ZELVANE_TEST_DEADLINE_MS");
  const std::int32_t b = GetParam().bound;
  const ExchangeLimits expected =
      b ? ExchangeLimits{b, b, b, b, b} : ExchangeLimits{5000, 5000, 10000, 15000, 20000};
  EXPECT_EQ(limits.resolve_ms, expected.resolve_ms);
  EXPECT_EQ(limits.connect_ms, expected.connect_ms);
  EXPECT_EQ(limits.send_ms, expected.send_ms);
  EXPECT_EQ(limits.receive_ms, expected.receive_ms);
  EXPECT_EQ(limits.deadline_ms, expected.deadline_ms);
}

INSTANTIATE_TEST_SUITE_P(Deadlines, TestDeadlineTest,
                         ::testing::Values(DeadlineCase{nullptr, 0}, DeadlineCase{"1500", 1500},
                                           DeadlineCase{"1", 1}, DeadlineCase{"599999", 599999},
                                           DeadlineCase{"600000", 0}, DeadlineCase{"0", 0},
                                           DeadlineCase{"-1500", 0}, DeadlineCase{"", 0},
                                           DeadlineCase{"soon", 0}));

}  // namespace
