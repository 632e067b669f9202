// The range probe's judgement, the restart pauses and the switch to the whole-file transfer,
// and the thinning of progress redraws.
#include <gtest/gtest.h>

#include <set>

#include "download/probe_judgement.h"
#include "download/progress_meter.h"
#include "download/restart_policy.h"
#include "net/fetch_request.h"

namespace {

using namespace download;

TEST(ProbeJudgementTest, Table) {
  struct Case {
    const char* name;
    bool success;
    int error;
    uint32_t length;
    const char* size;
    bool file_url;
    ProbeOutcome outcome;
  } const cases[] = {
      {"length matches", true, net::kErrorNone, 1000, "1000", false, kProbeMultiPart},
      {"length matches with -fileurl:", true, net::kErrorNone, 1000, "1000", true, kProbeMultiPart},
      {"answered 200: ranges ignored", false, net::kErrorNoRange, 0, "1000", false, kProbeSingle},
      {"answered 200 with -fileurl:", false, net::kErrorNoRange, 0, "1000", true, kProbeSingle},
      {"no length", false, net::kErrorNoLength, 0, "1000", false, kProbeMultiPart},
      {"no server or a silent one", false, net::kErrorNone, 0, "1000", false, kProbeMultiPart},
      {"mismatch without -fileurl:", true, net::kErrorNone, 999, "1000", false, kProbeSizeMismatch},
      {"mismatch with -fileurl:", true, net::kErrorNone, 999, "1000", true, kProbeReplaceSize},
      {"size text not a number", true, net::kErrorNone, 1000, "big", false, kProbeSizeMismatch},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeProbe(c.success, c.error, c.length, c.size, c.file_url), c.outcome) << c.name;
  }
}

TEST(RestartPolicyTest, TheTwentyFirstFailureOfAPartSwitchesToTheWholeFile) {
  uint32_t fail_count = 0;
  for (int failure = 1; failure <= 20; ++failure) {
    EXPECT_FALSE(RecordPartFailure(&fail_count)) << "failure " << failure;
  }
  EXPECT_EQ(fail_count, 40u);
  EXPECT_TRUE(RecordPartFailure(&fail_count));
}

TEST(RestartPolicyTest, PausesLieBetween500And1999Milliseconds) {
  struct Case {
    uint32_t random;
    uint32_t pause;
  } const cases[] = {{0, 500},    {499, 999},  {500, 500},  {1999, 1999},
                     {2000, 500}, {2499, 999}, {2500, 500}, {0xFFFFFFFFu, 1295}};
  for (const Case& c : cases) EXPECT_EQ(RestartPauseMs(c.random), c.pause) << c.random;
  std::set<uint32_t> seen;
  for (uint32_t r = 0; r < 100000; r += 7) {
    const uint32_t pause = RestartPauseMs(r);
    ASSERT_GE(pause, 500u);
    ASSERT_LE(pause, 1999u);
    seen.insert(pause);
  }
  EXPECT_EQ(seen.size(), 1500u);
}

TEST(ProgressMeterTest, EveryFourthReportRedraws) {
  ProgressThinner thinner;
  std::string pattern;
  for (int i = 0; i < 12; ++i) pattern += thinner.Take() ? 'x' : '.';
  EXPECT_EQ(pattern, "...x...x...x");
}

TEST(ProgressMeterTest, SizeLabelInMegabytes) {
  EXPECT_EQ(SizeLabel(0.5f, 734003200), "350.0M/700.0M");
  EXPECT_EQ(SizeLabel(0.0f, 1048576), "0.0M/1.0M");
  EXPECT_EQ(SizeLabel(1.0f, 0), "0.0M/0.0M");
}

}  // namespace
