#include "runtime/at_exit.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace base {
namespace {

std::vector<std::string>* g_calls = nullptr;

void Record(void* name) {
  g_calls->push_back(static_cast<const char*>(name));
}

void RegisterAnother(void*) {
  g_calls->push_back("registering");
  AtExitManager::RegisterCallback(&Record, const_cast<char*>("registered during exit"));
}

TEST(AtExitManagerTest, RunsCallbacksLastInFirstOutWhenDestroyed) {
  std::vector<std::string> calls;
  g_calls = &calls;
  {
    AtExitManager manager;
    AtExitManager::RegisterCallback(&Record, const_cast<char*>("config reader"));
    AtExitManager::RegisterCallback(&Record, const_cast<char*>("file_thread"));
    AtExitManager::RegisterCallback(&RegisterAnother, nullptr);
    AtExitManager::RegisterCallback(&Record, const_cast<char*>("log_thread"));
  }
  EXPECT_EQ(
      (std::vector<std::string>{"log_thread", "registering", "registered during exit", "file_thread", "config reader"}),
      calls);
  g_calls = nullptr;
}

TEST(AtExitManagerTest, ProcessCallbacksNowRunsEachOnce) {
  std::vector<std::string> calls;
  g_calls = &calls;
  AtExitManager manager;
  AtExitManager::RegisterCallback(&Record, const_cast<char*>("a"));
  AtExitManager::ProcessCallbacksNow();
  AtExitManager::ProcessCallbacksNow();
  EXPECT_EQ(std::vector<std::string>{"a"}, calls);
  g_calls = nullptr;
}

TEST(AtExitManagerTest, RegisteringWithoutAManagerIsRefused) {
  EXPECT_FALSE(AtExitManager::RegisterCallback(&Record, nullptr));
  AtExitManager::ProcessCallbacksNow();  // nothing to do, no crash
}

}  // namespace
}  // namespace base
