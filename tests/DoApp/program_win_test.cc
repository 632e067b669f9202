// PindleDownloader.exe itself under Wine: start-up lines in the log, exit codes, the
// single-instance handshake. The program opens its main window and keeps it open until someone
// closes it, so these runs close the window as a person would (WM_CLOSE) once it is there.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/started_program_win.h"

namespace {

const wchar_t kProgram[] = PINDLE_PROGRAM_PATH;

std::wstring LogFolder() {
  wchar_t local[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE);
  return std::wstring(local) + L"\\Pindle\\PindleDownloader";
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void RemoveLogs() {
  for (const wchar_t* name : {L"\\PindleDownloaderLog0.log", L"\\PindleDownloaderLog1.log"})
    DeleteFileW((LogFolder() + name).c_str());
}

// Runs the program with `arguments`, closes its main window once it shows, and returns its exit
// code: -1 when it did not end in time, -2 when it could not start. A program that ends by
// itself (a second copy) returns its own code.
int RunProgram(const std::wstring& arguments, const wchar_t* environment = nullptr) {
  StartedProgram program(kProgram, arguments, environment);
  if (!program.started()) return -2;
  if (HWND window = program.WaitForWindow()) PostMessageW(window, WM_CLOSE, 0, 0);
  return program.Wait(30000);
}

TEST(Program, StartsLogsAndEndsWhenItsWindowCloses) {
  RemoveLogs();
  EXPECT_EQ(1, RunProgram(L""));
  const std::string log = ReadFile(LogFolder() + L"\\PindleDownloaderLog0.log");
  EXPECT_NE(std::string::npos, log.find(" ###########################################\n")) << log;
  EXPECT_NE(std::string::npos, log.find(" downloader start:OS language:")) << log;
  EXPECT_EQ(std::string::npos, log.find("Param Path:")) << "debug-only line without debug:\n" << log;
  EXPECT_EQ(std::string::npos, log.find("DoApp.cpp(")) << "no source suffix without debug:\n" << log;
}

TEST(Program, DebugSwitchesAddTheDebugLines) {
  RemoveLogs();
  EXPECT_EQ(1, RunProgram(L"\"-installpath:C:\\My Games\\Vesk\" -debug"));
  std::string log = ReadFile(LogFolder() + L"\\PindleDownloaderLog0.log");
  EXPECT_NE(std::string::npos, log.find("###########################################\tDoApp.cpp(102)\n")) << log;
  EXPECT_NE(std::string::npos, log.find("Param Path:C:\\My Games\\Vesk\tDoApp.cpp(282)\n")) << log;
  // The version line ends with the program's own file version.
  EXPECT_NE(std::string::npos, log.find(PINDLE_PROGRAM_VERSION "\tDoApp.cpp(279)\n")) << log;

  // The environment variable switches debug on too.
  RemoveLogs();
  const wchar_t environment[] = L"DravelDebug9527=1\0SystemRoot=C:\\windows\0\0";
  EXPECT_EQ(1, RunProgram(L"", environment));
  log = ReadFile(LogFolder() + L"\\PindleDownloaderLog0.log");
  EXPECT_NE(std::string::npos, log.find("\tDoApp.cpp(279)\n")) << log;
}

// A window carrying the single-instance marker, as a running copy has.
class MarkerWindow {
 public:
  explicit MarkerWindow(LONG_PTR user_data) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &MarkerWindow::Proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"PindleDownloaderWindow";
    RegisterClassExW(&window_class);
    hwnd_ = CreateWindowExW(0, L"PindleDownloaderWindow", L"2907A16F9AC14024BC6D4DDA369011CD", WS_POPUP, 0, 0, 1, 1,
                            HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, user_data);
    activations_ = 0;
  }
  ~MarkerWindow() {
    DestroyWindow(hwnd_);
    UnregisterClassW(L"PindleDownloaderWindow", GetModuleHandleW(nullptr));
  }
  HWND hwnd() const { return hwnd_; }
  static int activations() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return activations_;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == 70157) ++activations_;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  HWND hwnd_;
  static int activations_;
};
int MarkerWindow::activations_ = 0;

TEST(Program, SecondCopyWakesTheFirstAndExitsAtOnce) {
  MarkerWindow running(0x6F9E139A);
  ASSERT_NE(nullptr, running.hwnd());
  RemoveLogs();
  EXPECT_EQ(0, RunProgram(L"-debug"));
  EXPECT_EQ(1, MarkerWindow::activations());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((LogFolder() + L"\\PindleDownloaderLog0.log").c_str()))
      << "a second copy writes no log";
}

// A second copy started while the first one runs restores the first one's minimised window.
TEST(Program, SecondCopyRestoresTheMinimisedWindow) {
  StartedProgram first(kProgram, L"");
  ASSERT_TRUE(first.started());
  HWND window = first.WaitForWindow();
  ASSERT_NE(nullptr, window);
  ShowWindow(window, SW_MINIMIZE);
  for (int i = 0; i < 50 && !IsIconic(window); ++i) Sleep(100);
  ASSERT_TRUE(IsIconic(window));
  StartedProgram second(kProgram, L"");
  EXPECT_EQ(0, second.Wait(30000)) << "the second copy wakes the first and ends";
  for (int i = 0; i < 50 && IsIconic(window); ++i) Sleep(100);
  EXPECT_FALSE(IsIconic(window));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(1, first.Wait(30000));
}

// The embedded prompt documents carry the configured help page; the other embedded files are there.
TEST(Program, EmbedsItsResources) {
  HMODULE program = LoadLibraryExW(kProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, program);
  for (const wchar_t* name : {L"PROMPTINFO", L"ENGPROMPTINFO", L"KRPROMPTINFO", L"JPPROMPTINFO", L"VNPROMPTINFO",
                              L"THPROMPTINFO", L"IDPROMPTINFO", L"TWPROMPTINFO"}) {
    HRSRC resource = FindResourceW(program, name, L"XML");
    ASSERT_NE(nullptr, resource);
    const char* data = static_cast<const char*>(LockResource(LoadResource(program, resource)));
    const std::string text(data, SizeofResource(program, resource));
    EXPECT_NE(std::string::npos, text.find("\r\nFAQUrl=\"" PINDLE_HELP_URL "\"\r\n")) << "in the document";
  }
  EXPECT_NE(nullptr, FindResourceW(program, L"CUSTOM_SETTING", L"XML"));
  for (const wchar_t* name : {L"UN7ZA", L"OPENGLTOOL32", L"OPENGLTOOL64"})
    EXPECT_NE(nullptr, FindResourceW(program, name, L"APP"));
  EXPECT_NE(nullptr, FindResourceW(program, MAKEINTRESOURCEW(128), RT_GROUP_ICON));
  FreeLibrary(program);
}

TEST(Program, WindowWithoutTheMagicValueIsNotACopy) {
  MarkerWindow other(0x1234);
  EXPECT_EQ(1, RunProgram(L""));
  EXPECT_EQ(0, MarkerWindow::activations());
}

}  // namespace
