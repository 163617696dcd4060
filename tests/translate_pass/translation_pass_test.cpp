#include "translate_pass/translation_pass.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/translate_pass/in_memory_windows.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const AnsiText kQueding = "\xC8\xB7\xB6\xA8";  // 确定
const AnsiText kNiHao = "\xC4\xE3\xBA\xC3";    // 你好

// The tool's own window (handles 1 to 4) and a sample program: a dialog with a button, a
// group box with two check boxes, a panel with a grandchild, and a few texts to skip.
class TranslationPassTest : public ::testing::Test {
 protected:
  enum : WindowHandle {
    kLink = 4,
    kDialog = 10, kButton, kChinese, kGroup, kAlpha, kBeta, kOkChinese, kPanel, kGrandchild,
    kEmpty, kSpaces, kHung
  };

  void SetUp() override {
    windows.Add({FakeToolWindow::kMain, 0, "Zelvane", {0, 0, 274, 184}});
    windows.Add({FakeToolWindow::kStatus, FakeToolWindow::kMain, "status", {16, 128, 256, 148}});
    windows.Add({FakeToolWindow::kDescription, FakeToolWindow::kMain, "about", {16, 8, 256, 96}});
    windows.Add({kLink, FakeToolWindow::kMain, "Home page", {16, 160, 100, 176}});

    windows.Add({kDialog, 0, "Sample", {300, 300, 700, 700}});
    windows.Add({kButton, kDialog, "Open", {310, 310, 360, 330}});
    windows.Add({kChinese, kDialog, kQueding + " now", {310, 340, 360, 360}});
    windows.Add({kGroup, kDialog, "Options", {310, 370, 500, 450}});
    windows.Add({kAlpha, kGroup, "Alpha", {320, 390, 400, 410}});
    windows.Add({kBeta, kGroup, "Beta", {320, 420, 400, 440}});
    windows.Add({kOkChinese, kDialog, "OK" + kQueding, {310, 460, 360, 480}});
    windows.Add({kPanel, kDialog, "Panel", {510, 310, 690, 690}});
    windows.Add({kGrandchild, kPanel, "Deep", {520, 320, 600, 340}});
    windows.Add({kEmpty, kDialog, "", {310, 490, 360, 510}});
    windows.Add({kSpaces, kDialog, " \xA1\xA1 ", {310, 520, 360, 540}});  // spaces, 　
    FakeWindow hung{kHung, kDialog, "Frozen", {310, 550, 360, 570}};
    hung.answers = false;
    windows.Add(hung);

    for (const char* word : {"Open", "Options", "Alpha", "Beta", "Panel", "Deep", "Sample",
                             "Home page"})
      tool.replies[word] = AnsiText("[") + word + "]";
    tool.replies["OK" + kQueding] = "OK\\u003c" + kQueding;
  }

  InMemoryWindows windows;
  FakeToolWindow tool;
};

TEST_F(TranslationPassTest, TranslatesDescendantsInEnumerationOrderThenTheCaption) {
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);

  EXPECT_THAT(tool.requests, ElementsAre("Open", "Options", "Alpha", "Beta", "OK" + kQueding,
                                         "Panel", "Deep", "Sample"));
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
  EXPECT_EQ(windows.TextOf(kAlpha), "[Alpha]");
  EXPECT_EQ(windows.TextOf(kGrandchild), "[Deep]");
  EXPECT_EQ(windows.TextOf(kOkChinese), "OK" + kQueding);  // cleaned reply
  EXPECT_EQ(windows.TextOf(kDialog), "[Sample]");
  EXPECT_EQ(windows.writes.back().first, kDialog);
}

TEST_F(TranslationPassTest, LeavesChineseBlankAndUnreadableTextsAlone) {
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);

  EXPECT_EQ(windows.TextOf(kChinese), kQueding + " now");
  EXPECT_EQ(windows.TextOf(kEmpty), "");
  EXPECT_EQ(windows.TextOf(kSpaces), " \xA1\xA1 ");
  EXPECT_EQ(windows.TextOf(kHung), "Frozen");
  for (const auto& write : windows.writes)
    EXPECT_NE(write.first, kChinese) << "a skipped window was written";
}

TEST_F(TranslationPassTest, ReportsProgressAndEndsWithTheDesktopRefresh) {
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);

  ASSERT_EQ(tool.statuses.size(), 8u);  // seven written descendants, then the end
  for (std::size_t i = 0; i + 1 < tool.statuses.size(); ++i)
    EXPECT_EQ(tool.statuses[i], pass_text::kTranslating);
  EXPECT_EQ(tool.statuses.back(), pass_text::kFinished);
  // Each written descendant: write, pump, invalidate; the caption only gets written.
  const std::vector<std::string> tail(windows.log.end() - 5, windows.log.end());
  EXPECT_THAT(tail, ElementsAre("write " + std::to_string(kGrandchild), "pump",
                                "invalidate " + std::to_string(kGrandchild),
                                "write " + std::to_string(kDialog), "refresh"));
  EXPECT_EQ(windows.List().PendingCount(), 0u);
}

TEST_F(TranslationPassTest, OwnTextIsTranslatedEvenWhenItStartsWithChinese) {
  windows.Find(kDialog)->text = kQueding;
  tool.replies[kQueding] = "Confirm";
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_EQ(tool.requests.back(), kQueding);
  EXPECT_EQ(windows.TextOf(kDialog), "Confirm");
}

