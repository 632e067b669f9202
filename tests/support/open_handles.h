// How many kernel handles (Windows) or file descriptors (POSIX) the test process holds, so that a
// test can show that a failure path released everything it opened.
#ifndef PINDLE_TESTS_SUPPORT_OPEN_HANDLES_H_
#define PINDLE_TESTS_SUPPORT_OPEN_HANDLES_H_

namespace test_support {

// -1 when the count cannot be taken.
long OpenHandleCount();

}  // namespace test_support

#endif  // PINDLE_TESTS_SUPPORT_OPEN_HANDLES_H_
