// The pass's window helpers against the real window system under Wine.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/win32_guards.h"
#include "translate_pass/translate_pass_win32.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

LRESULT g_reportedLength = 0;

// Answers WM_GETTEXTLENGTH with whatever the test sets: a hostile window.
LRESULT CALLBACK LyingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_GETTEXTLENGTH) return g_reportedLength;
  return DefWindowProcA(window, message, wParam, lParam);
}

class WindowHelpersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = LyingWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZtLyingWindow";
    RegisterClassA(&wc);
  }
  void SetUp() override {
    CreateChildWindowList();
    parent = CreateWindowExA(0, "STATIC", "Parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent);
    ReleaseChildWindowList();
  }
  HWND Child(const char* cls, const char* text, HWND owner) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, owner, nullptr,
                           nullptr, nullptr);
  }
  HWND parent = nullptr;
};

TEST_F(WindowHelpersTest, ReadsTheTextOfAWindowInCodePage936) {
  HWND child = Child("STATIC", "OK\xC8\xB7\xB6\xA8", parent);  // OK确定
  EXPECT_EQ(ReadWindowText(child), "OK\xC8\xB7\xB6\xA8");
  EXPECT_EQ(ReadWindowText(Child("STATIC", "", parent)), "");
  DestroyWindow(child);
  EXPECT_EQ(ReadWindowText(child), "");  // no longer a window
}

struct LengthCase {
  const char* name;
  LRESULT length;
};

class HostileLengthTest : public WindowHelpersTest,
                          public ::testing::WithParamInterface<LengthCase> {};

TEST_P(HostileLengthTest, AnUntrustworthyLengthReadsAsEmpty) {
  HWND liar = Child("ZtLyingWindow", "Text", parent);
  g_reportedLength = GetParam().length;
  EXPECT_EQ(ReadWindowText(liar), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileLengthTest,
                         ::testing::Values(LengthCase{"Negative", -5},
                                           LengthCase{"Huge", static_cast<LRESULT>(0x7FFFFFFF)},
                                           LengthCase{"Zero", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowHelpersTest, LengthLargerThanTheTextStillReadsTheText) {
  HWND liar = Child("ZtLyingWindow", "Text", parent);
  g_reportedLength = 100;
  EXPECT_EQ(ReadWindowText(liar), "Text");
}

TEST_F(WindowHelpersTest, AWindowWhoseThreadStoppedAnsweringReadsAsEmptyWithinTheBound) {
  const UniqueHandle made(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  const UniqueHandle never(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  HWND hung = nullptr;
  std::thread owner([&] {
    hung = CreateWindowExA(0, "STATIC", "Frozen", WS_OVERLAPPED, 0, 0, 50, 20, nullptr, nullptr,
                           nullptr, nullptr);
    SetEvent(made.get());
    WaitForSingleObject(never.get(), INFINITE);  // from here on no message is answered
    DestroyWindow(hung);
  });
  WaitForSingleObject(made.get(), INFINITE);

  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(ReadWindowText(hung), "");
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_LT(waited, std::chrono::seconds(15));  // bounded, not fast

  SetEvent(never.get());
  owner.join();
}

TEST_F(WindowHelpersTest, CollectsGrandchildrenInEnumerationOrder) {
  HWND first = Child("STATIC", "1", parent);
  HWND panel = Child("STATIC", "2", parent);
  HWND grandchild = Child("STATIC", "2.1", panel);
  HWND last = Child("STATIC", "3", parent);
  std::vector<HWND> children{reinterpret_cast<HWND>(1)};  // replaced, not appended to
  EXPECT_EQ(CollectChildWindows(parent, children), 4);
  EXPECT_THAT(children, ElementsAre(first, panel, grandchild, last));
  HWND leaf = Child("STATIC", "leaf", parent);
  EXPECT_EQ(CollectChildWindows(leaf, children), 0);
  EXPECT_THAT(children, IsEmpty());
}

TEST_F(WindowHelpersTest, AfterTheReleaseNothingIsEnumerated) {
  Child("STATIC", "1", parent);
  ReleaseChildWindowList();
  std::vector<HWND> children;
  EXPECT_EQ(CollectChildWindows(parent, children), 0);
  EXPECT_THAT(children, IsEmpty());
}

TEST(ShellDesktopWindowTest, FoundOnlyWhenProgramManagerExists) {
  EXPECT_EQ(FindShellDesktopWindow(), nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "Progman";
  RegisterClassA(&wc);
  HWND desktop = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
  HWND impostor = CreateWindowExA(0, "Progman", "Other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
  EXPECT_EQ(FindShellDesktopWindow(), desktop);
  DestroyWindow(impostor);
  DestroyWindow(desktop);
}

}  // namespace
