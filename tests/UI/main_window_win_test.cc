// The install steps through the real main window under Wine, with the outcomes a person sees:
// the program's own resources, worker threads and UI loop set up as its entry sets them up, the
// package (one small one per case, built with the tree) downloaded from the fault server, the
// events read back from the collector, and every click sent as real input on the test display.
// The restart question answers through a counting stand-in: nothing here restarts the machine.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "UI/installer_services.h"
#include "UI/main_window.h"
#include "UI/popup_dialog.h"
#include "analytics/analytics_reporter.h"
#include "app/global.h"
#include "app/language.h"
#include "app/prompt_texts.h"
#include "app/startup.h"
#include "app/worker_threads.h"
#include "collector_process.h"
#include "download/info_answer.h"
#include "fake_id_store.h"
#include "fault_server.h"
#include "log/log_assist.h"
#include "real_input_win.h"
#include "runtime/at_exit.h"
#include "runtime/message_loop.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"
#include "install_readback_win.h"
#include "scratch_folder.h"
#include "system/file_version.h"
#include "system/os_version.h"
#include "system/process_lookup.h"
#include "system/registry.h"
#include "runtime/scoped_handle_win.h"
#include "uiframework/button.h"
#include "uiframework/layout_document.h"
#include "uiframework/utility_window.h"

namespace {

namespace fs = std::filesystem;
using test_support::Is64BitWindows;
using test_support::ReadRunRecord;
using test_support::ReadShortcut;
using test_support::ShortcutFacts;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

// The popup layout's size (resources/layouts/*CANNOTDOWN.xml): how a popup is told apart from
// the main window among the process's windows.
constexpr int kPopupWidth = 492;
constexpr int kPopupHeight = 244;
// The mirror installer's limit in these runs, instead of the program's 30 minutes.
constexpr int kMirrorLimitMs = 1500;
// How long one outcome (a download, the steps, a popup) may take before the case fails.
constexpr int kStepTimeoutMs = 60000;

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kCompatKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

// The test packages, as the build made them (tests/UI/make_install_package.cmake).
std::string HostPackagePath(const std::string& name) {
  return std::string(PINDLE_INSTALL_TEST_PACKAGE) + "/" + name + ".7z";
}
std::string PackageMd5(const std::string& name) {
  std::string md5 = test_support::ReadFile(fs::path("Z:" + HostPackagePath(name) + ".md5"));
  return md5.substr(0, 32);
}
uint64_t PackageSize(const std::string& name) {
  return fs::file_size(fs::path("Z:" + HostPackagePath(name)));
}

std::wstring Registry(HKEY root, const std::wstring& key, const std::wstring& value) {
  std::wstring text;
  if (!RegReadString(root, key, value, &text)) return L"<missing>";
  return text;
}

std::wstring DesktopFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// Whether every visible window above `hwnd` in the z-order is a topmost one or one it owns (a
// popup). Wine places a window that asks to be topmost above every other window but, while a
// topmost window it owns exists (its tooltip), does not mark it WS_EX_TOPMOST; Windows does both.
bool OnlyTopmostWindowsAbove(HWND hwnd) {
  for (HWND above = GetTopWindow(nullptr); above && above != hwnd; above = GetWindow(above, GW_HWNDNEXT)) {
    if (!IsWindowVisible(above) || GetWindow(above, GW_OWNER) == hwnd) continue;
    if (!(GetWindowLongW(above, GWL_EXSTYLE) & WS_EX_TOPMOST)) return false;
  }
  return true;
}

// A click where a person would make it: the pointer moves there, then the button goes down and
// up, with the pauses a hand leaves. (Under Wine a press that follows the move too closely can
// reach the window before the move does.)
void ClickAt(POINT point) {
  real_input::MoveTo(point.x, point.y);
  Sleep(500);
  real_input::Button(true);
  Sleep(80);
  real_input::Button(false);
  Sleep(150);
}

// Everything the program's entry does before its application run, once for the process: the
// edition, the built-in settings, the language (English), its prompt texts, the identifiers,
// the folders and the log, and the program's own version.
class ProgramEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    at_exit_.reset(new base::AtExitManager);
    app::CGlobal& global = app::Global();
    global.international_edition = true;
    global.channel = "en";
    ASSERT_TRUE(app::ReadCustomSettings());
    app::Process().instance = GetModuleHandleW(nullptr);
    app::Process().taskbar_button_created = RegisterWindowMessageW(L"TaskbarButtonCreated");
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    global.language = "lan_en";
    app::ChooseLanguageAtStartup();
    app::WritePromptTextFile(&global);
    app::StoreDeviceIdAndToken();
    app::PrepareFolders();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    global.downloader_version = base::WideToAnsi(GetFileVersionText(self));
    started_ = global;
  }
  void TearDown() override {
    simlog::LogAssist::GetInstance().StopThread();
    at_exit_.reset();
  }
  // The shared state as the entry left it; each run starts from it.
  static const app::CGlobal& started() { return started_; }

 private:
  std::unique_ptr<base::AtExitManager> at_exit_;
  static app::CGlobal started_;
};
app::CGlobal ProgramEnvironment::started_;
testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new ProgramEnvironment);

