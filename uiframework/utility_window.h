// CUtilityWindow: the hidden, message-only window that marks the running installer (its class,
// title and user data are the single-instance marker) and hosts the installer's main window.
// Windows only.
#ifndef UIFRAMEWORK_UTILITY_WINDOW_H_
#define UIFRAMEWORK_UTILITY_WINDOW_H_

#include <windows.h>

#include <memory>
#include <string>

// Single-instance marker of the utility window.
extern const wchar_t kUtilityWindowTitle[];           // "2907A16F9AC14024BC6D4DDA369011CD"
constexpr LONG_PTR kUtilityWindowMagic = 0x6F9E139A;  // its GWLP_USERDATA
constexpr UINT kMsgPathEditClosed = 70156;            // lParam: the pop-up edit to destroy
constexpr UINT kMsgActivateRunningCopy = 70157;       // posted by a second copy

// What the utility window hosts: the installer's main window.
class IMainWindowHost {
 public:
  virtual ~IMainWindowHost() {}
  // Builds the main window (no owner) from the current language's layout; false when it cannot.
  virtual bool Create(HWND utility_window) = 0;
  // A second copy asked the installer to come to the front: restore if minimised, redraw.
  virtual void Activate() = 0;
  // The install-path box's pop-up edit closed: tidy the install-path text.
  virtual void OnPathEditClosed() = 0;
};

// Makes the main window host; installed by the UI layer. Without one, the utility window
// cannot be created and the program ends after start-up.
typedef std::unique_ptr<IMainWindowHost> (*MainWindowHostFactory)();
void SetMainWindowHostFactory(MainWindowHostFactory factory);

class CUtilityWindow {
 public:
  CUtilityWindow() = default;
  ~CUtilityWindow();
  CUtilityWindow(const CUtilityWindow&) = delete;
  CUtilityWindow& operator=(const CUtilityWindow&) = delete;

  // Registers `class_name` and creates the window; on WM_CREATE it makes the main window host,
  // and creation fails when that fails.
  bool Create(HINSTANCE instance, const std::wstring& class_name);
  // Destroys the main window, then this window, and unregisters the class.
  void Destroy();
  HWND hwnd() const { return hwnd_; }
  IMainWindowHost* main_window() const { return main_window_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // Releases the cached images and fonts and ends this window's GDI+ start.
  void StopGdiplus();

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  std::wstring class_name_;
  std::unique_ptr<IMainWindowHost> main_window_;
  bool gdiplus_started_ = false;
};

// Looks for a running copy's utility window (class and title; top-level or message-only) that
// carries the magic user data, and posts it the activation message. True when one was found.
bool NotifyRunningCopy(const std::wstring& class_name);

#endif  // UIFRAMEWORK_UTILITY_WINDOW_H_
