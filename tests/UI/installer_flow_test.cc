// The flow's decisions through a recording window and services: what the user would see, in
// which order, and what the installer reports.
#include "UI/installer_flow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "runtime/text_encoding.h"

namespace installer {
namespace {

using testing::ElementsAre;

std::string Narrow(const std::wstring& text) {
  return base::WideToUtf8(text);
}

// Records every call as a line; popups answer from a queue (0 when it is empty).
class FakeView : public InstallerView {
 public:
  void ShowPanel(panel_states::MainState state) override {
    static const char* const kNames[] = {"main", "custom", "download", "installing", "complete"};
    calls.push_back(std::string("panel ") + kNames[static_cast<int>(state)]);
    if (state == panel_states::MainState::kCustom) visible[L"id_panel_userdef"] = true;
    if (state == panel_states::MainState::kMain) visible[L"id_panel_userdef"] = false;
  }
  void SetVisible(const wchar_t* id, bool shown) override {
    visible[id] = shown;
    calls.push_back((shown ? "show " : "hide ") + Narrow(id));
  }
  bool IsVisible(const wchar_t* id) override { return visible[id]; }
  void EnableButton(const wchar_t* id, bool enabled) override {
    calls.push_back((enabled ? "enable " : "disable ") + Narrow(id));
  }
  void SetText(const wchar_t* id, const std::wstring& text) override {
    texts[id] = text;
    calls.push_back("text " + Narrow(id) + " " + Narrow(text));
  }
  std::wstring GetText(const wchar_t* id) override { return texts[id]; }
  int GetCheck(const wchar_t* id) override {
    const auto found = checks.find(id);
    return found == checks.end() ? -1 : found->second;
  }
  void SetCheck(const wchar_t* id, bool checked) override {
    checks[id] = checked;
    calls.push_back((checked ? "check " : "uncheck ") + Narrow(id));
  }
  void SetProgress(float value) override { progress.push_back(value); }
  int RunPopup(int kind, const std::wstring* text) override {
    calls.push_back("popup " + std::to_string(kind) + (text ? " " + Narrow(*text) : ""));
    enabled = false;
    if (during_popup) during_popup();
    enabled = true;
    if (answers.empty()) return 0;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowFatalMessage(const std::wstring& text) override { calls.push_back("fatal " + Narrow(text)); }
  void PostClose() override { calls.push_back("close"); }
  void Hide() override { calls.push_back("hide window"); }
  void Repaint() override {}
  bool IsEnabled() override { return enabled; }
  void StartShake() override { calls.push_back("shake"); }
  void Post(FlowStep step, int64_t delay, float value) override { posted.push_back({step, delay, value}); }

  struct Posted {
    FlowStep step;
    int64_t delay;
    float value;
  };
  // Runs posted steps of `step` (others stay queued) until none is left or `limit` ran.
  int RunPosted(InstallerFlow* flow, FlowStep step, int limit) {
    int ran = 0;
    for (bool found = true; found && ran < limit;) {
      found = false;
      for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (it->step != step) continue;
        const Posted next = *it;
        posted.erase(it);
        flow->RunStep(next.step, next.value);
        ++ran;
        found = true;
        break;
      }
    }
    return ran;
  }
  int CountPosted(FlowStep step) const {
    int count = 0;
    for (const Posted& p : posted) count += p.step == step;
    return count;
  }

