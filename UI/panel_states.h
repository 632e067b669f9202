// The element changes the installer makes for each of its panels and popup kinds, written once:
// the main window's controller and popup apply them to their trees, and the layout renderer
// applies them headless to show each state.
#ifndef UI_PANEL_STATES_H_
#define UI_PANEL_STATES_H_

#include <string>

#include "uiframework/element_list.h"

namespace panel_states {

// Window sizes of the main window's panels.
constexpr int kMainWidth = 652;
constexpr int kMainHeight = 412;
constexpr int kCustomHeight = 516;

// Header pictures at the top of the main window, drawn in this rectangle by its background.
extern const wchar_t* const kHeaderPictures[4];  // "APP", "APP1", "APP2", "APP3"
constexpr UiRect kHeaderRect{6, 6, 646, 262};

// The states a main window shows.
enum class MainState { kMain, kCustom, kDownload, kInstalling, kComplete };

// Texts the controller puts into the main window when it binds it.
struct MainTexts {
  std::wstring main_title;      // custom setting "main_title": replaces the version label (340 px wide)
  std::wstring player_version;  // otherwise appended to the label's own text
  std::wstring install_folder;  // the install-path box
};

// The initial element states the controller sets when it binds the main window's elements
// ("id_install" disabled until the previous-installation step enables it, agreement boxes
// checked, every panel but the main one hidden, ...).
void ApplyInitialState(CElementList& elements, const MainTexts& texts);

// The previous-installation step of the start sequence found nothing: "id_install" is enabled.
void EnableInstall(CElementList& elements);

// The custom panel (window 652 x 516) and back to the main panel (652 x 412).
void ShowCustomPanel(CElementList& elements);
void ShowMainPanel(CElementList& elements);
// The download panel (652 x 412) with the "downloading" text.
void ShowDownloadPanel(CElementList& elements);
// The install stage: the "installing" text instead, the close button disabled.
void ShowInstallStage(CElementList& elements);
// The complete panel; "id_btn_usenow" is centred in `window_width` when its x is negative.
void ShowCompletePanel(CElementList& elements, int window_width);
// Sets "id_progress_download" (0.0 to 1.0).
void SetDownloadProgress(CElementList& elements, float position);
// The bar position of the download phase for a package fraction: the download fills 0 to 0.8.
float DownloadBarPosition(float downloaded_fraction);
// The first simulated step of the install stage.
constexpr float kFirstInstallProgress = 0.811f;

// The element changes the installer makes from the initial state on its way to `state`, with the
// package `downloaded_fraction` shown in kDownload; `window_width` is the window's width in that
// state. The window's size is the caller's: kCustom needs kMainWidth x kCustomHeight.
void ApplyMainState(CElementList& elements, MainState state, float downloaded_fraction, int window_width);

// The popup kinds: 0 question, 1 fatal message, 2 old data, 3 restart.
constexpr int kPopupKindCount = 4;
// Hides what the kind does not show (any other kind hides nothing).
void ApplyPopupKind(CElementList& elements, int kind);
// The message static a kind's caller sets its text in: "id_static_tip1" for kind 0,
// "id_static_tip2" for the others.
const wchar_t* PopupTextElement(int kind);
// The prompt-text key of a kind's default message (kinds 1-3), or null (kind 0 keeps the
// layout's own text).
const char* PopupDefaultPromptKey(int kind);

}  // namespace panel_states

#endif  // UI_PANEL_STATES_H_
