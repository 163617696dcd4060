// Small windows for the keyboard's Wine tests: a message-only window of the calling thread
// that counts what it is sent, and a visible window on its own thread that records key
// messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

inline constexpr UINT kProbeMessage = WM_APP + 7;

// Counts kProbeMessage dispatched to it; created and destroyed on the calling thread.
class CountingWindow {
 public:
  CountingWindow();
  ~CountingWindow();
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  HWND handle() const { return window_; }
  int dispatched() const { return dispatched_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  HWND window_ = nullptr;
  int dispatched_ = 0;
};

struct KeyMessage {
  UINT message;
  WPARAM virtualKey;
  bool extended;
  DWORD time;
};

// A shown, activated top-level window run by a thread of its own, recording WM_KEYDOWN and
// WM_KEYUP. The thread ends when the window is closed.
class KeyRecordingWindowThread {
 public:
  KeyRecordingWindowThread();
  ~KeyRecordingWindowThread();
  KeyRecordingWindowThread(const KeyRecordingWindowThread&) = delete;
  KeyRecordingWindowThread& operator=(const KeyRecordingWindowThread&) = delete;

  HWND handle() const { return window_; }
  std::vector<KeyMessage> keys();

 private:
  static DWORD WINAPI Run(LPVOID self) noexcept;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  HANDLE thread_ = nullptr;
  HANDLE ready_ = nullptr;
  std::atomic<HWND> window_{nullptr};
  std::mutex mutex_;
  std::vector<KeyMessage> keys_;
};
