// ChildWindowList: the process-wide list one child-window enumeration fills. It is guarded
// so that the exit clean-up can release it while a pass may still be running: once released,
// a collection runs no enumeration and gives nothing.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "translate_pass/window_ports.h"

class ChildWindowList {
 public:
  void Create();
  void Release();

  // Runs `enumerate`, which reports each window through Append on this thread, and hands the
  // reported handles over in order; the list is empty again afterwards.
  std::vector<WindowHandle> Collect(const std::function<void()>& enumerate);

  // Only valid inside `enumerate` of Collect (the lock is held by the caller's thread).
  void Append(WindowHandle window);

  std::size_t PendingCount();  // handles held outside a collection: always 0

 private:
  std::mutex mutex_;
  bool alive_ = false;
  std::vector<WindowHandle> handles_;
};
