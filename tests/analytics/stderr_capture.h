// Captures what the analytics code writes to std::cerr while it is in scope. Only for tests
// that run the code under test on their own thread.
#ifndef TESTS_ANALYTICS_STDERR_CAPTURE_H_
#define TESTS_ANALYTICS_STDERR_CAPTURE_H_

#include <iostream>
#include <sstream>
#include <string>

class StderrCapture {
 public:
  StderrCapture() : saved_(std::cerr.rdbuf(buffer_.rdbuf())) {}
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;
  ~StderrCapture() { std::cerr.rdbuf(saved_); }
  std::string text() const { return buffer_.str(); }

 private:
  std::ostringstream buffer_;
  std::streambuf* saved_;
};

#endif  // TESTS_ANALYTICS_STDERR_CAPTURE_H_