class CountingRestart : public installer::RestartSeam {
 public:
  void Restart() override { ++count; }
  std::atomic<int> count{0};
};

// What a popup shows: its kind and its message.
struct PopupFacts {
  HWND hwnd = nullptr;
  int kind = -1;
  std::wstring text;
};

void RunClosure(std::function<void()> run) {
  run();
}

// One run of the program: its reporter (a reporter's shutdown after an installation is final),
// its restart stand-in, its thread with the UI loop, and the window while it lives.
struct ProgramRun {
  AnalyticsReporter reporter;
  FakeIdState id;
  CountingRestart restarts;
  std::thread thread;
  std::atomic<bool> ended{false};
  std::mutex loop_lock;
  base::MessageLoop* ui_loop = nullptr;  // guarded by loop_lock: null once the loop has ended
  CWebGameWindowEx* window = nullptr;    // UI thread only
};

ProgramRun* g_run = nullptr;  // the run whose utility window is being made

class TestHost : public IMainWindowHost {
 public:
  explicit TestHost(ProgramRun* run) : run_(run) {}
  ~TestHost() override { run_->window = nullptr; }
  bool Create(HWND) override {
    window_.reset(new CWebGameWindowEx(&app::Global()));
    window_->set_restart_seam(&run_->restarts);
    window_->set_switch_display_mode(false);
    window_->set_reporter(&run_->reporter);
    window_->set_mirror_time_limit_ms(kMirrorLimitMs);
    run_->window = window_.get();
    return window_->Create();
  }
  void Activate() override { window_->Activate(); }
  void OnPathEditClosed() override { window_->OnPathEditClosed(); }

 private:
  ProgramRun* run_;
  std::unique_ptr<CWebGameWindowEx> window_;
};