  std::vector<std::string> calls;
  std::map<std::wstring, bool> visible;
  std::map<std::wstring, std::wstring> texts;
  std::map<std::wstring, int> checks{{L"id_checkbox", 1}, {L"id_checkbox_custom", 1}};
  std::vector<float> progress;
  std::deque<int> answers;
  std::vector<Posted> posted;
  bool enabled = true;
  std::function<void()> during_popup;
};

class FakeServices : public InstallerServices {
 public:
  std::wstring PromptText(const char* key) override { return L"<" + base::Utf8ToWide(key) + L">"; }
  void ReportExit(const char* reason) override { events.push_back(std::string("Downloader_Exit ") + reason); }
  void ReportDownloadFail(const char* type) override {
    events.push_back(std::string("Downloader_Download_Fail ") + type);
  }
  void PostFixedEvent(FixedEvent event) override { events.push_back(FixedEventAction(event)); }
  uint64_t FreeBytesOfDrive(const std::wstring& drive) override {
    drives.push_back(Narrow(drive));
    return free_mb << 20;
  }
  bool IsInstallPathWrong(const std::wstring& text) override { return text.find(L'*') != std::wstring::npos; }
  bool ValidateInstallPath(const std::wstring& path) override { return path.find(L'%') == std::wstring::npos; }
  bool IsPackageUrlKnown() override { return url_known; }
  void CombineRealInstallPath(const std::wstring& folder) override { work.push_back("release " + Narrow(folder)); }
  void DeleteBackupPackage() override { work.push_back("backup"); }
  void RemoveOldShortcuts(bool remove_data, bool then_start) override {
    work.push_back(std::string("shortcuts ") + (remove_data ? "data" : "keep") + (then_start ? " then start" : ""));
  }
  void StartPackageDownload() override { work.push_back("download"); }
  void StopPackageDownload() override { work.push_back("stop"); }
  void QueueLeftoverRemoval() override { work.push_back("leftovers"); }
  void StartInstallSteps() override { work.push_back("install steps"); }

  uint64_t free_mb = 100000;
  bool url_known = true;
  std::vector<std::string> events;
  std::vector<std::string> work;
  std::vector<std::string> drives;
};

class InstallerFlowTest : public testing::Test {
 protected:
  void SetUp() override {
    global_.install_folder = L"C:\\Program Files\\Pindle";
    global_.product_name = L"Pindle";
    flow_.Bind(&view_, &services_);
  }
  // The window has opened and the start sequence found no earlier installation.
  void Ready(const std::wstring& previous_folder = L"") {
    flow_.OnOpeningAnimationEnded();
    flow_.OnPreviousInstall(previous_folder);
    flow_.OnStartSequenceDone();
    view_.calls.clear();
  }

