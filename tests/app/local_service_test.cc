// Which addresses may replace a deployment value through the environment: only services on this
// machine, exactly spelled.
#include "app/local_service.h"

#include <gtest/gtest.h>

#include "tests/support/environment.h"

namespace app {
namespace {

TEST(LocalService, OnlyALocalServiceMayReplaceTheDeploymentHost) {
  struct Case {
    const char* host;
    bool local;
  } const cases[] = {
      {"http://127.0.0.1:18080", true},
      {"https://127.0.0.1", true},
      {"http://localhost:9/", true},
      {"http://127.0.0.1.evil.example", false},
      {"http://localhost@evil.example", false},
      {"http://127.0.0.1:80/path", false},
      {"ftp://127.0.0.1", false},
      {"http://10.0.0.1:80", false},
      {"", false},
      {"http://127.0.0.1:", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLocalServiceHost(c.host), c.local) << c.host;
}

TEST(LocalService, TheEnvironmentValueCountsOnlyWhenItIsLocal) {
  SetEnv("PINDLE_TEST_SERVICE", nullptr);
  EXPECT_EQ(LocalServiceOr("PINDLE_TEST_SERVICE", "http://deployed.example"), "http://deployed.example");
  SetEnv("PINDLE_TEST_SERVICE", "http://collector.evil.example");
  EXPECT_EQ(LocalServiceOr("PINDLE_TEST_SERVICE", "http://deployed.example"), "http://deployed.example");
  SetEnv("PINDLE_TEST_SERVICE", "http://127.0.0.1:4321");
  EXPECT_EQ(LocalServiceOr("PINDLE_TEST_SERVICE", "http://deployed.example"), "http://127.0.0.1:4321");
  SetEnv("PINDLE_TEST_SERVICE", nullptr);
}

}  // namespace
}  // namespace app