std::unique_ptr<IMainWindowHost> MakeHost() {
  return std::unique_ptr<IMainWindowHost>(new TestHost(g_run));
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    install_ = scratch_.path() / "Dravel" / "Pindle";
    data_ = scratch_.path() / "data";
    software_ = Is64BitWindows() ? L"SOFTWARE\\Wow6432Node\\" : L"SOFTWARE\\";
    main_program_ = install_.wstring() + L"\\bin\\Pindle.exe";
    ASSERT_TRUE(collector_.Start());
    ASSERT_TRUE(server_.Start());
    SetMainWindowHostFactory(&MakeHost);
    PrepareRun();
  }

  void TearDown() override {
    EndProgram();
    RemoveProductTraces();
  }

  // A machine without the product and the shared state as the entry left it, installing into
  // the scratch folder.
  void PrepareRun() {
    EndProgram();
    app::Global() = ProgramEnvironment::started();
    app::Global().install_folder = install_.wstring();
    app::Global().product_data_folder = data_.wstring();
    // A class of its own for the utility window, which marks a running installer: the program
    // that other tests start beside this one must not take this test for its first copy.
    app::Global().utility_window_class += L"Test";
    shortcut_ = DesktopFolder() + L"\\" + app::Global().desktop_shortcut_name;
    RemoveProductTraces();
    test_support::RemoveTree(install_);
    test_support::RemoveTree(data_);
    fs::create_directories(data_);
    ASSERT_TRUE(collector_.Reset());
  }

  // The traces of an installation that the cases read back.
  void RemoveProductTraces() {
    const std::wstring product = app::Global().product_name;
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (software_ + L"Pindle\\SetupInfo").c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE,
                    (software_ + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product).c_str(), KEY_WOW64_64KEY,
                    0);
    RegDeleteValue(HKEY_CURRENT_USER, kRunKey, product);
    RegDeleteValue(HKEY_CURRENT_USER, kCompatKey, main_program_);
    if (!shortcut_.empty()) DeleteFileW(shortcut_.c_str());
  }

  // Serves `package` and runs the program on a thread of its own as its entry's application run
  // does (the worker threads, the UI loop, the utility window that hosts the main window), then
  // waits until the window takes the install click. `md5`: the package digest the shared state
  // holds ("-md5:").
  void StartProgram(const std::string& package, const std::string& md5) {
    ASSERT_TRUE(server_.Script("{\"file\": \"" + HostPackagePath(package) + "\"}"));
    download::SetDownloadInfoHost(server_.Base());  // asked only without a package URL
    app::CGlobal& global = app::Global();
    global.package_url = server_.PackageUrl();
    global.package_size = std::to_string(PackageSize(package));
    global.package_md5 = md5;

    run_.reset(new ProgramRun);
    run_->id.has_value = true;
    run_->id.value = L"5f3a1c77-9e0d-4b2a-8c1d-0e9f8a7b";
    run_->reporter.SetCollector("http://127.0.0.1:" + std::to_string(collector_.port()));
    run_->reporter.SetStagingFile(base::WideToUtf8((scratch_.path() / "staging_file").wstring()));
    run_->reporter.SetIdStore(NewFakeIdStore(&run_->id));
    g_run = run_.get();
    ProgramRun* run = run_.get();
    run_->thread = std::thread([run] { RunProgram(run); });
    // Ready once the start sequence has enabled the install button.
    ASSERT_TRUE(WaitOnUi(
        [this] {
          auto* install = dynamic_cast<CButtonCtl*>(run_->window->FindElement(L"id_install"));
          return install && install->IsEnabled();
        },
        kStepTimeoutMs))
        << "the main window did not become ready";
  }

  static void RunProgram(ProgramRun* run) {
    app::StartWorkerThreads();
    base::MessageLoop ui_loop(base::MessageLoop::TYPE_UI);
    ui_loop.set_thread_name("ui_thread");
    base::SetThreadLoop(base::kUiLoop, &ui_loop);
    {
      std::lock_guard<std::mutex> hold(run->loop_lock);
      run->ui_loop = &ui_loop;
    }
    CUtilityWindow utility_window;
    if (utility_window.Create(GetModuleHandleW(nullptr), app::Global().utility_window_class)) {
      ui_loop.Run();
      utility_window.Destroy();
    }
    {
      std::lock_guard<std::mutex> hold(run->loop_lock);
      run->ui_loop = nullptr;
    }
    app::StopWorkerThreads();
    run->ended = true;
  }

  bool ProgramEnded() const { return !run_ || run_->ended; }

  // Waits for the program to end by itself (its window closed); false after `timeout_ms`.
  bool WaitForProgramEnd(int timeout_ms = kStepTimeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!ProgramEnded()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      Sleep(20);
    }
    if (run_->thread.joinable()) run_->thread.join();
    return true;
  }

  // Ends a program that a failed case left running: its popups and its window are closed.
  void EndProgram() {
    if (!run_) return;
    for (int i = 0; i < 1000 && !run_->ended; ++i) {
      for (HWND popup : ProcessPopups()) PostMessageW(popup, WM_CLOSE, 0, 0);
      if (HWND main = static_cast<HWND>(app::Global().flow_window)) PostMessageW(main, WM_CLOSE, 0, 0);
      Sleep(20);
    }
    if (run_->thread.joinable()) run_->thread.join();
    run_.reset();
  }

  // Runs `run` with the window on the UI loop and waits for it; false when the loop did not get
  // to it (the program has ended) within `timeout_ms`. `run` may hold the fixture, never the
  // caller's locals: what it finds goes through shared state.
  bool OnUi(std::function<void(CWebGameWindowEx*)> run, int timeout_ms = 10000) {
    struct Call {
      std::mutex lock;
      std::condition_variable ran;
      bool done = false;
    };
    if (!run_) return false;
    auto call = std::make_shared<Call>();
    ProgramRun* program = run_.get();
    {
      std::lock_guard<std::mutex> hold(program->loop_lock);
      if (!program->ui_loop) return false;
      program->ui_loop->PostTask(base::NewFunctionTask(&RunClosure, std::function<void()>([program, call, run] {
        if (program->window && program->window->hwnd()) run(program->window);
        std::lock_guard<std::mutex> done(call->lock);
        call->done = true;
        call->ran.notify_all();
      })));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    std::unique_lock<std::mutex> wait(call->lock);
    while (!call->done) {
      if (program->ended || std::chrono::steady_clock::now() > deadline) return false;
      call->ran.wait_for(wait, std::chrono::milliseconds(20));
    }
    return true;
  }

  // Asks `ready` on the UI loop until it holds; false after `timeout_ms` or once the program ended.
  bool WaitOnUi(std::function<bool(CWebGameWindowEx*)> ready, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    auto held = std::make_shared<std::atomic<bool>>(false);
    while (std::chrono::steady_clock::now() < deadline) {
      // Before the UI loop runs, and while it is busy, the question waits.
      if (!OnUi([held, ready](CWebGameWindowEx* window) { *held = ready(window); }) && ProgramEnded()) return false;
      if (*held) return true;
      Sleep(10);
    }
    return false;
  }
  bool WaitOnUi(std::function<bool()> ready, int timeout_ms) {
    return WaitOnUi([ready](CWebGameWindowEx*) { return ready(); }, timeout_ms);
  }

  // A real click on the centre of the main window's visible element `id`.
  void ClickElement(const wchar_t* id) {
    auto point = std::make_shared<POINT>(POINT{-1, -1});
    const std::wstring name = id;
    OnUi([point, name](CWebGameWindowEx* window) {
      CBaseElementCtl* element = window->FindElement(name);
      if (!element || !element->IsVisible()) return;
      const UiRect rect = element->GetRect();
      *point = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
      ClientToScreen(window->hwnd(), point.get());
    });
    ASSERT_GE(point->x, 0) << "no visible " << base::WideToAnsi(name);
    ClickAt(*point);
  }

  // The visible top-level windows of this process with the popup layout's size.
  static std::vector<HWND> ProcessPopups() {
    std::vector<HWND> popups;
    EnumWindows(&CollectPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
  }
  static BOOL CALLBACK CollectPopup(HWND hwnd, LPARAM popups) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    RECT rect = {};
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rect) &&
        rect.right - rect.left == kPopupWidth && rect.bottom - rect.top == kPopupHeight) {
      reinterpret_cast<std::vector<HWND>*>(popups)->push_back(hwnd);
    }
    return TRUE;
  }

  // Waits for the one popup and reads what it shows. Its pixels are a layered window's, so the
  // kind and the message come from the popup's own elements, read on the UI loop.
  PopupFacts WaitForPopup() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStepTimeoutMs);
    std::vector<HWND> popups;
    while ((popups = ProcessPopups()).empty() && !ProgramEnded() && std::chrono::steady_clock::now() < deadline) {
      Sleep(20);
    }
    auto facts = std::make_shared<PopupFacts>();
    EXPECT_EQ(popups.size(), 1u) << "popups on the screen; " << Describe();
    if (popups.size() != 1) return *facts;
    facts->hwnd = popups[0];
    OnUi([facts](CWebGameWindowEx*) {
      auto* popup =
          dynamic_cast<CUIUpDate*>(reinterpret_cast<CUpdateWindowBase*>(GetWindowLongPtrW(facts->hwnd, GWLP_USERDATA)));
      if (!popup) return;
      facts->kind = popup->kind();
      if (CBaseElementCtl* tip = popup->FindElement(L"id_static_tip2")) facts->text = tip->GetText();
    });
    return *facts;
  }

  // A real click on the popup's button `id`, where the popup layout of the language puts it.
  void ClickPopupButton(const PopupFacts& popup, const wchar_t* id) {
    ASSERT_NE(popup.hwnd, nullptr);
    const std::wstring name = app::LanguageForIndex(app::Global().language_index).cannot_down_layout;
    HRSRC resource = FindResourceW(nullptr, name.c_str(), L"XML");
    ASSERT_NE(resource, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    CLayoutWindow layout(WindowKind::kPopup, nullptr, nullptr);
    std::string error;
    ASSERT_TRUE(layout.Load(std::string(bytes, SizeofResource(nullptr, resource)), &error)) << error;
    layout.Resize(kPopupWidth, kPopupHeight);
    CBaseElementCtl* button = layout.FindElement(id);
    ASSERT_NE(button, nullptr);
    const UiRect rect = button->GetRect();
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(popup.hwnd, &point);
    ClickAt(point);
  }

  // Waits for the complete panel; `events` receives what the collector had when the UI loop
  // first saw the panel.
  bool WaitForCompletePanel(std::vector<std::string>* events) {
    auto seen = std::make_shared<std::vector<std::string>>();
    const bool shown = WaitOnUi(
        [this, seen](CWebGameWindowEx* window) {
          if (!window->IsVisible(L"id_panel_complete")) return false;
          *seen = Events();
          return true;
        },
        kStepTimeoutMs);
    *events = *seen;
    if (!shown) ADD_FAILURE() << "no complete panel; " << Describe();
    return shown;
  }

  // What the window and the collector show, for a failure's message.
  std::string Describe() {
    auto shows = std::make_shared<std::string>("the window is gone");
    OnUi([shows](CWebGameWindowEx* window) {
      *shows = "stage " + std::to_string(window->flow().stage()) + ", visible:";
      for (const wchar_t* id : {L"id_panel_main", L"id_panel_userdef", L"id_panel_download", L"id_static_installing",
                                L"id_panel_complete"}) {
        if (window->IsVisible(id)) *shows += " " + base::WideToAnsi(id);
      }
    });
    std::string events;
    for (const std::string& event : Events()) events += " " + event;
    return *shows + "; " + std::to_string(ProcessPopups().size()) + " popups; events:" + events;
  }

  // The window at completion: the complete panel alone, 652 x 412, above other windows.
  void ExpectCompleteLook() {
    auto facts = std::make_shared<std::vector<int>>();
    OnUi([facts](CWebGameWindowEx* window) {
      RECT rect = {};
      GetWindowRect(window->hwnd(), &rect);
      *facts = {window->IsVisible(L"id_panel_complete"),  window->IsVisible(L"id_panel_download"),
                static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top),
                OnlyTopmostWindowsAbove(window->hwnd()),  window->IsVisible(L"id_btn_usenow")};
    });
    EXPECT_THAT(*facts, ElementsAre(1, 0, 652, 412, 1, 1)) << "complete, download, width, height, on top, usenow";
  }

  // Each event the collector accepted: its action, and the value of its extra property if any.
  std::vector<std::string> Events() {
    std::vector<std::string> events;
    for (const Json::Value& record : collector_.AcceptedRecords()) {
      const Json::Value& p = record["properties"];
      std::string line = p["action"].asString();
      for (const char* key : {"exit_reason", "fail_type", "error_code"}) {
        if (p.isMember(key)) line += " " + p[key].asString();
      }
      events.push_back(line);
    }
    return events;
  }

  std::wstring SetupInfo(const wchar_t* value) {
    return Registry(HKEY_LOCAL_MACHINE, software_ + L"Pindle\\SetupInfo", value);
  }
  std::wstring Uninstall(const wchar_t* value) {
    return Registry(HKEY_LOCAL_MACHINE,
                    software_ + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + app::Global().product_name, value);
  }

  // None of the steps after the engine installer: no registry values, no shortcut, no logon
  // value, no version in conf.ini.
  void ExpectNothingRecorded() {
    EXPECT_EQ(SetupInfo(L"InstallPath"), L"<missing>");
    EXPECT_EQ(Uninstall(L"UninstallString"), L"<missing>");
    EXPECT_EQ(Registry(HKEY_CURRENT_USER, kRunKey, app::Global().product_name), L"<missing>");
    EXPECT_FALSE(fs::exists(shortcut_)) << "no desktop shortcut";
    EXPECT_THAT(test_support::ReadFile(data_ / "conf.ini"), Not(HasSubstr("version=")));
  }

  test_support::ScratchFolder scratch_;
  fs::path install_, data_;
  std::wstring software_, shortcut_, main_program_;
  CollectorProcess collector_;
  FaultServer server_;
  std::unique_ptr<ProgramRun> run_;
};

