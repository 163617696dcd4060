// The window handles that the control operations use. They are set once by the GUI thread
// while it creates the window and read by any thread; they are never cleared, so a call made
// after the window has gone sends to a dead handle, which the system answers with 0.
#pragma once

#include <windows.h>

#include <atomic>

struct MainWindowHandles {
  std::atomic<HWND> mainWindow{nullptr};  // MainWindow
  std::atomic<HWND> 状态{nullptr};
  std::atomic<HWND> 编辑框1{nullptr};
  std::atomic<HWND> 原文内容{nullptr};
  std::atomic<HWND> 翻译结果{nullptr};
  std::atomic<HWND> 选择框_谷歌{nullptr};
  std::atomic<HWND> 选择框_必应{nullptr};
  std::atomic<HWND> 组合框1{nullptr};
};

MainWindowHandles& TheMainWindowHandles();
