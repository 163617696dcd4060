// The shipped configuration names the real hosts and ignores the test variable.
#include <gtest/gtest.h>

#include <cstdlib>

#include "services/service_endpoints.h"

TEST(ProductionEndpoints, AreTheRealHostsWhateverTheEnvironment) {
  for (const char* configured : {static_cast<const char*>(nullptr), "127.0.0.1:5000"}) {
    if (configured) {
      setenv("ZELVANE_TEST_SERVICE_HOST", configured, 1);
    } else {
      unsetenv("ZELVANE_TEST_SERVICE_HOST");
    }
    const ServiceEndpoints endpoints = CurrentServiceEndpoints();
    EXPECT_EQ(endpoints.google_host, "translate.google.com");
    EXPECT_EQ(endpoints.google_referer, "http://translate.google.com/");
    EXPECT_EQ(endpoints.microsoft_host, "api.microsofttranslator.com");
    EXPECT_EQ(endpoints.serialization_namespace,
              "http://schemas.microsoft.com/2003/10/Serialization/");
    EXPECT_EQ(endpoints.serialization_namespace.size(), 51u);
  }
}
