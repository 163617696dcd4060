#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/translate_pass/in_memory_windows.h"
#include "translate_pass/child_window_list.h"
#include "translate_pass/refresh_desktop.h"
#include "translate_pass/window_under_cursor.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct ZOrderCase {
  const char* name;
  std::vector<FakeWindow> siblings;  // children of window 100 in Z-order, first on top
  WindowHandle hit;
  WindowHandle expected;
};

class WindowUnderCursorTest : public ::testing::TestWithParam<ZOrderCase> {};

TEST_P(WindowUnderCursorTest, PicksTheSmallestVisibleSiblingAfterTheHit) {
  InMemoryWindows windows;
  windows.Add({100, 0, "parent", {0, 0, 500, 500}});
  windows.Add({200, 0, "other top-level", {0, 0, 5, 5}});
  for (const FakeWindow& w : GetParam().siblings) windows.Add(w);
  windows.PutCursorAt({50, 50}, GetParam().hit);
  EXPECT_EQ(WindowUnderCursor(windows), GetParam().expected);
}

FakeWindow Sibling(WindowHandle handle, WindowRect rect, bool visible = true,
                   WindowHandle parent = 100) {
  FakeWindow w{handle, parent, "", rect};
  w.visible = visible;
  return w;
}

const WindowRect kBig{0, 0, 200, 200}, kSmall{40, 40, 60, 60}, kSmaller{45, 45, 55, 55},
    kElsewhere{300, 300, 310, 310}, kHuge{-2000000000, -2000000000, 2000000000, 2000000000};

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowUnderCursorTest,
    ::testing::Values(
        ZOrderCase{"NoWindow", {}, 0, 0},
        ZOrderCase{"TopLevelHitStays", {Sibling(1, kSmall)}, 100, 100},
        ZOrderCase{"SmallerAfterHitWins", {Sibling(1, kBig), Sibling(2, kSmall)}, 1, 2},
        ZOrderCase{"SmallestOfSeveral",
                   {Sibling(1, kBig), Sibling(2, kSmall), Sibling(3, kSmaller)}, 1, 3},
        ZOrderCase{"EqualAreaKeepsFirstReached",
                   {Sibling(1, kBig), Sibling(2, kSmall), Sibling(3, {41, 41, 61, 61})}, 1, 2},
        ZOrderCase{"EqualToHitKeepsHit", {Sibling(1, kSmall), Sibling(2, {42, 42, 62, 62})}, 1, 1},
        ZOrderCase{"BeforeHitNotExamined", {Sibling(1, kSmall), Sibling(2, kBig)}, 2, 2},
        ZOrderCase{"InvisibleIgnored", {Sibling(1, kBig), Sibling(2, kSmall, false)}, 1, 1},
        ZOrderCase{"PointOutsideIgnored", {Sibling(1, kBig), Sibling(2, kElsewhere)}, 1, 1},
        // Right and bottom edges lie outside the rectangle.
        ZOrderCase{"RightEdgeOutside", {Sibling(1, kBig), Sibling(2, {40, 40, 50, 60})}, 1, 1},
        ZOrderCase{"OverflowingAreaIsNotSmall", {Sibling(1, kBig), Sibling(2, kHuge)}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChildWindowListTest, HandsOverInOrderAndStaysEmpty) {
  ChildWindowList list;
  list.Create();
  const auto first = list.Collect([&] {
    list.Append(7);
    list.Append(3);
  });
  EXPECT_THAT(first, ElementsAre(7u, 3u));
  EXPECT_EQ(list.PendingCount(), 0u);
  EXPECT_THAT(list.Collect([] {}), IsEmpty());
  EXPECT_EQ(list.PendingCount(), 0u);
}

TEST(ChildWindowListTest, AfterReleaseNothingIsEnumerated) {
  ChildWindowList list;
  list.Create();
  list.Release();
  bool enumerated = false;
  EXPECT_THAT(list.Collect([&] { enumerated = true; }), IsEmpty());
  EXPECT_FALSE(enumerated);
}

// Answers each lookup from a script (0 once the script runs out); numbers the answers so
// the events show which lookup each one used.
class RecordingKeys final : public DesktopKeys {
 public:
  explicit RecordingKeys(std::vector<WindowHandle> answers) : answers_(std::move(answers)) {}
  WindowHandle FindShellDesktopWindow() override {
    events.push_back("find");
    return lookups_ < answers_.size() ? answers_[lookups_++] : 0;
  }
  void SendKeyDown(WindowHandle target, std::int32_t key) override {
    events.push_back("down " + std::to_string(key) + " @" + std::to_string(target));
  }
  void SendKeyUp(WindowHandle target, std::int32_t key) override {
    events.push_back("up " + std::to_string(key) + " @" + std::to_string(target));
  }
  std::vector<std::string> events;

 private:
  std::vector<WindowHandle> answers_;
  std::size_t lookups_ = 0;
};

struct RefreshCase {
  const char* name;
  std::vector<WindowHandle> answers;
  std::vector<std::string> events;
};

class RefreshDesktopTest : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(RefreshDesktopTest, SendsTheChordOnlyToAShellDesktopAndReleasesEveryKey) {
  RecordingKeys keys(GetParam().answers);
  RefreshDesktop(keys);
  EXPECT_EQ(keys.events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshDesktopTest,
    ::testing::Values(
        RefreshCase{"DesktopThroughout",
                    {10, 20, 30, 40, 50, 60, 70, 80},
                    {"find", "down 91 @10", "find", "down 68 @20", "find", "up 91 @30", "find",
                     "up 68 @40", "find", "down 91 @50", "find", "down 68 @60", "find",
                     "up 91 @70", "find", "up 68 @80"}},
        // Wine, or a shell without its desktop window: Win+D would type "d" into the active
        // program.
        RefreshCase{"NoDesktop", {}, {"find"}},
        RefreshCase{"GoneAfterTheFirstKey", {10}, {"find", "down 91 @10", "find", "find",
                                                   "up 91 @0", "find"}},
        RefreshCase{"GoneBeforeTheLastKeyUp", {10, 20, 30}, {"find", "down 91 @10", "find",
                                                             "down 68 @20", "find", "up 91 @30",
                                                             "find", "up 68 @0", "find"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
