#include "translate_pass/child_window_list.h"

#include <utility>

void ChildWindowList::Create() {
  std::lock_guard<std::mutex> lock(mutex_);
  alive_ = true;
  handles_.clear();
}

void ChildWindowList::Release() {
  std::lock_guard<std::mutex> lock(mutex_);
  alive_ = false;
  std::vector<WindowHandle>().swap(handles_);
}

std::vector<WindowHandle> ChildWindowList::Collect(const std::function<void()>& enumerate) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return {};
  handles_.clear();
  enumerate();
  std::vector<WindowHandle> collected;
  collected.swap(handles_);
  return collected;
}

void ChildWindowList::Append(WindowHandle window) {
  if (alive_) handles_.push_back(window);
}

std::size_t ChildWindowList::PendingCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return handles_.size();
}
