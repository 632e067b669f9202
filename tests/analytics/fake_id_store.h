// A distinct-id store in memory that counts its calls and can refuse writes.
#ifndef TESTS_ANALYTICS_FAKE_ID_STORE_H_
#define TESTS_ANALYTICS_FAKE_ID_STORE_H_

#include <memory>
#include <string>

#include "analytics/distinct_id.h"

struct FakeIdState {
  bool has_value = false;
  std::wstring value;
  bool writable = true;
  int reads = 0;
  int writes = 0;
};

// Works on a state the test keeps, so the test can look at it after handing the store over.
class FakeIdStore : public event_analytics::DistinctIdStore {
 public:
  explicit FakeIdStore(FakeIdState* state) : state_(state) {}
  bool Read(std::wstring* id) override {
    ++state_->reads;
    if (!state_->has_value) return false;
    *id = state_->value;
    return true;
  }
  bool Write(const std::wstring& id) override {
    ++state_->writes;
    if (!state_->writable) return false;
    state_->value = id;
    state_->has_value = true;
    return true;
  }

 private:
  FakeIdState* state_;
};

inline std::unique_ptr<event_analytics::DistinctIdStore> NewFakeIdStore(FakeIdState* state) {
  return std::unique_ptr<event_analytics::DistinctIdStore>(new FakeIdStore(state));
}

#endif  // TESTS_ANALYTICS_FAKE_ID_STORE_H_
