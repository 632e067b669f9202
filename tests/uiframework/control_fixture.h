// The fixture of the control tests: a main window of 652 x 412 whose elements report to a
// recording owner and take their image sizes from named fakes.
#ifndef PINDLE_TESTS_UIFRAMEWORK_CONTROL_FIXTURE_H_
#define PINDLE_TESTS_UIFRAMEWORK_CONTROL_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/layout_document.h"

class ControlFixture : public testing::Test {
 protected:
  // The window holding `body`, placed once; the recorded events start empty. The element `id`.
  CBaseElementCtl* Build(const std::string& body, const wchar_t* id) {
    std::string error;
    EXPECT_TRUE(window_.Load("<window width=\"652\" height=\"412\">" + body + "</window>", &error)) << error;
    window_.Resize(652, 412);
    owner_.events.clear();
    return window_.FindElement(id);
  }

  RecordingOwner owner_;
  FakeImages images_;
  CLayoutWindow window_{WindowKind::kMain, &owner_, &images_};
};

#endif  // PINDLE_TESTS_UIFRAMEWORK_CONTROL_FIXTURE_H_
