// The extraction step as the controller starts it: queued on a real file thread, a real archive
// unpacked there, the outcome handed to the callback on the UI loop of the test thread.
#include "extract/extract_task.h"

#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "extract_loops.h"
#include "extract_test_support.h"
#include "fake_extract_environment.h"

namespace extract_test {
namespace {

// What the environment saw, kept beyond its life so the test can tell where it was let go.
struct EnvReport {
  std::thread::id used_on;
  std::thread::id released_on;
  std::vector<std::string> trace;
  std::vector<std::u16string> stop_folders;
};

class ReportingEnvironment : public FakeExtractEnvironment {
 public:
  explicit ReportingEnvironment(EnvReport* report) : report_(report) {}
  ~ReportingEnvironment() override {
    report_->released_on = std::this_thread::get_id();
    report_->trace = trace;
    report_->stop_folders = stop_folders;
  }
  void StopProductPrograms(const std::u16string& install_folder) override {
    report_->used_on = std::this_thread::get_id();
    FakeExtractEnvironment::StopProductPrograms(install_folder);
  }

 private:
  EnvReport* report_;
};

// Something the callback holds (the controller, in the program): where is it let go?
struct Holder {
  explicit Holder(std::thread::id* released_on) : released_on_(released_on) {}
  ~Holder() { *released_on_ = std::this_thread::get_id(); }
  std::thread::id* released_on_;
};

struct Delivery {
  int calls = 0;
  std::thread::id thread;
  ExtractOutcome outcome;
  std::thread::id holder_released_on;
};

ExtractDoneCallback RecordDelivery(Delivery* delivery) {
  auto holder = std::make_shared<Holder>(&delivery->holder_released_on);
  return [delivery, holder](const ExtractOutcome& outcome) {
    ++delivery->calls;
    delivery->thread = std::this_thread::get_id();
    delivery->outcome = outcome;
    ExtractLoops::QuitUi();
  };
}

TEST(PostExtractPackageTest, UnpacksOnTheFileThreadAndReportsOnTheUiThread) {
  ScratchFolder scratch;
  const fs::path install = scratch.path() / "not yet" / "Pindle";  // created by the step
  EnvReport report;
  auto env = std::make_shared<ReportingEnvironment>(&report);
  env->use_real_unpack = true;
  Delivery delivery;
  {
    ExtractLoops loops;
    ASSERT_TRUE(loops.started());
    ASSERT_TRUE(
        PostExtractPackage(std::move(env), U16(Archive("lzma2_solid.7z")), U16(install), RecordDelivery(&delivery)));
    ASSERT_TRUE(loops.RunUiUntilQuit(120)) << "no outcome arrived";
    // The callback and what it holds are let go on the UI loop once it has run.
    EXPECT_EQ(delivery.holder_released_on, std::this_thread::get_id());
  }
  EXPECT_EQ(delivery.calls, 1);
  EXPECT_EQ(delivery.thread, std::this_thread::get_id());
  EXPECT_TRUE(delivery.outcome.success);
  EXPECT_EQ(delivery.outcome.unpack_code, 0);
  EXPECT_EQ(delivery.outcome.attempt, ExtractOutcome::kInProcess);
  ExpectSameTree(ExpectedTree(), install);

  // The whole step ran on the file thread, which also let the environment go.
  EXPECT_NE(report.used_on, std::this_thread::get_id());
  EXPECT_EQ(report.released_on, report.used_on);
  EXPECT_EQ(report.trace, (std::vector<std::string>{"stop", "create folder", "unpack"}));
  EXPECT_EQ(report.stop_folders, std::vector<std::u16string>{U16(install)});
}

TEST(PostExtractPackageTest, AFailedStepArrivesAsAFailure) {
  ScratchFolder scratch;
  EnvReport report;
  auto env = std::make_shared<ReportingEnvironment>(&report);
  env->use_real_unpack = true;
  // 7-Zip fails on the package and on the installer's own file, and names no locked file.
  env->runs = {{true, 2, "ERROR: Data Error\r\n"}, {true, 2, "ERROR: Data Error\r\n"}};
  Delivery delivery;
  {
    ExtractLoops loops;
    ASSERT_TRUE(PostExtractPackage(std::move(env), U16(scratch.path() / "missing.7z"), U16(scratch.path() / "install"),
                                   RecordDelivery(&delivery)));
    ASSERT_TRUE(loops.RunUiUntilQuit(120)) << "no outcome arrived";
  }
  EXPECT_EQ(delivery.calls, 1);
  EXPECT_FALSE(delivery.outcome.success);
  EXPECT_EQ(delivery.outcome.unpack_code, 22);
  EXPECT_EQ(delivery.outcome.attempt, ExtractOutcome::kSelfArchive);
  EXPECT_EQ(report.trace, (std::vector<std::string>{"stop", "create folder", "unpack", "write 7za", "run", "run"}));
}

TEST(PostExtractPackageTest, WithoutAFileLoopNothingIsQueued) {
  ScratchFolder scratch;
  EnvReport report;
  auto env = std::make_shared<ReportingEnvironment>(&report);
  Delivery delivery;
  ExtractLoops loops;
  base::SetThreadLoop(base::kFileLoop, nullptr);
  EXPECT_FALSE(PostExtractPackage(std::move(env), U16(Archive("lzma2_solid.7z")), U16(scratch.path() / "install"),
                                  RecordDelivery(&delivery)));
  EXPECT_FALSE(loops.RunUiUntilQuit(1)) << "only the time limit may end the loop";
  EXPECT_EQ(delivery.calls, 0);
  EXPECT_TRUE(report.trace.empty());
  EXPECT_FALSE(fs::exists(scratch.path() / "install"));
}

}  // namespace
}  // namespace extract_test