  app::CGlobal global_;
  FakeView view_;
  FakeServices services_;
  InstallerFlow flow_{&global_};
};

TEST_F(InstallerFlowTest, AutoGoesStraightToTheDownloadPanel) {
  global_.auto_install = true;
  flow_.OnOpeningAnimationEnded();
  flow_.OnPreviousInstall(L"");
  flow_.OnStartSequenceDone();
  EXPECT_THAT(view_.calls, ElementsAre("enable id_install", "panel download"));
  EXPECT_EQ(flow_.stage(), kStageDownloading);
  EXPECT_THAT(services_.events, ElementsAre("Downloader_Download_Start"));
  EXPECT_THAT(services_.work, ElementsAre("release C:\\Program Files\\Pindle", "backup", "download"));
  EXPECT_FALSE(flow_.overlay_install());
}

TEST_F(InstallerFlowTest, ClickBeforeReadyEndsTheInstaller) {
  using Action = void (InstallerFlow::*)();
  const Action actions[] = {&InstallerFlow::OnInstallClick, &InstallerFlow::OnCustomInstallClick,
                            &InstallerFlow::ShowCustomPanel, &InstallerFlow::OnAgreementPressed,
                            &InstallerFlow::OnCustomAgreementPressed};
  for (Action action : actions) {
    FakeView view;
    FakeServices services;
    InstallerFlow flow(&global_);
    flow.Bind(&view, &services);
    (flow.*action)();
    EXPECT_THAT(view.calls, ElementsAre("fatal <Resolution>"));
    EXPECT_THAT(services.events, ElementsAre("Downloader_Exit 32True Color"));
    EXPECT_EQ(flow.exit_reason(), "32True Color");
    EXPECT_TRUE(services.work.empty());
  }
}

TEST_F(InstallerFlowTest, InstallBeforeTheAnswerWaitsEvery200ms) {
  Ready();
  services_.url_known = false;
  flow_.OnInstallClick();
  EXPECT_THAT(view_.calls, ElementsAre("panel download"));
  EXPECT_TRUE(services_.work.empty());
  ASSERT_EQ(view_.CountPosted(FlowStep::kUrlWait), 1);
  EXPECT_EQ(view_.posted[0].delay, 200000);
  EXPECT_EQ(view_.RunPosted(&flow_, FlowStep::kUrlWait, 5), 5);
  EXPECT_EQ(view_.CountPosted(FlowStep::kUrlWait), 1);  // still waiting, one step at a time
  EXPECT_TRUE(services_.work.empty());
  services_.url_known = true;
  EXPECT_EQ(view_.RunPosted(&flow_, FlowStep::kUrlWait, 5), 1);
  EXPECT_THAT(services_.work, ElementsAre("release C:\\Program Files\\Pindle", "backup", "download"));
  EXPECT_THAT(services_.events, ElementsAre("Downloader_Download_Start"));
}

TEST_F(InstallerFlowTest, UrlWaitEndsWhenTheUserQuits) {
  Ready();
  services_.url_known = false;
  flow_.OnInstallClick();
  view_.answers = {1};
  flow_.OnCloseClick();
  EXPECT_EQ(view_.RunPosted(&flow_, FlowStep::kUrlWait, 5), 1);
  EXPECT_EQ(view_.CountPosted(FlowStep::kUrlWait), 0);
  EXPECT_THAT(services_.work, ElementsAre("stop", "leftovers"));
}

TEST_F(InstallerFlowTest, QuitInEachStage) {
  struct Case {
    const char* name;
    int answer;
    std::vector<std::string> calls;
    std::vector<std::string> events;
    std::vector<std::string> work;
  };
  // Before the download.
  {
    Ready();
    view_.answers = {1};
    flow_.OnCloseClick();
    EXPECT_THAT(view_.calls, ElementsAre("popup 0", "close"));
    EXPECT_THAT(services_.events, ElementsAre("Downloader_Exit Quit"));
    EXPECT_TRUE(flow_.closing());
  }
  // During the download: every transfer stopped, the package folder queued for removal.
  {
    FakeView view;
    FakeServices services;
    InstallerFlow flow(&global_);
    flow.Bind(&view, &services);
    flow.OnOpeningAnimationEnded();
    flow.OnInstallClick();
    services.events.clear();
    services.work.clear();
    view.calls.clear();
    view.answers = {1};
    flow.OnCloseClick();
    EXPECT_THAT(view.calls, ElementsAre("popup 0 <Downloading>", "close"));
    EXPECT_THAT(services.events, ElementsAre("Downloader_Download_Fail Quit"));
    EXPECT_THAT(services.work, ElementsAre("stop", "leftovers"));
  }
  // Staying: nothing reported, the install stage is asked for again.
  {
    FakeView view;
    FakeServices services;
    InstallerFlow flow(&global_);
    flow.Bind(&view, &services);
    flow.OnOpeningAnimationEnded();
    view.answers = {0};
    flow.OnCloseClick();
    EXPECT_TRUE(services.events.empty());
    EXPECT_EQ(view.CountPosted(FlowStep::kStartInstallStage), 1);
    EXPECT_FALSE(flow.closing());
  }
}

TEST_F(InstallerFlowTest, DownloadFinishedDuringTheQuitQuestionStartsTheStageAfterStay) {
  Ready();
  flow_.OnInstallClick();
  view_.during_popup = [this] { flow_.OnDownloadFinished(); };
  view_.answers = {0};
  flow_.OnCloseClick();
  // Finished while the popup was open: reported, but not yet installing.
  EXPECT_THAT(services_.events, ElementsAre("Downloader_Download_Start", "Downloader_Download_Finish"));
  EXPECT_THAT(services_.work, testing::Not(testing::Contains("install steps")));
  EXPECT_EQ(view_.RunPosted(&flow_, FlowStep::kStartInstallStage, 3), 1);
  EXPECT_THAT(services_.work, testing::Contains("install steps"));
  EXPECT_THAT(view_.calls, testing::Contains("panel installing"));
  ASSERT_EQ(view_.CountPosted(FlowStep::kSimulatedProgress), 1);
  // A second request (another stay) does not start the install steps twice.
  flow_.StartInstallStage();
  EXPECT_EQ(std::count(services_.work.begin(), services_.work.end(), "install steps"), 1);
}

TEST_F(InstallerFlowTest, DownloadFailureShowsOnePopupAndOneEvent) {
  const struct {
    const char* type;
    const char* key;
  } cases[] = {{"Server_Error", "ServiceError"}, {"Server_Error", "pstrDownloaderUp"}, {"Net_ERROR", "DownloadFail"}};
  for (const auto& c : cases) {
    FakeView view;
    FakeServices services;
    InstallerFlow flow(&global_);
    flow.Bind(&view, &services);
    flow.OnOpeningAnimationEnded();
    flow.OnInstallClick();
    services.events.clear();
    view.calls.clear();
    flow.OnDownloadFatal(c.type, c.key);
    flow.OnDownloadFatal(c.type, c.key);
    EXPECT_THAT(services.events, ElementsAre(std::string("Downloader_Download_Fail ") + c.type));
    EXPECT_THAT(view.calls, ElementsAre(std::string("fatal <") + c.key + ">"));
    EXPECT_TRUE(flow.fatal_popup_shown());
  }
}

TEST_F(InstallerFlowTest, CloseInTheLaterStages) {
  Ready();
  flow_.OnInstallClick();
  flow_.OnDownloadFinished();
  view_.calls.clear();
  flow_.OnCloseClick();
  EXPECT_THAT(view_.calls, ElementsAre("shake"));
  EXPECT_FALSE(flow_.OnSysClose(false));
  EXPECT_THAT(view_.calls, ElementsAre("shake", "shake"));
  EXPECT_TRUE(flow_.OnSysClose(true));  // a popup's loop has it
  EXPECT_FALSE(flow_.closing());
}

TEST_F(InstallerFlowTest, SystemCloseBeforeTheInstallStageReportsNothing) {
  Ready();
  view_.answers = {1};
  EXPECT_TRUE(flow_.OnSysClose(false));
  EXPECT_TRUE(services_.events.empty());
  EXPECT_TRUE(flow_.closing());
  EXPECT_THAT(services_.work, ElementsAre("stop", "leftovers"));
  view_.answers = {0};
  InstallerFlow stay(&global_);
  stay.Bind(&view_, &services_);
  stay.OnOpeningAnimationEnded();
  EXPECT_FALSE(stay.OnSysClose(false));
  EXPECT_EQ(view_.CountPosted(FlowStep::kStartInstallStage), 1);
}

TEST_F(InstallerFlowTest, CloseDecisionsByStage) {
  EXPECT_EQ(CloseActionForStage(kStageChoose), CloseAction::kAskQuit);
  EXPECT_EQ(CloseActionForStage(kStageDownloading), CloseAction::kAskQuitDownloading);
  EXPECT_EQ(CloseActionForStage(kStageInstalling), CloseAction::kShake);
  EXPECT_EQ(CloseActionForStage(kStageComplete), CloseAction::kCloseNow);
  EXPECT_EQ(SysCloseActionFor(kStageChoose, false), SysCloseAction::kAsk);
  EXPECT_EQ(SysCloseActionFor(kStageDownloading, false), SysCloseAction::kAsk);
  EXPECT_EQ(SysCloseActionFor(kStageInstalling, false), SysCloseAction::kShake);
  EXPECT_EQ(SysCloseActionFor(kStageComplete, false), SysCloseAction::kPostCompletionClose);
  for (int stage = kStageChoose; stage <= kStageComplete; ++stage)
    EXPECT_EQ(SysCloseActionFor(stage, true), SysCloseAction::kPassOn);
  EXPECT_TRUE(SysCommandSwallowed(kScMaximize));
  EXPECT_TRUE(SysCommandSwallowed(kScMaximize | 2));  // the low four bits are the system's own
  EXPECT_FALSE(SysCommandSwallowed(kScClose));
  EXPECT_FALSE(SysCommandSwallowed(kScRestore));
}

TEST_F(InstallerFlowTest, CompletedWindowClosesWithoutAQuestion) {
  Ready();
  flow_.OnInstallClick();
  flow_.OnDownloadFinished();
  flow_.RunStep(FlowStep::kCompletionClose, 0);
  EXPECT_THAT(view_.calls, testing::IsSupersetOf({"hide window", "close"}));
  EXPECT_TRUE(flow_.closing());
  EXPECT_EQ(services_.work.back(), "leftovers");
}

TEST_F(InstallerFlowTest, PreviousInstallationIsReused) {
  flow_.OnOpeningAnimationEnded();
  flow_.OnPreviousInstall(L"D:\\Old\\Pindle");
  EXPECT_THAT(view_.calls, ElementsAre("hide id_userinstall", "hide id_btn_arrowdown", "text id_install <Repair>",
                                       "enable id_install"));
  EXPECT_EQ(global_.install_folder, L"D:\\Old\\Pindle");
  view_.calls.clear();
  // The agreement leaves the hidden custom entry alone.
  view_.checks[L"id_checkbox"] = 0;
  flow_.OnAgreementPressed();
  EXPECT_THAT(view_.calls, ElementsAre("disable id_install"));
  view_.calls.clear();
  flow_.OnInstallClick();
  EXPECT_TRUE(flow_.overlay_install());
  EXPECT_THAT(services_.drives, ElementsAre("D:"));
  EXPECT_THAT(services_.work, ElementsAre("shortcuts data", "release D:\\Old\\Pindle", "backup", "download"));
}

TEST_F(InstallerFlowTest, OverlayChoiceWithTheOldDataBox) {
  EXPECT_EQ(ChooseOverlay(false, 1), OverlayChoice::kNotOverlay);
  EXPECT_EQ(ChooseOverlay(true, 1), OverlayChoice::kKeepData);
  EXPECT_EQ(ChooseOverlay(true, 0), OverlayChoice::kAskOldData);
  EXPECT_EQ(ChooseOverlay(true, -1), OverlayChoice::kNoBox);
  struct Case {
    int box;
    int answer;
    std::vector<std::string> work;
    bool download_panel;
  };
  const Case cases[] = {
      {1, 0, {"shortcuts data then start"}, true},
      {0, 1, {"shortcuts keep then start"}, true},
      {0, 0, {}, false},
  };
  for (const Case& c : cases) {
    FakeView view;
    FakeServices services;
    InstallerFlow flow(&global_);
    flow.Bind(&view, &services);
    flow.OnOpeningAnimationEnded();
    flow.OnPreviousInstall(L"D:\\Old\\Pindle");
    view.checks[L"id_checkbox_savedata"] = c.box;
    view.answers = {c.answer};
    flow.OnInstallClick();
    EXPECT_EQ(services.work, c.work) << c.box << c.answer;
    EXPECT_EQ(flow.stage() == kStageDownloading, c.download_panel);
    // The posted start comes back after the shortcuts: it starts one download.
    if (c.download_panel) {
      flow.StartDownload();
      flow.StartDownload();
      EXPECT_EQ(std::count(services.work.begin(), services.work.end(), "download"), 1);
    }
  }
}

TEST_F(InstallerFlowTest, CustomPanelPathChecksAndConfirmation) {
  Ready();
  flow_.ShowCustomPanel();
  EXPECT_TRUE(flow_.custom_page_shown());
  view_.texts[L"id_edit_installpath"] = L"D:\\Ga*mes";
  flow_.OnInstallPathEdited();
  view_.texts[L"id_edit_installpath"] = L"D:\\Games\\";
  flow_.OnInstallPathEdited();
  EXPECT_THAT(view_.calls, ElementsAre("panel custom", "show id_static_patherror", "disable id_install_custom",
                                       "hide id_static_patherror", "enable id_install_custom"));
  view_.calls.clear();
  flow_.OnCustomInstallClick();
  EXPECT_EQ(global_.install_folder, L"D:\\Games");
  EXPECT_THAT(view_.calls, ElementsAre("panel download"));
  EXPECT_THAT(services_.work, ElementsAre("release D:\\Games", "backup", "download"));
}

TEST_F(InstallerFlowTest, PathEditedOnlyCountsOnTheCustomPanel) {
  Ready();
  view_.texts[L"id_edit_installpath"] = L"D:\\Ga*mes";
  flow_.OnInstallPathEdited();
  EXPECT_TRUE(view_.calls.empty());
}

TEST_F(InstallerFlowTest, ChosenFolderAndBoxClosed) {
  Ready();
  flow_.OnInstallPathChosen(L"E:\\100%\\Pindle", false);
  EXPECT_THAT(view_.calls, ElementsAre("text id_edit_installpath E:\\100%\\Pindle", "show id_static_patherror",
                                       "disable id_install_custom"));
  view_.calls.clear();
  // FAT32: the warning shows between the new text and the check; the installer goes on.
  view_.answers = {0};
  flow_.OnInstallPathChosen(L"F:\\Pindle", true);
  EXPECT_THAT(view_.calls, ElementsAre("text id_edit_installpath F:\\Pindle", "popup 1 <Fat>",
                                       "hide id_static_patherror", "enable id_install_custom"));
  EXPECT_EQ(flow_.stage(), kStageChoose);
  view_.texts[L"id_edit_installpath"] = L"E:\\Apps";
  flow_.OnInstallPathBoxClosed();
  EXPECT_EQ(view_.texts[L"id_edit_installpath"], L"E:\\Apps\\Pindle");
}

TEST_F(InstallerFlowTest, AgreementBoxesEnableAndDisable) {
  Ready();
  view_.checks[L"id_checkbox"] = 0;
  flow_.OnAgreementPressed();
  view_.checks[L"id_checkbox"] = 1;
  flow_.OnAgreementPressed();
  view_.checks[L"id_checkbox_custom"] = 0;
  flow_.OnCustomAgreementPressed();
  EXPECT_THAT(view_.calls, ElementsAre("disable id_install", "disable id_userinstall", "enable id_install",
                                       "enable id_userinstall", "uncheck id_checkbox", "disable id_install",
                                       "disable id_install_custom", "disable id_userinstall"));
}

TEST_F(InstallerFlowTest, LowInstallDriveEndsTheInstaller) {
  Ready();
  services_.free_mb = 2047;
  flow_.OnInstallClick();
  EXPECT_THAT(view_.calls, ElementsAre("fatal <FREEDISK1>C<FREEDISK2>"));
  EXPECT_THAT(services_.events, ElementsAre("Downloader_Exit Freedisksize"));
  EXPECT_EQ(flow_.stage(), kStageChoose);
  services_.free_mb = 2048;
  view_.calls.clear();
  flow_.OnInstallClick();
  EXPECT_THAT(view_.calls, ElementsAre("panel download"));
}

TEST_F(InstallerFlowTest, SimulatedProgressAndHeaderPictureSteps) {
  global_.rotational = 1;
  Ready();
  flow_.OnInstallClick();
  ASSERT_EQ(view_.CountPosted(FlowStep::kHeaderPicture), 1);
  EXPECT_EQ(view_.posted.back().delay, 1000000);
  view_.RunPosted(&flow_, FlowStep::kHeaderPicture, 7);
  EXPECT_EQ(flow_.header_picture().index, 2);
  EXPECT_EQ(flow_.header_picture().alpha, 255);
  flow_.OnDownloadFinished();
  EXPECT_EQ(view_.RunPosted(&flow_, FlowStep::kSimulatedProgress, 10), 10);
  ASSERT_EQ(view_.progress.size(), 10u);
  EXPECT_FLOAT_EQ(view_.progress.front(), 0.811f);
  flow_.set_install_done(true);
  EXPECT_EQ(view_.RunPosted(&flow_, FlowStep::kSimulatedProgress, 10), 1);
  EXPECT_EQ(view_.progress.size(), 10u);
}

}  // namespace
}  // namespace installer
