// The main window's timed effects, as steps the window runs on the UI loop: the simulated
// install progress, the rotating header pictures and the shake of a refused close. Each step
// says what to show and when the next one comes; the window only draws and posts.
#ifndef UI_INSTALL_SCHEDULES_H_
#define UI_INSTALL_SCHEDULES_H_

#include <cstdint>

#include "uiframework/ui_types.h"

namespace installer {

// Simulated progress of the install stage (the bar "id_progress_download", from 0.811): 0.001
// every 300 ms below 0.9, 0.0005 every 800 ms below 0.95, 0.0005 every 2 s below 0.99, then it
// waits for the install steps to set the bar.
constexpr float kFirstSimulatedProgress = 0.811f;
constexpr int64_t kFirstSimulatedProgressDelay = 370000;  // microseconds after the stage starts

struct ProgressStep {
  bool show = false;  // set the bar to `value`
  float value = 0;
  bool again = false;  // post the step with `next` after `delay` microseconds
  float next = 0;
  int64_t delay = 0;
};

// The step with value `value` (single precision, as the window carries it). Nothing is shown or
// posted once the user has quit or the product's installers have run.
ProgressStep SimulatedProgressStep(float value, bool closing, bool install_done);

// The header picture at the top of the window (type 6000 images "APP", "APP1", "APP2", "APP3").
struct HeaderPicture {
  bool fading = false;
  int index = 1;  // 1 to 4
  int alpha = 20;
};

// Delay before the first step after the download panel shows (custom setting "Rotational").
constexpr int64_t kFirstHeaderPictureDelay = 1000000;

// One step: while fading the alpha goes 20, 50, 100, 150, 180, 220, 255 (100 ms apart), and at
// 255 the fade ends and the picture stays 4 s; then the next picture (4 wraps to 1) fades in
// from 20. Returns the delay of the next step in microseconds; the window repaints each step.
int64_t StepHeaderPicture(HeaderPicture* picture);

// The resource names the background draws: the current picture, and while fading the one it
// replaces, under it (1 "APP" replaces 4 "APP3").
const wchar_t* HeaderPictureName(int index);
const wchar_t* PreviousHeaderPictureName(int index);

// The shake of a close the installer refuses: 11 moves of 2 pixels, 45 ms apart (timer 16),
// left, up, right, down in turn around the window's place, then back to that place.
constexpr int kShakeTimerId = 16;
constexpr int kShakePeriodMs = 45;
constexpr int kShakeSteps = 11;
constexpr int kShakeDistance = 2;

struct Shake {
  bool running = false;
  UiRect saved;
  int steps_left = 0;
  int phase = 0;  // 0 left, 1 up, 2 right, 3 down
};

void StartShake(Shake* shake, const UiRect& window_rect);
// One tick: where the window goes. False when the shake is over: `place` is then the saved
// rectangle, the timer is to be killed and "id_static_tryshutdown" hidden.
bool ShakeTick(Shake* shake, UiRect* place);

}  // namespace installer

#endif  // UI_INSTALL_SCHEDULES_H_
