// The shipped configuration names the real hosts and ignores the test variable.
#include <gtest/gtest.h>

#include <cstdlib>

#include "services/service_endpoints.h"

TEST(ProductionEndpoints, AreTheRealHostsWhateverTheEnvironment) {
  for (const char* configured : {static_cast<const char*>(nullptr), "127.0.0.1:5000"}) {
    if (configured) {
      setenv("ZELVANE_TEST_SERVICE_HOST", configured, 1);
      setenv("ZELVANE_TEST_DEADLINE_MS", "1500", 1);
    } else {
      unsetenv("ZELVANE_TEST_SERVICE_HOST");
      unsetenv("ZELVANE_TEST_DEADLINE_MS");
    }
    const ServiceEndpoints endpoints = CurrentServiceEndpoints();
    EXPECT_EQ(endpoints.google_host, "translate.google.com");
    EXPECT_EQ(endpoints.google_referer, "http://translate.google.com/");
    EXPECT_EQ(endpoints.microsoft_host, "api.microsofttranslator.com");
    EXPECT_EQ(endpoints.serialization_namespace,
              "http://schemas.microsoft.com/2003/10/Serialization/");
    EXPECT_EQ(endpoints.serialization_namespace.size(), 51u);
    EXPECT_EQ(endpoints.google_current_base, "https://translate.googleapis.com");
    EXPECT_EQ(endpoints.microsoft_current_base, "https://edge.microsoft.com");
    // The bounds of every exchange: a dead service costs 20 s at most, whatever it does.
    EXPECT_EQ(endpoints.limits.resolve_ms, 5000);
    EXPECT_EQ(endpoints.limits.connect_ms, 5000);
    EXPECT_EQ(endpoints.limits.send_ms, 10000);
    EXPECT_EQ(endpoints.limits.receive_ms, 15000);
    EXPECT_EQ(endpoints.limits.deadline_ms, 20000);
  }
}
