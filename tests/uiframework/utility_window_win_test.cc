// The hidden utility window under Wine: the single-instance marker is in place while the main
// window is being built, GDI+ runs for the hosted windows, and everything stops when it goes.
#include "uiframework/utility_window.h"

#include <gtest/gtest.h>

#include "uiframework/gdi_resource.h"

namespace {

const wchar_t kClass[] = L"PindleUtilityWindowTest";

struct Seen {
  bool copy_found = false;
  int gdiplus_count = 0;
  int activations = 0;
  bool fail = false;
};
Seen g_seen;

class MainHost : public IMainWindowHost {
 public:
  bool Create(HWND) override {
    // What a second copy started now would do: find the marker.
    g_seen.copy_found = NotifyRunningCopy(kClass);
    g_seen.gdiplus_count = GetGDIResource().gdiplus_start_count();
    return !g_seen.fail;
  }
  void Activate() override { ++g_seen.activations; }
  void OnPathEditClosed() override {}
};

std::unique_ptr<IMainWindowHost> MakeHost() {
  return std::make_unique<MainHost>();
}

TEST(UtilityWindow, MarkerAndGdiplusAreReadyBeforeTheMainWindowIsBuilt) {
  g_seen = Seen();
  SetMainWindowHostFactory(&MakeHost);
  {
    CUtilityWindow window;
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr), kClass));
    EXPECT_TRUE(g_seen.copy_found);
    EXPECT_GE(g_seen.gdiplus_count, 1);
    // The activation the lookup posted reaches the main window.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(1, g_seen.activations);
    window.Destroy();
    EXPECT_EQ(0, GetGDIResource().gdiplus_start_count());
    EXPECT_FALSE(NotifyRunningCopy(kClass));
  }
}

TEST(UtilityWindow, FailingMainWindowFailsCreationAndStopsGdiplus) {
  g_seen = Seen();
  g_seen.fail = true;
  SetMainWindowHostFactory(&MakeHost);
  CUtilityWindow window;
  EXPECT_FALSE(window.Create(GetModuleHandleW(nullptr), kClass));
  EXPECT_EQ(nullptr, window.hwnd());
  EXPECT_EQ(0, GetGDIResource().gdiplus_start_count());
  EXPECT_FALSE(NotifyRunningCopy(kClass));
}

}  // namespace
