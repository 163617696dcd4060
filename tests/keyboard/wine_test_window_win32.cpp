#include "wine_test_window.h"

namespace {

const char kCountingClass[] = "ZtKeyboardTestCounting";
const char kRecordingClass[] = "ZtKeyboardTestRecording";

void RegisterOnce(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass)) return;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&windowClass);
}

}  // namespace

CountingWindow::CountingWindow() {
  RegisterOnce(kCountingClass, &CountingWindow::Procedure);
  window_ = CreateWindowExA(0, kCountingClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), this);
}

CountingWindow::~CountingWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK CountingWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == kProbeMessage && self != nullptr) {
    ++self->dispatched_;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

KeyRecordingWindowThread::KeyRecordingWindowThread() {
  ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &KeyRecordingWindowThread::Run, this, 0, nullptr);
  WaitForSingleObject(ready_, 10000);
}

KeyRecordingWindowThread::~KeyRecordingWindowThread() {
  if (HWND window = window_.load()) PostMessageA(window, WM_CLOSE, 0, 0);
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
  }
  if (ready_ != nullptr) CloseHandle(ready_);
}

std::vector<KeyMessage> KeyRecordingWindowThread::keys() {
  std::lock_guard<std::mutex> lock(mutex_);
  return keys_;
}

DWORD WINAPI KeyRecordingWindowThread::Run(LPVOID parameter) noexcept {
  auto* self = static_cast<KeyRecordingWindowThread*>(parameter);
  RegisterOnce(kRecordingClass, &KeyRecordingWindowThread::Procedure);
  HWND window = CreateWindowExA(0, kRecordingClass, "keyboard test target",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), self);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  self->window_ = window;
  SetEvent(self->ready_);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

LRESULT CALLBACK KeyRecordingWindowThread::Procedure(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self =
      reinterpret_cast<KeyRecordingWindowThread*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      if (self != nullptr) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->keys_.push_back({message, wParam, ((lParam >> 24) & 1) != 0,
                               static_cast<DWORD>(GetMessageTime())});
      }
      return 0;
    case WM_DESTROY:
      if (self != nullptr) self->window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