TEST_F(MainWindowTest, FullInstallWithAMatchingDigestThenUseNowStartsTheProduct) {
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, kCompatKey, main_program_, L"WINXPSP3"));
  ASSERT_TRUE(test_support::WriteFile(data_ / "7za.exe", "left by an earlier extraction"));
  ASSERT_NO_FATAL_FAILURE(StartProgram("package", PackageMd5("package")));
  ClickElement(L"id_install");
  // From the install stage on, the I/O loop is held busy, as a slow send of an earlier event
  // would hold it: the completion event goes out on the file loop and is in before the panel.
  ASSERT_TRUE(WaitOnUi([](CWebGameWindowEx* window) { return window->flow().stage() >= installer::kStageInstalling; },
                       kStepTimeoutMs));
  auto io_released = std::make_shared<std::atomic<bool>>(false);
  base::GetThreadLoop(base::kIoLoop)->PostTask(base::NewFunctionTask(&RunClosure, std::function<void()>([io_released] {
    for (int i = 0; i < 3000 && !*io_released; ++i) Sleep(10);
  })));
  std::vector<std::string> at_panel;
  const bool completed = WaitForCompletePanel(&at_panel);
  *io_released = true;
  ASSERT_TRUE(completed);
  EXPECT_THAT(at_panel, Contains("Downloader_Install_Finish")) << "received before the panel showed";
  ExpectCompleteLook();
  EXPECT_TRUE(ProcessPopups().empty());

  EXPECT_TRUE(fs::exists(install_ / "conf" / "readme.txt"));
  EXPECT_TRUE(fs::exists(main_program_));
  EXPECT_FALSE(fs::exists(install_ / "engine" / "engine7.exe")) << "the installers go after their run";
  EXPECT_FALSE(fs::exists(install_ / "engine" / "mirrorinstaller.exe"));
  EXPECT_FALSE(fs::exists(data_ / "7za.exe"));
  const std::string conf = test_support::ReadFile(data_ / "conf.ini");
  EXPECT_THAT(conf, HasSubstr("language=lan_en"));
  EXPECT_THAT(conf, HasSubstr("version=" + app::Global().player_version));

  // The 32-bit product's keys: under Wow6432Node of the 64-bit view on 64-bit Windows.
  const std::wstring uninstaller = install_.wstring() + L"\\bin\\" + app::Global().product_uninstaller;
  EXPECT_EQ(SetupInfo(L"InstallPath"), install_.wstring());
  EXPECT_EQ(SetupInfo(L"unInstallPath"), install_.wstring());
  EXPECT_EQ(Uninstall(L"UninstallString"), uninstaller);
  EXPECT_EQ(Uninstall(L"DisplayIcon"), uninstaller);
  EXPECT_EQ(Uninstall(L"DisplayVersion"), L"" PINDLE_PROGRAM_VERSION);
  EXPECT_EQ(Uninstall(L"DisplayName"), L"Pindle");
  EXPECT_EQ(Uninstall(L"Publisher"), base::Utf8ToWide(PINDLE_PUBLISHER));
  if (Is64BitWindows()) {
    EXPECT_EQ(Registry(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pindle\\SetupInfo", L"InstallPath"), L"<missing>");
  }
  EXPECT_EQ(Registry(HKEY_CURRENT_USER, kCompatKey, main_program_), L"<missing>");
  EXPECT_EQ(Registry(HKEY_CURRENT_USER, kRunKey, app::Global().product_name),
            L"\"" + install_.wstring() + L"\\bin\\pindleloader.exe\"");
  ShortcutFacts shortcut;
  ASSERT_TRUE(ReadShortcut(shortcut_, &shortcut));
  EXPECT_EQ(shortcut.target, main_program_);
  EXPECT_EQ(shortcut.working_folder, install_.wstring());
  EXPECT_EQ(shortcut.arguments, L"");
  // Written as SW_SHOW; the link format keeps only normal, maximised and minimised.
  EXPECT_EQ(shortcut.show_command, SW_SHOWNORMAL);

  // The product starts with its quoted path and a space, in the install folder; the installer ends.
  ClickElement(L"id_btn_usenow");
  ASSERT_TRUE(WaitForProgramEnd()) << "the window stayed after id_btn_usenow";
  std::wstring record;
  for (int i = 0; i < 300 && record.empty(); ++i) {
    Sleep(20);
    record = ReadRunRecord(main_program_);
  }
  EXPECT_EQ(record, L"\"" + main_program_ + L"\" \n" + install_.wstring());
  EXPECT_THAT(Events(), ElementsAre("Downloader_Download_Launch", "Downloader_Download_Start",
                                    "Downloader_Download_Finish", "Downloader_Install_Finish"));
}

// The engine installer asks for a restart: the complete panel, then the restart question, whose
// answer alone decides whether the restart seam runs, once.
TEST_F(MainWindowTest, EngineInstallerAsksForARestart) {
  struct Case {
    const wchar_t* button;
    int restarts;
  };
  for (const Case& c : {Case{L"id_btn_later", 0}, Case{L"id_btn_reboot", 1}}) {
    SCOPED_TRACE(base::WideToAnsi(c.button));
    ASSERT_NO_FATAL_FAILURE(PrepareRun());
    ASSERT_NO_FATAL_FAILURE(StartProgram("engine109", std::string()));
    ClickElement(L"id_install");
    std::vector<std::string> at_panel;
    ASSERT_TRUE(WaitForCompletePanel(&at_panel));
    const PopupFacts popup = WaitForPopup();
    EXPECT_EQ(popup.kind, 3);
    EXPECT_EQ(popup.text, installer::PromptTextOf(app::Global(), "Reboot"));
    ExpectCompleteLook();
    EXPECT_EQ(run_->restarts.count, 0) << "nothing restarts before the answer";
    ClickPopupButton(popup, c.button);
    ASSERT_TRUE(WaitForProgramEnd()) << "the window stayed after the answer";
    EXPECT_EQ(run_->restarts.count, c.restarts);
    const std::vector<std::string> events = Events();
    EXPECT_THAT(events, Contains("Downloader_Install_Fail 109"));
    EXPECT_THAT(events, Contains("Downloader_Install_Finish"));
    EXPECT_EQ(SetupInfo(L"InstallPath"), install_.wstring()) << "the installation went on";
  }
}

// A collector that never answers holds every send up to its time-out, so the restart report is
// still on its way when the installation's last event shuts the tracker down: both are kept in
// the staging file for the next run, none is lost.
TEST_F(MainWindowTest, RestartReportOutlivesASilentCollector) {
  ASSERT_TRUE(collector_.SetMode("hang"));
  ASSERT_NO_FATAL_FAILURE(StartProgram("engine109", std::string()));
  ClickElement(L"id_install");
  std::vector<std::string> at_panel;
  ASSERT_TRUE(WaitForCompletePanel(&at_panel));
  ClickPopupButton(WaitForPopup(), L"id_btn_later");
  ASSERT_TRUE(WaitForProgramEnd());
  ASSERT_TRUE(collector_.SetMode("200"));
  std::vector<std::string> staged;
  std::istringstream lines(test_support::ReadFile(scratch_.path() / "staging_file"));
  for (std::string line; std::getline(lines, line);) {
    Json::Value record;
    if (!Json::Reader().parse(line, record)) continue;
    const Json::Value& p = record["properties"];
    staged.push_back(p["action"].asString() + (p.isMember("error_code") ? " " + p["error_code"].asString() : ""));
  }
  EXPECT_THAT(staged, Contains("Downloader_Install_Fail 109"));
  EXPECT_THAT(staged, Contains("Downloader_Install_Finish"));
}

// An engine installer that fails stops the installation with "Fileoccupied"; a missing one is
// passed over.
TEST_F(MainWindowTest, EngineInstallerFailingOrMissing) {
  {
    SCOPED_TRACE("exit 5");
    ASSERT_NO_FATAL_FAILURE(StartProgram("engine5", std::string()));
    ClickElement(L"id_install");
    const PopupFacts popup = WaitForPopup();
    EXPECT_EQ(popup.kind, 1);
    EXPECT_EQ(popup.text, installer::PromptTextOf(app::Global(), "Fileoccupied"));
    ExpectNothingRecorded();
    EXPECT_TRUE(fs::exists(install_ / "engine" / "engine7.exe")) << "kept for another try";
    ClickPopupButton(popup, L"id_btn_quit");
    ASSERT_TRUE(WaitForProgramEnd()) << "the window stayed after the message";
    EXPECT_THAT(Events(), ElementsAre("Downloader_Download_Launch", "Downloader_Download_Start",
                                      "Downloader_Download_Finish", "Downloader_Install_Fail 5"));
    ExpectNothingRecorded();
  }
  {
    SCOPED_TRACE("missing");
    ASSERT_NO_FATAL_FAILURE(PrepareRun());
    ASSERT_NO_FATAL_FAILURE(StartProgram("no_engine", std::string()));
    ClickElement(L"id_install");
    std::vector<std::string> at_panel;
    ASSERT_TRUE(WaitForCompletePanel(&at_panel));
    EXPECT_TRUE(ProcessPopups().empty());
    EXPECT_EQ(SetupInfo(L"InstallPath"), install_.wstring());
    EXPECT_TRUE(fs::exists(shortcut_));
    ClickElement(L"id_close");
    ASSERT_TRUE(WaitForProgramEnd()) << "id_close after completion closes";
    EXPECT_THAT(Events(), ElementsAre("Downloader_Download_Launch", "Downloader_Download_Start",
                                      "Downloader_Download_Finish", "Downloader_Install_Finish"));
  }
}

// A mirror installer that never ends is given up at its limit, ended, and the installation
// goes on to the engine installer and completion.
TEST_F(MainWindowTest, MirrorInstallerThatNeverEndsIsGivenUp) {
  ASSERT_NO_FATAL_FAILURE(StartProgram("mirror_hangs", std::string()));
  const auto clicked = std::chrono::steady_clock::now();
  ClickElement(L"id_install");
  std::vector<std::string> at_panel;
  ASSERT_TRUE(WaitForCompletePanel(&at_panel));
  EXPECT_GE(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(kMirrorLimitMs));
  EXPECT_FALSE(ReadRunRecord(install_ / "engine" / "mirrorinstaller.exe").empty()) << "the mirror installer ran";
  EXPECT_FALSE(ReadRunRecord(install_ / "engine" / "engine7.exe").empty()) << "the engine installer ran after it";
  EXPECT_FALSE(fs::exists(install_ / "engine" / "mirrorinstaller.exe"));
  for (uint32_t pid : FindProcessesByName(L"mirrorinstaller.exe")) {
    std::wstring image;
    EXPECT_EQ(GetProcessImagePath(pid, &image) ? image.find(install_.wstring()) : std::wstring::npos,
              std::wstring::npos)
        << "the hanging mirror installer still runs";
  }
  EXPECT_EQ(SetupInfo(L"InstallPath"), install_.wstring());
  ClickElement(L"id_close");
  ASSERT_TRUE(WaitForProgramEnd());
  EXPECT_THAT(Events(), Contains("Downloader_Install_Finish"));
}

TEST_F(MainWindowTest, ExtractionFailingEveryWayEndsWithFileoccupied) {
  ASSERT_NO_FATAL_FAILURE(StartProgram("not_an_archive", std::string()));
  ClickElement(L"id_install");
  const PopupFacts popup = WaitForPopup();
  EXPECT_EQ(popup.kind, 1);
  EXPECT_EQ(popup.text, installer::PromptTextOf(app::Global(), "Fileoccupied"));
  ClickPopupButton(popup, L"id_btn_quit");
  ASSERT_TRUE(WaitForProgramEnd()) << "the window stayed after the message";
  EXPECT_THAT(Events(), ElementsAre("Downloader_Download_Launch", "Downloader_Download_Start",
                                    "Downloader_Download_Finish", "Downloader_Install_Fail 201"));
  EXPECT_FALSE(fs::exists(install_ / "bin"));
  EXPECT_THAT(test_support::ReadFile(data_ / "conf.ini"), Not(HasSubstr("language=")));
  ExpectNothingRecorded();
}

// A package whose digest is not the one the server gave is a server that disagrees with itself:
// it is deleted before anything is unpacked and the installer ends with "ServiceError". The
// same digest in capitals installs.
TEST_F(MainWindowTest, PackageDigestDecidesBeforeUnpacking) {
  std::string md5 = PackageMd5("package");
  std::string upper = md5;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  std::string wrong = md5;
  wrong[0] = wrong[0] == '0' ? '1' : '0';
  {
    SCOPED_TRACE("mismatch");
    ASSERT_NO_FATAL_FAILURE(StartProgram("package", wrong));
    ClickElement(L"id_install");
    const PopupFacts popup = WaitForPopup();
    EXPECT_EQ(popup.kind, 1);
    EXPECT_EQ(popup.text, installer::PromptTextOf(app::Global(), "ServiceError"));
    auto package = std::make_shared<std::wstring>();
    OnUi([package](CWebGameWindowEx*) { *package = app::Global().local_app_data; });
    EXPECT_FALSE(package->empty());
    EXPECT_FALSE(fs::exists(*package)) << "the package is deleted while the message shows";
    EXPECT_FALSE(fs::exists(install_ / "bin")) << "nothing was unpacked";
    ClickPopupButton(popup, L"id_btn_quit");
    ASSERT_TRUE(WaitForProgramEnd());
    EXPECT_THAT(Events(), ElementsAre("Downloader_Download_Launch", "Downloader_Download_Start",
                                      "Downloader_Download_Finish", "Downloader_Download_Fail Server_Error"));
    ExpectNothingRecorded();
  }
  {
    SCOPED_TRACE("match in capitals");
    ASSERT_NO_FATAL_FAILURE(PrepareRun());
    ASSERT_NO_FATAL_FAILURE(StartProgram("package", upper));
    ClickElement(L"id_install");
    std::vector<std::string> at_panel;
    ASSERT_TRUE(WaitForCompletePanel(&at_panel));
    EXPECT_TRUE(fs::exists(main_program_));
  }
}

}  // namespace