TEST_F(TranslationPassTest, WindowWithoutDescendantsGetsOnlyItsOwnText) {
  windows.PutCursorOn(kButton);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_THAT(tool.requests, ElementsAre("Open"));
  EXPECT_THAT(tool.statuses, ElementsAre(pass_text::kFinished));
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
}

class GuardTest : public TranslationPassTest, public ::testing::WithParamInterface<WindowHandle> {};

TEST_P(GuardTest, CursorOnTheToolOnlyAnswersWithAStatus) {
  windows.PutCursorOn(GetParam());
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_THAT(tool.statuses, ElementsAre(pass_text::kJoking));
  EXPECT_THAT(tool.requests, IsEmpty());
  EXPECT_THAT(windows.log, IsEmpty());  // no enumeration, write or refresh
}

INSTANTIATE_TEST_SUITE_P(ToolWindows, GuardTest,
                         ::testing::Values(FakeToolWindow::kMain, FakeToolWindow::kStatus,
                                           FakeToolWindow::kDescription));

TEST_F(TranslationPassTest, OtherWindowsOfTheToolAreTranslatedLikeForeignOnes) {
  windows.PutCursorOn(kLink);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_EQ(windows.TextOf(kLink), "[Home page]");
}

TEST_F(TranslationPassTest, NoWindowUnderTheCursorTouchesNothing) {
  windows.PutCursorAt({5000, 5000}, 0);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_THAT(windows.log, IsEmpty());
  EXPECT_THAT(tool.requests, IsEmpty());
  EXPECT_THAT(tool.statuses, IsEmpty());
}

TEST_F(TranslationPassTest, BlankWindowNeverGetsThePreviousReply) {
  // The reply for "Open" stands in 翻译结果 when the blank windows come up.
  windows.Find(kDialog)->text = "   ";
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_EQ(windows.TextOf(kEmpty), "");
  EXPECT_EQ(windows.TextOf(kSpaces), " \xA1\xA1 ");
  EXPECT_EQ(windows.TextOf(kDialog), "   ");
  EXPECT_EQ(tool.requests.back(), "Deep");
}

TEST_F(TranslationPassTest, FailedTranslationKeepsTheWindowsText) {
  tool.replies.erase("Alpha");
  tool.replies["Beta"] = "()%";  // cleans down to nothing
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_EQ(windows.TextOf(kAlpha), "Alpha");
  EXPECT_EQ(windows.TextOf(kBeta), "Beta");
  EXPECT_EQ(windows.TextOf(kPanel), "[Panel]");
}

struct StreakCase {
  const char* name;
  std::vector<const char*> answered;  // texts that get a reply; every other one fails
  std::vector<AnsiText> expectedRequests;
};

class FailureStreakTest : public TranslationPassTest,
                          public ::testing::WithParamInterface<StreakCase> {};

TEST_P(FailureStreakTest, ThreeFailuresInARowEndTheRequests) {
  std::map<AnsiText, AnsiText> replies;
  for (const char* text : GetParam().answered) replies[text] = tool.replies[text];
  tool.replies = replies;
  windows.PutCursorOn(kDialog);
  TranslateWindowUnderCursor(windows, tool);
  EXPECT_EQ(tool.requests, GetParam().expectedRequests);
  EXPECT_EQ(tool.statuses.back(), pass_text::kFinished);
  EXPECT_EQ(windows.log.back(), "refresh");
  EXPECT_EQ(windows.TextOf(kGrandchild), "Deep");  // never asked, or asked in vain
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureStreakTest,
    ::testing::Values(
        StreakCase{"DeadNetwork", {}, {"Open", "Options", "Alpha"}},
        StreakCase{"SuccessResetsTheStreak",
                   {"Alpha"},
                   {"Open", "Options", "Alpha", "Beta", "OK" + kQueding, "Panel"}},
        StreakCase{"TwoFailuresAreNotEnough",
                   {"Alpha", "Panel"},
                   {"Open", "Options", "Alpha", "Beta", "OK" + kQueding, "Panel", "Deep", "Sample"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TranslationPassTest, SecondPassWhileOneRunsStartsNothing) {
  std::mutex mutex;
  std::condition_variable changed;
  bool firstRequestMade = false, secondPassTried = false, secondPassRan = true;
  tool.beforeReply = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (firstRequestMade) return;
    firstRequestMade = true;
    changed.notify_all();
    changed.wait(lock, [&] { return secondPassTried; });
  };
  windows.PutCursorOn(kButton);
  std::thread first([&] { TranslateWindowUnderCursorIfIdle(windows, tool); });
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return firstRequestMade; });
  }
  InMemoryWindows otherWindows;
  FakeToolWindow otherTool;
  secondPassRan = TranslateWindowUnderCursorIfIdle(otherWindows, otherTool);
  {
    std::lock_guard<std::mutex> lock(mutex);
    secondPassTried = true;
  }
  changed.notify_all();
  first.join();

  EXPECT_FALSE(secondPassRan);
  EXPECT_THAT(otherTool.statuses, IsEmpty());
  EXPECT_THAT(tool.requests, ElementsAre("Open"));
  // Once the first pass has ended, the next press runs again.
  EXPECT_TRUE(TranslateWindowUnderCursorIfIdle(windows, tool));
}

}  // namespace
