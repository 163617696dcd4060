// Scope guards for the Win32 resources the tool acquires and gives back in pairs: each guard
// owns one acquisition and undoes it when it leaves scope, on every path out. None of them can
// be copied; a guard that acquired nothing undoes nothing.
#pragma once

#include <objbase.h>
#include <windows.h>

// A kernel handle (thread, event, file mapping, waitable timer, process), closed with
// CloseHandle.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  // Null and INVALID_HANDLE_VALUE both mean "no handle" depending on the API.
  explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void reset(HANDLE handle = nullptr) {
    if (*this) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// COM on the calling thread for the guard's life: CoInitializeEx in a single-threaded
// apartment, and CoUninitialize for every call that succeeded (S_OK or S_FALSE, the latter
// when the thread was already in such an apartment). A refused call (another apartment model
// already chosen) is not balanced: that apartment belongs to someone else.
class ComInitScope {
 public:
  ComInitScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComInitScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComInitScope(const ComInitScope&) = delete;
  ComInitScope& operator=(const ComInitScope&) = delete;

  HRESULT result() const { return result_; }
  explicit operator bool() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// The painting of one WM_PAINT: BeginPaint, and EndPaint on the way out (always, as the
// system expects one for every BeginPaint).
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A GDI object selected into a device context; the object it replaced goes back in on the
// way out, so the DC is left as it was found.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc),
        previous_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  // False when nothing was selected (no DC, no object, or the selection failed).
  explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// An owned GDI object (a bitmap, a font, a brush), deleted with DeleteObject. It must not be
// selected into a DC when the guard ends.
class UniqueGdiObject {
 public:
  explicit UniqueGdiObject(HGDIOBJ object) : object_(object) {}
  ~UniqueGdiObject() {
    if (object_ != nullptr) DeleteObject(object_);
  }
  UniqueGdiObject(const UniqueGdiObject&) = delete;
  UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;

  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// The calling thread's input joined to another thread's (AttachThreadInput), so that calls
// like SetFocus reach that thread's windows; undone on the way out when the join succeeded.
class AttachedThreadInput {
 public:
  explicit AttachedThreadInput(DWORD otherThread)
      : self_(GetCurrentThreadId()),
        other_(otherThread),
        attached_(AttachThreadInput(self_, other_, TRUE) != FALSE) {}
  ~AttachedThreadInput() {
    if (attached_) AttachThreadInput(self_, other_, FALSE);
  }
  AttachedThreadInput(const AttachedThreadInput&) = delete;
  AttachedThreadInput& operator=(const AttachedThreadInput&) = delete;

  explicit operator bool() const { return attached_; }

 private:
  DWORD self_;
  DWORD other_;
  bool attached_;
};

// A view of a file mapping from MapViewOfFile, unmapped with UnmapViewOfFile.
class MappedView {
 public:
  explicit MappedView(void* view) : view_(view) {}
  ~MappedView() { reset(); }
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;

  void* get() const { return view_; }
  explicit operator bool() const { return view_ != nullptr; }
  void reset(void* view = nullptr) {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    view_ = view;
  }

 private:
  void* view_;
};
