#include "UI/install_schedules.h"

#include <cmath>

namespace installer {

namespace {

// Single-precision sums of 0.001 drift (0.811 plus 89 thousandths stays just below 0.9), so each
// next value is taken to the nearest 1/2000: the bar reaches 0.9, 0.95 and 0.99 on the step the
// schedule names.
float Advance(float value, float increment) {
  return static_cast<float>(std::lround((static_cast<double>(value) + increment) * 2000.0) / 2000.0);
}

}  // namespace

ProgressStep SimulatedProgressStep(float value, bool closing, bool install_done) {
  ProgressStep step;
  if (closing || install_done) return step;
  if (value < 0.9f) {
    step = {true, value, true, Advance(value, 0.001f), 300000};
  } else if (value < 0.95f) {
    step = {true, value, true, Advance(value, 0.0005f), 800000};
  } else if (value < 0.99f) {
    step = {true, value, true, Advance(value, 0.0005f), 2000000};
  }
  return step;
}

namespace {

const int kFadeAlphas[] = {20, 50, 100, 150, 180, 220, 255};
const wchar_t* const kPictureNames[4] = {L"APP", L"APP1", L"APP2", L"APP3"};

int NextFadeAlpha(int alpha) {
  for (int value : kFadeAlphas) {
    if (value > alpha) return value;
  }
  return 255;
}

int ClampIndex(int index) {
  return index >= 1 && index <= 4 ? index : 1;
}

}  // namespace

int64_t StepHeaderPicture(HeaderPicture* picture) {
  if (picture->fading) {
    picture->alpha = NextFadeAlpha(picture->alpha);
    if (picture->alpha < 255) return 100000;
    picture->fading = false;
    return 4000000;
  }
  picture->index = picture->index % 4 + 1;
  picture->fading = true;
  picture->alpha = 20;
  return 100000;
}

const wchar_t* HeaderPictureName(int index) {
  return kPictureNames[ClampIndex(index) - 1];
}

const wchar_t* PreviousHeaderPictureName(int index) {
  return kPictureNames[(ClampIndex(index) + 2) % 4];
}

void StartShake(Shake* shake, const UiRect& window_rect) {
  shake->running = true;
  shake->saved = window_rect;
  shake->phase = 0;
  shake->steps_left = kShakeSteps;
}

bool ShakeTick(Shake* shake, UiRect* place) {
  *place = shake->saved;
  if (shake->steps_left <= 0) {
    shake->running = false;
    return false;
  }
  --shake->steps_left;
  // Each move is taken from the saved place, so the window trembles around it and never drifts.
  static const int kDx[4] = {-kShakeDistance, 0, kShakeDistance, 0};
  static const int kDy[4] = {0, -kShakeDistance, 0, kShakeDistance};
  place->left += kDx[shake->phase];
  place->right += kDx[shake->phase];
  place->top += kDy[shake->phase];
  place->bottom += kDy[shake->phase];
  shake->phase = (shake->phase + 1) % 4;
  return true;
}

}  // namespace installer
