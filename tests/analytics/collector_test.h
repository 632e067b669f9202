// A test fixture with one collector for the whole suite, cleared and answering 200 before
// each test. Suites derive from it and reach the collector as collector_.
#ifndef TESTS_ANALYTICS_COLLECTOR_TEST_H_
#define TESTS_ANALYTICS_COLLECTOR_TEST_H_

#include <gtest/gtest.h>

#include "collector_process.h"

class CollectorTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    collector_ = new CollectorProcess;
    ASSERT_TRUE(collector_->Start());
  }
  static void TearDownTestSuite() {
    delete collector_;
    collector_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(collector_ && collector_->running());
    ASSERT_TRUE(collector_->Reset());
    ASSERT_TRUE(collector_->SetMode("200"));
  }

  static inline CollectorProcess* collector_ = nullptr;
};

#endif  // TESTS_ANALYTICS_COLLECTOR_TEST_H_
