// The element changes of the main window's panels and of the popup kinds, on a document that
// holds the ids the controller and the popup look up.
#include "UI/panel_states.h"

#include <gtest/gtest.h>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/layout_document.h"
#include "uiframework/progress.h"

namespace {

const char kMainDocument[] = R"(<window width="652" height="412">
  <button id="id_close" left="46" top="6" width="40" height="40" xAlignment="right"/>
  <static id="id_static_version" left="55" top="6" width="170" height="40" title="Pindle "/>
  <panel id="id_panel_main" left="6" top="262" width="640" height="144">
    <button id="id_install" top="32" width="304" height="40" xAlignment="center"/>
    <checkbox id="id_checkbox" left="16" top="104" width="20" height="24"/>
  </panel>
  <panel id="id_panel_userdef" left="6" top="262" width="640" height="280">
    <checkbox id="id_checkbox_custom" left="16" top="214" width="20" height="24"/>
    <static id="id_static_patherror" left="96" top="80" width="550" height="29"/>
    <link id="id_userfold" left="91" top="214" width="50" height="24" xAlignment="right"/>
    <button id="id_btn_arrowup" left="34" top="218" width="16" height="16" xAlignment="right"/>
    <layedit id="id_edit_installpath" left="96" top="104" width="328" height="32"/>
  </panel>
  <panel id="id_panel_download" left="6" top="256" width="640" height="144">
    <progress id="id_progress_download" left="16" top="32" width="607" height="8" progress_width="607"/>
    <static id="id_static_downing"/><static id="id_static_installing"/><static id="id_static_tryshutdown"/>
  </panel>
  <panel id="id_panel_complete" left="6" top="262" width="640" height="144">
    <button id="id_btn_usenow" left="-10" top="32" width="304" height="40"/>
  </panel>
</window>)";

class PanelStates : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(window_.Load(kMainDocument, &error)) << error;
    window_.Resize(652, 412);
    panel_states::ApplyInitialState(window_.elements(), {L"", L"3.2", L"C:\\Program Files\\Pindle"});
  }
  bool Visible(const wchar_t* id) { return window_.FindElement(id)->IsVisible(); }
  CButtonCtl* Button(const wchar_t* id) { return dynamic_cast<CButtonCtl*>(window_.FindElement(id)); }

  RecordingOwner owner_;
  CLayoutWindow window_{WindowKind::kMain, &owner_, nullptr};
};

TEST_F(PanelStates, InitialStateShowsOnlyTheMainPanel) {
  EXPECT_TRUE(Visible(L"id_panel_main"));
  EXPECT_FALSE(Visible(L"id_panel_userdef"));
  EXPECT_FALSE(Visible(L"id_panel_download"));
  EXPECT_FALSE(Visible(L"id_panel_complete"));
  EXPECT_EQ(CButtonCtl::kDisabled, Button(L"id_install")->state());
  EXPECT_EQ(1, dynamic_cast<CCheckBoxCtl*>(window_.FindElement(L"id_checkbox"))->GetCheck());
  EXPECT_EQ(L"Pindle 3.2", window_.FindElement(L"id_static_version")->GetText());
  EXPECT_EQ(L"C:\\Program Files\\Pindle", window_.FindElement(L"id_edit_installpath")->GetText());
  panel_states::EnableInstall(window_.elements());
  EXPECT_EQ(CButtonCtl::kNormal, Button(L"id_install")->state());
}

TEST_F(PanelStates, MainTitleReplacesTheVersionLabelAndWidensIt) {
  panel_states::ApplyInitialState(window_.elements(), {L"Pindle Player", L"3.2", L""});
  EXPECT_EQ(L"Pindle Player", window_.FindElement(L"id_static_version")->GetText());
  EXPECT_EQ(340, window_.FindElement(L"id_static_version")->GetRect().width());
}

TEST_F(PanelStates, CustomPanelBringsItsFoldControlsAndHidesThePathError) {
  panel_states::ShowCustomPanel(window_.elements());
  EXPECT_FALSE(Visible(L"id_panel_main"));
  EXPECT_TRUE(Visible(L"id_userfold"));
  EXPECT_TRUE(Visible(L"id_btn_arrowup"));
  EXPECT_FALSE(Visible(L"id_static_patherror"));
  panel_states::ShowMainPanel(window_.elements());
  EXPECT_TRUE(Visible(L"id_panel_main"));
  EXPECT_FALSE(Visible(L"id_panel_userdef"));
}

TEST_F(PanelStates, DownloadInstallAndComplete) {
  panel_states::ShowDownloadPanel(window_.elements());
  EXPECT_TRUE(Visible(L"id_panel_download"));
  EXPECT_TRUE(Visible(L"id_static_downing"));
  EXPECT_FALSE(Visible(L"id_static_installing"));
  EXPECT_FALSE(Visible(L"id_static_tryshutdown"));
  panel_states::SetDownloadProgress(window_.elements(), panel_states::DownloadBarPosition(0.5f));
  EXPECT_FLOAT_EQ(0.4f, dynamic_cast<CProgressCtl*>(window_.FindElement(L"id_progress_download"))->position());
  panel_states::ShowInstallStage(window_.elements());
  EXPECT_FALSE(Visible(L"id_static_downing"));
  EXPECT_TRUE(Visible(L"id_static_installing"));
  EXPECT_EQ(CButtonCtl::kDisabled, Button(L"id_close")->state());
  panel_states::ShowCompletePanel(window_.elements(), 652);
  EXPECT_FALSE(Visible(L"id_panel_download"));
  EXPECT_TRUE(Visible(L"id_panel_complete"));
  EXPECT_EQ(CButtonCtl::kNormal, Button(L"id_close")->state());
  EXPECT_EQ(174, window_.FindElement(L"id_btn_usenow")->GetRect().left);  // centred: (652 - 304) / 2
}

TEST(PopupKinds, EachKindKeepsItsOwnElements) {
  const char document[] = R"(<window width="492" height="244">
    <button id="id_btn_close"/><static id="id_static_remind"/>
    <panel id="id_panel_quit"><static id="id_static_tip1"/><button id="id_btn_ok"/><button id="id_btn_cancal"/>
      <static id="id_static_tip2"/><button id="id_btn_quit"/><button id="id_btn_later"/><button id="id_btn_reboot"/>
    </panel></window>)";
  const wchar_t* const ids[] = {L"id_btn_close",   L"id_static_tip1", L"id_btn_ok",    L"id_btn_cancal",
                                L"id_static_tip2", L"id_btn_quit",    L"id_btn_later", L"id_btn_reboot"};
  const char* const shown[] = {"11110000", "00001100", "10001000", "00001011", "11111111"};
  for (int kind = 0; kind <= 4; ++kind) {
    CLayoutWindow popup(WindowKind::kPopup, nullptr, nullptr);
    ASSERT_TRUE(popup.Load(document, nullptr));
    panel_states::ApplyPopupKind(popup.elements(), kind);
    std::string visible;
    for (const wchar_t* id : ids) visible += popup.FindElement(id)->IsVisible() ? '1' : '0';
    EXPECT_EQ(shown[kind], visible) << "kind " << kind;
    EXPECT_TRUE(popup.FindElement(L"id_static_remind")->IsVisible());
  }
  EXPECT_STREQ("Reboot", panel_states::PopupDefaultPromptKey(3));
  EXPECT_EQ(nullptr, panel_states::PopupDefaultPromptKey(0));
}

}  // namespace
