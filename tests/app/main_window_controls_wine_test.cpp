// The control operations called from a worker thread while this thread runs the window, as
// the translation pass does. Also run under English and Japanese code pages: the window and
// its boxes hold the same characters whatever the system's ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/main_window_controls.h"
#include "app/main_window_win32.h"

namespace {

bool g_destroyed = false;
void NoteDestroyed() { g_destroyed = true; }

// Runs `work` on a worker thread and pumps this thread's messages until it is done, so that
// the worker's SendMessage calls are carried out here.
void OnWorker(const std::function<void()>& work) {
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread worker([&] {
    work();
    SetEvent(done);
  });
  for (;;) {
    const DWORD wait = MsgWaitForMultipleObjects(1, &done, FALSE, 10000, QS_ALLINPUT);
    if (wait != WAIT_OBJECT_0 + 1) break;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  worker.join();
  CloseHandle(done);
}

class MainWindowControls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(CreateMainWindow(nullptr, &NoteDestroyed)); }
};

TEST_F(MainWindowControls, HandlesNameTheWindowAndItsVisibleBoxes) {
  HWND window = MainWindowHandle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(StatusBoxHandle()), window);
  EXPECT_EQ(GetParent(DescriptionBoxHandle()), window);
  EXPECT_NE(StatusBoxHandle(), DescriptionBoxHandle());
}

TEST_F(MainWindowControls, DirectionListDropsDownAtLeast160Pixels) {
  HWND list = nullptr;
  for (HWND child = GetWindow(MainWindowHandle(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0) list = child;
  }
  ASSERT_NE(list, nullptr);
  RECT dropped{};
  SendMessageA(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GE(dropped.bottom - dropped.top, 160);
}

TEST_F(MainWindowControls, StartValuesReadFromAnotherThread) {
  AnsiText source = "x", result = "x";
  bool microsoft = true;
  int current = -2;
  OnWorker([&] {
    source = ReadSourceBoxText();
    result = ReadResultBoxText();
    microsoft = IsMicrosoftBoxChecked();
    current = DirectionCurrentItem();
  });
  EXPECT_EQ(source, "");
  EXPECT_EQ(result, "");
  EXPECT_FALSE(microsoft);
  EXPECT_EQ(current, 0);
}

struct ItemValueCase {
  int index;
  int value;
};

class DirectionItemValues : public MainWindowControls,
                            public ::testing::WithParamInterface<ItemValueCase> {};

TEST_P(DirectionItemValues, ValueOrMinusOneOutsideTheItems) {
  int value = -2;
  OnWorker([&] { value = DirectionItemValue(GetParam().index); });
  EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, DirectionItemValues,
                         ::testing::Values(ItemValueCase{-1, -1}, ItemValueCase{0, 0},
                                           ItemValueCase{3, 3}, ItemValueCase{4, 4},
                                           ItemValueCase{5, -1}, ItemValueCase{100, -1}));

AnsiText LongTextWithLineBreaks(std::size_t lines) {
  AnsiText text;
  for (std::size_t i = 0; i < lines; ++i) {
    text += "line " + std::to_string(i) + " \xD6\xD0\xCE\xC4";  // 中文
    if (i + 1 < lines) text += "\r\n";
  }
  return text;
}

struct TextCase {
  const char* name;
  AnsiText text;
};

class TextRoundTrip : public MainWindowControls, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextRoundTrip, SourceAndResultBoxesGiveBackTheSameBytes) {
  const AnsiText& text = GetParam().text;
  AnsiText source, result;
  OnWorker([&] {
    SetSourceBoxText(text);
    SetResultBoxText(text);
    source = ReadSourceBoxText();
    result = ReadResultBoxText();
  });
  EXPECT_EQ(source, text);
  EXPECT_EQ(result, text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextRoundTrip,
    ::testing::Values(TextCase{"Empty", ""}, TextCase{"CrLf", "a\r\nb\r\n\r\nc\r\n"},
                      TextCase{"Chinese", "\xC4\xE3\xBA\xC3 hello"},  // 你好
                      // Beyond the 30,000 characters an edit box holds by default.
                      TextCase{"Long", LongTextWithLineBreaks(3000)}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

std::wstring WideText(HWND window) {
  wchar_t text[256] = {};
  const int length = GetWindowTextW(window, text, 256);
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

TEST_F(MainWindowControls, StatusTextIsReplacedWholeWithItsCharacters) {
  OnWorker([] { SetStatusText("\xD5\xFD\xD4\xDA\xB7\xAD\xD2\xEB..."); });  // 正在翻译...
  EXPECT_EQ(WideText(StatusBoxHandle()), L"\u6B63\u5728\u7FFB\u8BD1...");
  OnWorker([] { SetStatusText(""); });
  EXPECT_EQ(GetWindowTextLengthW(StatusBoxHandle()), 0);
}

TEST_F(MainWindowControls, TitleAndDescriptionHoldTheirCharacters) {
  EXPECT_EQ(WideText(MainWindowHandle()), L"Zelvane\u8F6F\u4EF6\u7FFB\u8BD1\u63D2\u4EF6");
  // The first line: 本程序适合用于对英文软件的翻译
  const std::wstring firstLine =
      L"\u672C\u7A0B\u5E8F\u9002\u5408\u7528\u4E8E\u5BF9\u82F1\u6587\u8F6F\u4EF6\u7684"
      L"\u7FFB\u8BD1\r\n";
  EXPECT_EQ(WideText(DescriptionBoxHandle()).substr(0, firstLine.size()), firstLine);
}

TEST_F(MainWindowControls, RedrawFromAnotherThreadReturns) {
  InvalidateRect(MainWindowHandle(), nullptr, TRUE);
  OnWorker([] { RedrawMainWindow(); });
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(MainWindowHandle(), &pending, FALSE));
}

// Last: after the window is gone every operation fails harmlessly.
TEST_F(MainWindowControls, ZzAfterDestructionOperationsAnswerEmpty) {
  DestroyWindow(MainWindowHandle());
  EXPECT_TRUE(g_destroyed);
  AnsiText source = "x";
  bool microsoft = true;
  int current = -2, value = -2;
  OnWorker([&] {
    SetSourceBoxText("y");
    SetStatusText("y");
    source = ReadSourceBoxText();
    microsoft = IsMicrosoftBoxChecked();
    current = DirectionCurrentItem();
    value = DirectionItemValue(0);
    RedrawMainWindow();
  });
  EXPECT_EQ(source, "");
  EXPECT_FALSE(microsoft);
  EXPECT_EQ(current, -1);
  EXPECT_EQ(value, -1);
}

}  // namespace
