#include "translate_pass/translation_pass.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "tests/translate_pass/in_memory_windows.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

const AnsiText kQueding = "\xC8\xB7\xB6\xA8";  // 确定

// The tool's own window (handles 1 to 4) and a sample program: a dialog with a button, a
// group box with two check boxes, a panel with a grandchild, and a few texts to skip.
class TranslationPassTest : public ::testing::Test {
 public:
  enum : WindowHandle {
    kLink = 4,
    kDialog = 10, kButton, kChinese, kGroup, kAlpha, kBeta, kOkChinese, kPanel, kGrandchild,
    kEmpty, kSpaces, kHung
  };

 protected:
  void SetUp() override {
    AddOwn({FakeToolWindow::kMain, 0, "Zelvane", {0, 0, 274, 184}});
    AddOwn({FakeToolWindow::kStatus, FakeToolWindow::kMain, "status", {16, 128, 256, 148}});
    AddOwn({FakeToolWindow::kDescription, FakeToolWindow::kMain, "about", {16, 8, 256, 96}});
    AddOwn({kLink, FakeToolWindow::kMain, "Home page", {16, 160, 100, 176}});

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

  void AddOwn(FakeWindow window) {
    window.ownProcess = true;
    windows.Add(window);
  }

  void Translate(WindowHandle under) {
    windows.PutCursorOn(under);
    TranslateWindowUnderCursor(windows, tool, originals);
  }
  void Restore(WindowHandle under) {
    windows.PutCursorOn(under);
    RestoreWindowUnderCursor(windows, tool, originals);
  }

  InMemoryWindows windows;
  FakeToolWindow tool;
  OriginalTexts originals;
};

// The texts the sample dialog asks for, in order: the descendants, then the caption.
const std::vector<AnsiText> kDialogTexts{"Open", "Options", "Alpha", "Beta", "OK" + kQueding,
                                         "Panel", "Deep", "Sample"};

TEST_F(TranslationPassTest, TranslatesDescendantsInEnumerationOrderThenTheCaption) {
  Translate(kDialog);

  EXPECT_EQ(tool.requests, kDialogTexts);
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
  EXPECT_EQ(windows.TextOf(kAlpha), "[Alpha]");
  EXPECT_EQ(windows.TextOf(kGrandchild), "[Deep]");
  EXPECT_EQ(windows.TextOf(kOkChinese), "OK" + kQueding);  // cleaned reply
  EXPECT_EQ(windows.TextOf(kDialog), "[Sample]");
  EXPECT_EQ(windows.writes.back().first, kDialog);
}

TEST_F(TranslationPassTest, ReadsEachWindowOnceAndSamplesTheCursorOnce) {
  Translate(kDialog);
  for (const auto& read : windows.reads) EXPECT_EQ(read.second, 1) << "window " << read.first;
  EXPECT_EQ(windows.reads.count(kDialog), 1u);
  EXPECT_EQ(windows.cursorSamples, 1);
}

TEST_F(TranslationPassTest, LeavesChineseBlankAndUnreadableTextsAlone) {
  Translate(kDialog);

  EXPECT_EQ(windows.TextOf(kChinese), kQueding + " now");
  EXPECT_EQ(windows.TextOf(kEmpty), "");
  EXPECT_EQ(windows.TextOf(kSpaces), " \xA1\xA1 ");
  EXPECT_EQ(windows.TextOf(kHung), "Frozen");
  for (const auto& write : windows.writes)
    EXPECT_THAT((std::vector<WindowHandle>{kChinese, kEmpty, kSpaces, kHung}),
                Not(Contains(write.first)));
}

TEST_F(TranslationPassTest, TellsTheFrontTheTextsToAskOnceBeforeTheFirstRequest) {
  windows.Add({30, kDialog, "Open", {310, 580, 360, 590}});      // same as the button
  windows.Add({31, kGrandchild, "Sample", {520, 320, 530, 330}});  // same as the caption
  std::size_t begunAtFirstRequest = 99;
  tool.beforeReply = [&] {
    if (begunAtFirstRequest == 99) begunAtFirstRequest = tool.begun.size();
  };
  Translate(kDialog);

  EXPECT_EQ(begunAtFirstRequest, 1u);
  ASSERT_EQ(tool.begun.size(), 1u);
  EXPECT_EQ(tool.begun[0], (std::vector<AnsiText>{"Open", "Options", "Alpha", "Beta",
                                                   "OK" + kQueding, "Panel", "Deep", "Sample"}));
}

TEST_F(TranslationPassTest, NothingToAskBeginsNothing) {
  windows.Find(kChinese)->text = kQueding;
  Translate(kChinese);
  EXPECT_THAT(tool.begun, ElementsAre(std::vector<AnsiText>{kQueding}));  // the caption

  tool.begun.clear();
  Translate(kEmpty);
  EXPECT_THAT(tool.begun, IsEmpty());
  EXPECT_THAT(tool.requests, ElementsAre(kQueding));
  EXPECT_EQ(tool.statuses.back(), pass_text::kFinished);
}

TEST_F(TranslationPassTest, TextInSeveralWindowsIsAskedOncePerPass) {
  windows.Add({30, kDialog, "Open", {310, 580, 360, 590}});
  windows.Add({31, kPanel, "Gone", {520, 350, 530, 360}});
  windows.Add({32, kGrandchild, "Gone", {520, 320, 530, 330}});
  windows.Find(kDialog)->text = "Open";
  Translate(kDialog);

  EXPECT_EQ(std::count(tool.requests.begin(), tool.requests.end(), "Open"), 1);
  EXPECT_EQ(std::count(tool.requests.begin(), tool.requests.end(), "Gone"), 1);
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
  EXPECT_EQ(windows.TextOf(30), "[Open]");
  EXPECT_EQ(windows.TextOf(kDialog), "[Open]");
  EXPECT_EQ(windows.TextOf(31), "Gone");
  EXPECT_EQ(windows.TextOf(32), "Gone");
  EXPECT_EQ(tool.statuses.back(), pass_text::FinishedWithFailures(2));  // each window counts

  tool.requests.clear();
  Translate(kButton);  // the next pass asks again
  EXPECT_THAT(tool.requests, ElementsAre("[Open]"));
}

// Window kinds and texts: which are sent (and written), which are never touched.
struct KindCase {
  const char* name;
  AnsiText className;
  std::uint32_t style;
  AnsiText parentClassName;  // "" for the dialog's own class
  AnsiText text;
  bool sent;
};

class WindowKindTest : public TranslationPassTest, public ::testing::WithParamInterface<KindCase> {};

constexpr std::uint32_t kReadOnly = 0x0800;

TEST_P(WindowKindTest, DecidedBeforeAnyRequest) {
  const KindCase& c = GetParam();
  WindowHandle parent = kDialog;
  if (!c.parentClassName.empty()) {
    FakeWindow combo{40, kDialog, "", {600, 600, 650, 620}};
    combo.className = c.parentClassName;
    windows.Add(combo);
    parent = 40;
  }
  FakeWindow probe{41, parent, c.text, {600, 600, 620, 610}};
  probe.className = c.className;
  probe.style = c.style;
  windows.Add(probe);
  tool.replies[c.text] = "translated";
  Translate(kDialog);

  EXPECT_EQ(std::count(tool.requests.begin(), tool.requests.end(), c.text), c.sent ? 1 : 0);
  EXPECT_EQ(windows.TextOf(41), c.sent ? "translated" : c.text);
  EXPECT_EQ(std::count(tool.begun[0].begin(), tool.begun[0].end(), c.text), c.sent ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowKindTest,
    ::testing::Values(
        KindCase{"EditableEdit", "Edit", 0, "", "user typed", false},
        KindCase{"EditableEditAnyCase", "EDIT", 0x50000000, "", "user typed", false},
        KindCase{"ReadOnlyEdit", "Edit", kReadOnly, "", "Label", true},
        KindCase{"RichEdit", "RichEdit", 0, "", "user typed", false},
        KindCase{"RichEdit20A", "RichEdit20A", 0, "", "user typed", false},
        KindCase{"RichEdit20W", "richedit20w", 0, "", "user typed", false},
        KindCase{"RichEdit50W", "RichEdit50W", 0, "", "user typed", false},
        KindCase{"RichEdit60W", "RICHEDIT60W", 0, "", "user typed", false},
        KindCase{"ReadOnlyRichEdit", "RichEdit50W", kReadOnly, "", "Notice", true},
        KindCase{"ComboBox", "ComboBox", 0, "", "Choice", false},
        KindCase{"ComboBoxEx", "ComboBoxEx32", 0, "", "Choice", false},
        KindCase{"ComboEdit", "Edit", 0, "ComboBox", "Choice", false},
        KindCase{"ReadOnlyComboEdit", "Edit", kReadOnly, "ComboBox", "Choice", false},
        KindCase{"EditLikeClass", "EditPlus", 0, "", "Label", true},
        KindCase{"Button", "Button", 0, "", "Cancel", true},
        KindCase{"Static", "Static", 0, "", "Name:", true},
        KindCase{"Digits", "Static", 0, "", "471", false},
        KindCase{"Percent", "Static", 0, "", "100%", false},
        KindCase{"Dashes", "Static", 0, "", "---", false},
        KindCase{"Version", "Static", 0, "", "1.0.0.0", false},
        KindCase{"FullWidthDigitsAndPunctuation", "Static", 0, "", "\xA3\xB1\xA3\xB2\xA1\xA3",
                 false},                                                     // １２。
        KindCase{"BoxDrawing", "Static", 0, "", "\xA9\xA4\xA9\xA4", false},  // ──
        KindCase{"LetterAndDigit", "Static", 0, "", "v1", true},
        KindCase{"LetterAmongDigits", "Static", 0, "", "12a34", true},
        KindCase{"FullWidthLetter", "Static", 0, "", "\xA3\xC1" "1", true},  // Ａ1
        KindCase{"Katakana", "Static", 0, "", "\xA5\xA2", true},             // ア
        KindCase{"Greek", "Static", 0, "", "\xA6\xC1", true},                // α
        KindCase{"GbkOnlyHanzi", "Static", 0, "", "\x81\x40", true},         // 丂
        KindCase{"ChineseFirst", "Static", 0, "", kQueding + "OK", false},
        KindCase{"NonPinyinFirst", "Static", 0, "", "\xD8\xBC", true}),  // 丶
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TranslationPassTest, CaptionFollowsTheSameKindRules) {
  windows.Find(kDialog)->className = "Edit";
  Translate(kDialog);
  EXPECT_THAT(tool.requests, Not(Contains("Sample")));
  EXPECT_EQ(windows.TextOf(kDialog), "Sample");

  windows.Find(kButton)->text = "2.5";
  tool.requests.clear();
  Translate(kButton);
  EXPECT_THAT(tool.requests, IsEmpty());
}

struct CapCase {
  const char* name;
  AnsiText source;
  std::size_t replyBytes;  // the reply is this many 'x'
  bool sent;
  bool written;
};

class CapTest : public TranslationPassTest, public ::testing::WithParamInterface<CapCase> {};

TEST_P(CapTest, LongTextsAreNotSentAndRunawayRepliesNotWritten) {
  const CapCase& c = GetParam();
  windows.Find(kButton)->text = c.source;
  tool.replies[c.source] = AnsiText(c.replyBytes, 'x');
  Translate(kButton);
  EXPECT_EQ(tool.requests.size(), c.sent ? 1u : 0u);
  EXPECT_EQ(windows.TextOf(kButton), c.written ? AnsiText(c.replyBytes, 'x') : c.source);
}

const AnsiText kHanzi = "\xB0\xA1";  // 啊
AnsiText Repeat(const AnsiText& piece, std::size_t times) {
  AnsiText text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CapTest,
    ::testing::Values(
        CapCase{"FiveThousandLetters", AnsiText(5000, 'a'), 10, true, true},
        CapCase{"OneLetterTooMany", AnsiText(5001, 'a'), 10, false, false},
        // Characters, not bytes: 5000 double-byte characters are 10000 bytes and still sent.
        CapCase{"FiveThousandDoubleByte", "a" + Repeat(kHanzi, 4999), 10, true, true},
        CapCase{"DoubleByteTooMany", "a" + Repeat(kHanzi, 5000), 10, false, false},
        CapCase{"EightTimesPlusSlack", "abcd", 8 * 4 + 1024, true, true},
        CapCase{"GrowsTooMuch", "abcd", 8 * 4 + 1025, true, false},
        // A 9999-byte source may grow past 64 KB by the factor; the absolute cap still holds.
        CapCase{"SixtyFourKilobytes", "a" + Repeat(kHanzi, 4999), 64 * 1024, true, true},
        CapCase{"OverSixtyFourKilobytes", "a" + Repeat(kHanzi, 4999), 64 * 1024 + 1, true,
                false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TranslationPassTest, ReportsProgressAndEndsWithTheDesktopRefresh) {
  Translate(kDialog);

  // Eight texts to ask; the seven descendants report progress, the caption is only written.
  std::vector<AnsiText> expected;
  for (std::size_t done = 1; done <= 7; ++done) expected.push_back(pass_text::Progress(done, 8));
  expected.push_back(pass_text::kFinished);
  EXPECT_EQ(tool.statuses, expected);
  EXPECT_EQ(pass_text::Progress(3, 8), "\xD5\xFD\xD4\xDA\xB7\xAD\xD2\xEB... 3/8");
  // Each written descendant: write, pump, invalidate; the caption only gets written.
  const std::vector<std::string> tail(windows.log.end() - 5, windows.log.end());
  EXPECT_THAT(tail, ElementsAre("write " + std::to_string(kGrandchild), "pump",
                                "invalidate " + std::to_string(kGrandchild),
                                "write " + std::to_string(kDialog), "refresh"));
  EXPECT_EQ(windows.List().PendingCount(), 0u);
}

TEST_F(TranslationPassTest, ProgressCountsWindowsThatFailed) {
  tool.replies.erase("Options");
  Translate(kDialog);
  EXPECT_THAT(tool.statuses, ElementsAre(pass_text::Progress(1, 8), pass_text::Progress(3, 8),
                                         pass_text::Progress(4, 8), pass_text::Progress(5, 8),
                                         pass_text::Progress(6, 8), pass_text::Progress(7, 8),
                                         pass_text::FinishedWithFailures(1)));
}

TEST_F(TranslationPassTest, OwnTextIsTranslatedEvenWhenItStartsWithChinese) {
  windows.Find(kDialog)->text = kQueding;
  tool.replies[kQueding] = "Confirm";
  Translate(kDialog);
  EXPECT_EQ(tool.requests.back(), kQueding);
  EXPECT_EQ(windows.TextOf(kDialog), "Confirm");
}

TEST_F(TranslationPassTest, WindowWithoutDescendantsGetsOnlyItsOwnText) {
  Translate(kButton);
  EXPECT_THAT(tool.requests, ElementsAre("Open"));
  EXPECT_THAT(tool.statuses, ElementsAre(pass_text::kFinished));
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
}

class GuardTest : public TranslationPassTest, public ::testing::WithParamInterface<WindowHandle> {};

TEST_P(GuardTest, CursorOnAnyWindowOfTheToolOnlyAnswersWithAStatus) {
  for (const bool restore : {false, true}) {
    tool.statuses.clear();
    restore ? Restore(GetParam()) : Translate(GetParam());
    EXPECT_THAT(tool.statuses, ElementsAre(pass_text::kJoking));
    EXPECT_THAT(tool.requests, IsEmpty());
    EXPECT_THAT(windows.log, IsEmpty());  // no enumeration, write or refresh
    EXPECT_THAT(windows.reads, IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(ToolWindows, GuardTest,
                         ::testing::Values(FakeToolWindow::kMain, FakeToolWindow::kStatus,
                                           FakeToolWindow::kDescription,
                                           TranslationPassTest::kLink));

TEST_F(TranslationPassTest, NoWindowOrTheDesktopUnderTheCursorTouchesNothing) {
  windows.SetDesktop(kDialog);
  for (const bool restore : {false, true}) {
    windows.PutCursorAt({5000, 5000}, 0);
    restore ? RestoreWindowUnderCursor(windows, tool, originals)
            : TranslateWindowUnderCursor(windows, tool, originals);
    windows.PutCursorOn(kDialog);
    restore ? RestoreWindowUnderCursor(windows, tool, originals)
            : TranslateWindowUnderCursor(windows, tool, originals);
  }
  EXPECT_THAT(windows.log, IsEmpty());
  EXPECT_THAT(tool.requests, IsEmpty());
  EXPECT_THAT(tool.statuses, IsEmpty());
}

TEST_F(TranslationPassTest, BlankWindowNeverGetsThePreviousReply) {
  // The reply for "Open" stands in 翻译结果 when the blank windows come up.
  windows.Find(kDialog)->text = "   ";
  Translate(kDialog);
  EXPECT_EQ(windows.TextOf(kEmpty), "");
  EXPECT_EQ(windows.TextOf(kSpaces), " \xA1\xA1 ");
  EXPECT_EQ(windows.TextOf(kDialog), "   ");
  EXPECT_EQ(tool.requests.back(), "Deep");
}

TEST_F(TranslationPassTest, FailedTranslationKeepsTheWindowsText) {
  tool.replies.erase("Alpha");
  tool.replies["Beta"] = "()%";  // cleans down to nothing
  Translate(kDialog);
  EXPECT_EQ(windows.TextOf(kAlpha), "Alpha");
  EXPECT_EQ(windows.TextOf(kBeta), "Beta");
  EXPECT_EQ(windows.TextOf(kPanel), "[Panel]");
}

struct OutcomeCase {
  const char* name;
  std::vector<const char*> answered;  // texts that get a reply; every other one fails
  std::vector<AnsiText> expectedRequests;
  AnsiText lastWord;
};

class OutcomeTest : public TranslationPassTest,
                    public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(OutcomeTest, ThreeFailuresInARowEndTheRequestsAndTheLastWordCountsTheRest) {
  std::map<AnsiText, AnsiText> replies;
  for (const char* text : GetParam().answered) replies[text] = tool.replies[text];
  tool.replies = replies;
  Translate(kDialog);
  EXPECT_EQ(tool.requests, GetParam().expectedRequests);
  EXPECT_EQ(tool.statuses.back(), GetParam().lastWord);
  EXPECT_EQ(windows.log.back(), "refresh");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutcomeTest,
    ::testing::Values(
        OutcomeCase{"AllTranslated",
                    {"Open", "Options", "Alpha", "Beta", "OK\xC8\xB7\xB6\xA8", "Panel", "Deep",
                     "Sample"},
                    kDialogTexts,
                    pass_text::kFinished},
        OutcomeCase{"DeadNetwork", {}, {"Open", "Options", "Alpha"}, pass_text::kNoService},
        // Open, then three failures: the five texts never asked count as untranslated too.
        OutcomeCase{"StopAfterOneSuccess",
                    {"Open"},
                    {"Open", "Options", "Alpha", "Beta"},
                    pass_text::FinishedWithFailures(7)},
        OutcomeCase{"SuccessResetsTheStreak",
                    {"Alpha"},
                    {"Open", "Options", "Alpha", "Beta", "OK\xC8\xB7\xB6\xA8", "Panel"},
                    pass_text::FinishedWithFailures(7)},
        OutcomeCase{"TwoFailuresAreNotEnough",
                    {"Alpha", "Panel"},
                    kDialogTexts,
                    pass_text::FinishedWithFailures(6)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TranslationPassTest, LastWordTexts) {
  EXPECT_EQ(pass_text::kFinished, "\xB7\xAD\xD2\xEB\xCD\xEA\xB3\xC9");  // 翻译完成
  // 翻译完成，12项未能翻译
  EXPECT_EQ(pass_text::FinishedWithFailures(12),
            "\xB7\xAD\xD2\xEB\xCD\xEA\xB3\xC9\xA3\xAC"
            "12\xCF\xEE\xCE\xB4\xC4\xDC\xB7\xAD\xD2\xEB");
}

// The tool starts closing once the given number of requests were made, or once the given
// window is about to be written.
struct StopCase {
  const char* name;
  std::size_t afterRequests;
  std::vector<AnsiText> expectedRequests;
  std::vector<WindowHandle> expectedWrites;
};

class StopTest : public TranslationPassTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopTest, StopRequestedEndsThePassAtOnce) {
  const StopCase& c = GetParam();
  tool.stopWhen = [&] { return tool.requests.size() >= c.afterRequests; };
  Translate(kDialog);
  EXPECT_EQ(tool.requests, c.expectedRequests);
  std::vector<WindowHandle> written;
  for (const auto& write : windows.writes) written.push_back(write.first);
  EXPECT_EQ(written, c.expectedWrites);
  EXPECT_THAT(windows.log, Not(Contains("refresh")));
  EXPECT_THAT(tool.statuses, Not(Contains(pass_text::kFinished)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StopTest,
    ::testing::Values(StopCase{"BeforeTheFirstRequest", 0, {}, {}},
                      // The reply has come, but the window is not written.
                      StopCase{"AfterTheFirstReply", 1, {"Open"}, {}},
                      StopCase{"MidPass", 3, {"Open", "Options", "Alpha"}, {11, 13}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TranslationPassTest, RestorePutsBackWhatTheToolWroteAndKeepsLaterChanges) {
  Translate(kDialog);
  windows.Find(kAlpha)->text = "Changed by the program";
  windows.writes.clear();
  tool.statuses.clear();
  Restore(kDialog);

  EXPECT_EQ(windows.TextOf(kButton), "Open");
  EXPECT_EQ(windows.TextOf(kBeta), "Beta");
  EXPECT_EQ(windows.TextOf(kOkChinese), "OK" + kQueding);
  EXPECT_EQ(windows.TextOf(kGrandchild), "Deep");
  EXPECT_EQ(windows.TextOf(kDialog), "Sample");
  EXPECT_EQ(windows.TextOf(kAlpha), "Changed by the program");
  std::vector<WindowHandle> written;
  for (const auto& write : windows.writes) written.push_back(write.first);
  EXPECT_EQ(written, (std::vector<WindowHandle>{kButton, kGroup, kBeta, kOkChinese, kPanel,
                                                kGrandchild, kDialog}));
  EXPECT_THAT(tool.statuses, ElementsAre(pass_text::kRestored));
  EXPECT_THAT(tool.requests, Contains("Open"));  // from the pass, none from the restore
  EXPECT_EQ(tool.requests.size(), kDialogTexts.size());
}

TEST_F(TranslationPassTest, RestoreCoversOnlyTheWindowUnderTheCursorAndBelow) {
  Translate(kDialog);
  Restore(kGroup);
  EXPECT_EQ(windows.TextOf(kGroup), "Options");
  EXPECT_EQ(windows.TextOf(kAlpha), "Alpha");
  EXPECT_EQ(windows.TextOf(kBeta), "Beta");
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
  EXPECT_EQ(windows.TextOf(kDialog), "[Sample]");
}

TEST_F(TranslationPassTest, TranslatingAgainKeepsTheFirstOriginal) {
  tool.replies["[Open]"] = "[[Open]]";
  Translate(kButton);
  Translate(kButton);
  EXPECT_EQ(windows.TextOf(kButton), "[[Open]]");
  Restore(kButton);
  EXPECT_EQ(windows.TextOf(kButton), "Open");

  // F2 again translates again, and Shift+F2 again restores the same original.
  Translate(kButton);
  EXPECT_EQ(windows.TextOf(kButton), "[Open]");
  Restore(kButton);
  EXPECT_EQ(windows.TextOf(kButton), "Open");

  // A program that changed a translated label: its text is the new original.
  Translate(kButton);
  windows.Find(kButton)->text = "Save";
  tool.replies["Save"] = "[Save]";
  Translate(kButton);
  Restore(kButton);
  EXPECT_EQ(windows.TextOf(kButton), "Save");
}

TEST_F(TranslationPassTest, RestoreRemembersOnlyWindowsThatWereWritten) {
  windows.Find(kBeta)->takesWrites = false;
  tool.replies.erase("Alpha");
  Translate(kDialog);
  EXPECT_FALSE(originals.Find(kAlpha));
  EXPECT_FALSE(originals.Find(kBeta));
  EXPECT_TRUE(originals.Find(kGroup));
  EXPECT_FALSE(originals.Find(kChinese));
  // A failed write is still a translation the service gave.
  EXPECT_EQ(tool.statuses.back(), pass_text::FinishedWithFailures(1));
}

// Gone windows are forgotten by the next pass or restore, whichever comes first.
class ForgetGoneTest : public TranslationPassTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ForgetGoneTest, WindowsThatAreGoneAreForgotten) {
  Translate(kDialog);
  ASSERT_TRUE(originals.Find(kGrandchild));
  windows.Remove(kPanel);
  GetParam() ? Restore(kButton) : Translate(kButton);
  EXPECT_FALSE(originals.Find(kPanel));
  EXPECT_FALSE(originals.Find(kGrandchild));
  EXPECT_TRUE(originals.Find(kAlpha));
  EXPECT_TRUE(originals.Find(kDialog));
}

INSTANTIATE_TEST_SUITE_P(Presses, ForgetGoneTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Restore" : "Translate"; });

TEST_F(TranslationPassTest, RestoreStopsWhenTheToolCloses) {
  Translate(kDialog);
  windows.writes.clear();
  tool.stopWhen = [] { return true; };
  Restore(kDialog);
  EXPECT_THAT(windows.writes, IsEmpty());
  EXPECT_THAT(tool.statuses, Not(Contains(pass_text::kRestored)));
}

// A press while a pass runs: neither a second pass nor a restore starts.
class OneAtATimeTest : public TranslationPassTest,
                       public ::testing::WithParamInterface<bool> {};

TEST_P(OneAtATimeTest, SecondPressWhileAPassRunsStartsNothing) {
  const bool restore = GetParam();
  std::mutex mutex;
  std::condition_variable changed;
  bool firstRequestMade = false, secondPressTried = false, secondRan = true;
  tool.beforeReply = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (firstRequestMade) return;
    firstRequestMade = true;
    changed.notify_all();
    changed.wait(lock, [&] { return secondPressTried; });
  };
  windows.PutCursorOn(kButton);
  std::thread first([&] { TranslateWindowUnderCursorIfIdle(windows, tool, originals); });
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return firstRequestMade; });
  }
  InMemoryWindows otherWindows;
  FakeToolWindow otherTool;
  OriginalTexts otherOriginals;
  secondRan = restore ? RestoreWindowUnderCursorIfIdle(otherWindows, otherTool, otherOriginals)
                      : TranslateWindowUnderCursorIfIdle(otherWindows, otherTool, otherOriginals);
  {
    std::lock_guard<std::mutex> lock(mutex);
    secondPressTried = true;
  }
  changed.notify_all();
  first.join();

  EXPECT_FALSE(secondRan);
  EXPECT_THAT(otherTool.statuses, IsEmpty());
  EXPECT_THAT(tool.requests, ElementsAre("Open"));
  // Once the first pass has ended, the next press runs again.
  EXPECT_TRUE(restore ? RestoreWindowUnderCursorIfIdle(windows, tool, originals)
                      : TranslateWindowUnderCursorIfIdle(windows, tool, originals));
}

INSTANTIATE_TEST_SUITE_P(Presses, OneAtATimeTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Restore" : "Translate"; });

}  // namespace
