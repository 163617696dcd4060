// The pass's window helpers against the real window system under Wine.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32_guards.h"
#include "translate_pass/translate_pass_win32.h"
#include "translate_pass/window_text_win32.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

LRESULT g_reportedLength = 0;
std::wstring g_text;

// Answers WM_GETTEXTLENGTH with whatever the test sets and WM_GETTEXT from g_text: a hostile
// window.
LRESULT CALLBACK LyingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_GETTEXTLENGTH) return g_reportedLength;
  if (message == WM_GETTEXT) {
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (buffer == nullptr || wParam == 0) return 0;
    const std::size_t copied = std::min<std::size_t>(g_text.size(), wParam - 1);
    g_text.copy(buffer, copied);
    buffer[copied] = L'\0';
    return static_cast<LRESULT>(copied);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class WindowHelpersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LyingWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZtLyingWindow";
    RegisterClassW(&wc);
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
  EXPECT_EQ(ReadWindowText(child), std::optional<AnsiText>("OK\xC8\xB7\xB6\xA8"));
  EXPECT_EQ(ReadWindowText(Child("STATIC", "", parent)), std::optional<AnsiText>(""));
  DestroyWindow(child);
  EXPECT_EQ(ReadWindowText(child), std::nullopt);  // no longer a window
}

struct LengthCase {
  const char* name;
  LRESULT reported;
  std::size_t textLength;  // the window's real text: that many letters
  bool whole;              // read whole; otherwise nothing
};

class HostileLengthTest : public WindowHelpersTest,
                          public ::testing::WithParamInterface<LengthCase> {};

TEST_P(HostileLengthTest, AReadGivesTheWholeTextOrNothing) {
  g_text.assign(GetParam().textLength, L'x');
  HWND liar = Child("ZtLyingWindow", "", parent);
  g_reportedLength = GetParam().reported;
  const std::optional<AnsiText> read = ReadWindowText(liar);
  if (GetParam().whole) {
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, AnsiText(g_text.size(), 'x'));
  } else {
    EXPECT_EQ(read, std::nullopt);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileLengthTest,
    ::testing::Values(LengthCase{"Negative", -5, 4, true}, LengthCase{"Zero", 0, 4, true},
                      LengthCase{"Shorter", 4, 17, true},
                      LengthCase{"ShorterThanTheFirstBuffer", 4, 5000, true},
                      LengthCase{"Longer", 100, 4, true},
                      LengthCase{"OverTheCap", static_cast<LRESULT>(0x7FFFFFFF), 4, false},
                      LengthCase{"ZeroForATextOverTheCap", 0, kLongestReadableText + 10, false},
                      LengthCase{"TextAtTheCap", 0, kLongestReadableText - 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowHelpersTest, ATextWithACharacterOutsideGbkReadsAsNothing) {
  HWND child = Child("STATIC", "", parent);
  SetWindowTextW(child, L"\xD655\xC778 OK");  // 확인: Korean has no GBK form
  EXPECT_EQ(ReadWindowText(child), std::nullopt);
}

TEST_F(WindowHelpersTest, WritesTheTextInUtf16AndSaysWhenNothingWasWritten) {
  HWND child = Child("STATIC", "Open", parent);
  EXPECT_TRUE(WriteWindowText(child, "\xB4\xF2\xBF\xAA"));  // 打开
  wchar_t wide[16] = {};
  GetWindowTextW(child, wide, 16);
  EXPECT_EQ(std::wstring(wide), L"\x6253\x5F00");
  DestroyWindow(child);
  EXPECT_FALSE(WriteWindowText(child, "x"));
}

// A window on a thread of its own that stops answering once made.
class HungWindow {
 public:
  explicit HungWindow(const char* cls = "STATIC", const char* title = "Frozen") {
    owner_ = std::thread([this, cls, title] {
      window_ = CreateWindowExA(0, cls, title, WS_OVERLAPPED, 0, 0, 50, 20, nullptr, nullptr,
                                nullptr, nullptr);
      SetEvent(made_);
      WaitForSingleObject(release_, INFINITE);  // from here on no message is answered
      DestroyWindow(window_);
    });
    WaitForSingleObject(made_, INFINITE);
  }
  ~HungWindow() {
    SetEvent(release_);
    owner_.join();
    CloseHandle(made_);
    CloseHandle(release_);
  }
  HWND window() const { return window_; }

 private:
  HANDLE made_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND window_ = nullptr;
  std::thread owner_;
};

TEST_F(WindowHelpersTest, AWindowWhoseThreadStoppedAnsweringCostsTheBoundAtMost) {
  HungWindow hung;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(ReadWindowText(hung.window()), std::nullopt);
  EXPECT_FALSE(WriteWindowText(hung.window(), "Text"));
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_LT(waited, std::chrono::seconds(15));  // bounded, not fast
}

TEST_F(WindowHelpersTest, TheDesktopAndTheShellsDesktopWindowsAreNoWindow) {
  EXPECT_TRUE(IsDesktopWindow(GetDesktopWindow()));
  EXPECT_FALSE(IsDesktopWindow(parent));
  EXPECT_FALSE(IsDesktopWindow(Child("STATIC", "x", parent)));
  for (const char* cls : {"Progman", "WorkerW"}) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    HWND shell = CreateWindowExA(0, cls, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
    HWND icons = Child("STATIC", "FolderView", shell);
    EXPECT_TRUE(IsDesktopWindow(shell)) << cls;
    EXPECT_TRUE(IsDesktopWindow(icons)) << cls;
    DestroyWindow(shell);
    UnregisterClassA(cls, GetModuleHandleA(nullptr));
  }
}

TEST_F(WindowHelpersTest, EveryWindowOfThisProcessIsItsOwn) {
  HungWindow otherThread;
  EXPECT_TRUE(IsOwnProcessWindow(parent));
  EXPECT_TRUE(IsOwnProcessWindow(otherThread.window()));
  EXPECT_FALSE(IsOwnProcessWindow(GetDesktopWindow()));  // the desktop's process owns it
  EXPECT_FALSE(IsOwnProcessWindow(nullptr));
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

TEST(ShellDesktopWindowTest, FoundOnlyWhenProgramManagerExistsAndAnswers) {
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
  HungWindow hungDesktop("Progman", "Program Manager");
  EXPECT_EQ(FindShellDesktopWindow(), nullptr);  // a refresh would wait on it
}

}  // namespace
