// The timed effects as the window would run them, step after step.
#include "UI/install_schedules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace installer {
namespace {

// Runs the simulated progress from its first value until it stops posting; returns the values
// shown and the delays posted after each.
struct ProgressRun {
  std::vector<float> shown;
  std::vector<int64_t> delays;
};
ProgressRun RunSimulatedProgress() {
  ProgressRun run;
  float value = kFirstSimulatedProgress;
  for (int guard = 0; guard < 1000; ++guard) {
    const ProgressStep step = SimulatedProgressStep(value, false, false);
    if (step.show) run.shown.push_back(step.value);
    if (!step.again) break;
    run.delays.push_back(step.delay);
    value = step.next;
  }
  return run;
}

int StepsBefore(const ProgressRun& run, float threshold) {
  int steps = 0;
  while (steps < static_cast<int>(run.shown.size()) && run.shown[steps] < threshold) ++steps;
  return steps;
}

TEST(SimulatedProgress, ReachesItsMarksThenWaits) {
  const ProgressRun run = RunSimulatedProgress();
  ASSERT_FALSE(run.shown.empty());
  EXPECT_FLOAT_EQ(run.shown.front(), 0.811f);
  const int to_90 = StepsBefore(run, 0.9f);
  const int to_95 = StepsBefore(run, 0.95f);
  const int to_99 = StepsBefore(run, 0.99f);
  // After 89 steps the bar shows 0.9 itself, not a value a float's drift keeps below it.
  EXPECT_EQ(to_90, 89);
  EXPECT_FLOAT_EQ(run.shown[to_90], 0.9f);
  EXPECT_EQ(to_95 - to_90, 100);
  EXPECT_EQ(to_99 - to_95, 80);
  // Every value below 0.99 is shown once, then the bar stays: no step after the last one.
  EXPECT_EQ(static_cast<int>(run.shown.size()), to_99);
  EXPECT_LT(run.shown.back(), 0.99f);
  int64_t total = 0;
  for (size_t i = 0; i < run.delays.size(); ++i) {
    const int64_t expected = run.shown[i] < 0.9f ? 300000 : run.shown[i] < 0.95f ? 800000 : 2000000;
    EXPECT_EQ(run.delays[i], expected) << i;
    total += run.delays[i];
  }
  // About 27 s, 80 s and 160 s: 267 s in all.
  EXPECT_NEAR(total / 1e6, 27 + 80 + 160, 2);
}

TEST(SimulatedProgress, StopsWhenClosingOrInstalled) {
  for (bool closing : {false, true}) {
    for (bool installed : {false, true}) {
      const ProgressStep step = SimulatedProgressStep(0.85f, closing, installed);
      const bool runs = !closing && !installed;
      EXPECT_EQ(step.show, runs);
      EXPECT_EQ(step.again, runs);
    }
  }
}

TEST(HeaderPicture, FadesInEachPictureThenHoldsIt) {
  HeaderPicture picture;
  std::vector<std::string> trace;
  for (int i = 0; i < 17; ++i) {
    const int64_t delay = StepHeaderPicture(&picture);
    trace.push_back(std::to_string(picture.index) + (picture.fading ? "f" : "h") + std::to_string(picture.alpha) + "/" +
                    std::to_string(delay / 1000));
  }
  const std::vector<std::string> expected = {"2f20/100",  "2f50/100",   "2f100/100", "2f150/100",  "2f180/100",
                                             "2f220/100", "2h255/4000", "3f20/100",  "3f50/100",   "3f100/100",
                                             "3f150/100", "3f180/100",  "3f220/100", "3h255/4000", "4f20/100",
                                             "4f50/100",  "4f100/100"};
  EXPECT_EQ(trace, expected);
  picture = {false, 4, 255};
  StepHeaderPicture(&picture);
  EXPECT_EQ(picture.index, 1);  // 4 wraps to 1
}

TEST(HeaderPicture, NamesOfTheCurrentAndThePreviousPicture) {
  const wchar_t* const current[] = {L"APP", L"APP1", L"APP2", L"APP3"};
  const wchar_t* const previous[] = {L"APP3", L"APP", L"APP1", L"APP2"};
  for (int index = 1; index <= 4; ++index) {
    EXPECT_STREQ(HeaderPictureName(index), current[index - 1]);
    EXPECT_STREQ(PreviousHeaderPictureName(index), previous[index - 1]);
  }
  EXPECT_STREQ(HeaderPictureName(0), L"APP");  // a broken index draws the first picture
  EXPECT_STREQ(HeaderPictureName(9), L"APP");
}

TEST(Shake, ElevenMovesAroundThePlaceThenBack) {
  Shake shake;
  const UiRect start{100, 200, 752, 612};
  StartShake(&shake, start);
  EXPECT_TRUE(shake.running);
  std::vector<std::pair<int, int>> moves;
  UiRect place;
  while (ShakeTick(&shake, &place)) {
    EXPECT_EQ(place.width(), start.width());
    EXPECT_EQ(place.height(), start.height());
    moves.emplace_back(place.left - start.left, place.top - start.top);
  }
  const std::vector<std::pair<int, int>> expected = {{-2, 0}, {0, -2}, {2, 0},  {0, 2},  {-2, 0}, {0, -2},
                                                     {2, 0},  {0, 2},  {-2, 0}, {0, -2}, {2, 0}};
  EXPECT_EQ(moves, expected);
  EXPECT_EQ(place, start);
  EXPECT_FALSE(shake.running);
}

}  // namespace
}  // namespace installer
