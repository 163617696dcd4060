// An in-memory window tree and tool window for the pass's native tests.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "translate_pass/child_window_list.h"
#include "translate_pass/window_ports.h"
#include "translate_pass/window_under_cursor.h"

struct FakeWindow {
  WindowHandle handle = 0;
  WindowHandle parent = 0;
  AnsiText text;
  WindowRect rect{0, 0, 10, 10};
  bool visible = true;
  bool answers = true;  // false: reads nothing, like a hung window behind the bounded read
  AnsiText className = "Static";
  std::uint32_t style = 0;
  bool ownProcess = false;  // a window of the tool's own process
  bool takesWrites = true;  // false: the write fails, like a window that stopped answering
};

// Siblings are kept in Z-order, first on top; the enumeration is depth first, parents first.
class InMemoryWindows final : public WindowTree, public PassWindowSystem {
 public:
  InMemoryWindows() { list_.Create(); }

  FakeWindow& Add(FakeWindow window) {
    windows_.push_back(std::move(window));
    return windows_.back();
  }
  // Destroys the window and its descendants.
  void Remove(WindowHandle handle) {
    std::vector<WindowHandle> doomed{handle};
    for (std::size_t i = 0; i < doomed.size(); ++i)
      for (const FakeWindow& w : windows_)
        if (w.parent == doomed[i]) doomed.push_back(w.handle);
    for (const WindowHandle gone : doomed)
      for (auto it = windows_.begin(); it != windows_.end(); ++it)
        if (it->handle == gone) {
          windows_.erase(it);
          break;
        }
  }
  // The platform's desktop window: under the cursor it counts as no window.
  void SetDesktop(WindowHandle handle) { desktop_ = handle; }
  FakeWindow* Find(WindowHandle handle) {
    for (FakeWindow& w : windows_)
      if (w.handle == handle) return &w;
    return nullptr;
  }
  AnsiText TextOf(WindowHandle handle) { return Find(handle) ? Find(handle)->text : "<none>"; }
  void PutCursorOn(WindowHandle handle) {
    const WindowRect r = Find(handle)->rect;
    cursor_ = {r.left, r.top};
    hit_ = handle;
  }
  void PutCursorAt(ScreenPoint point, WindowHandle hit) {
    cursor_ = point;
    hit_ = hit;
  }

  // WindowTree
  bool CursorPosition(ScreenPoint& point) override {
    point = cursor_;
    return true;
  }
  WindowHandle WindowFromPoint(ScreenPoint) override { return hit_; }
  WindowRect WindowRectOf(WindowHandle handle) override {
    return Find(handle) ? Find(handle)->rect : WindowRect{};
  }
  WindowHandle ParentOf(WindowHandle handle) override {
    return Find(handle) ? Find(handle)->parent : 0;
  }
  WindowHandle NextInZOrder(WindowHandle handle) override {
    const FakeWindow* self = Find(handle);
    if (!self) return 0;
    bool seen = false;
    for (const FakeWindow& w : windows_) {
      if (seen && w.parent == self->parent) return w.handle;
      if (w.handle == handle) seen = true;
    }
    return 0;
  }
  bool IsVisible(WindowHandle handle) override { return Find(handle) && Find(handle)->visible; }

  // PassWindowSystem
  WindowHandle WindowUnderCursor() override {
    ++cursorSamples;
    const WindowHandle under = ::WindowUnderCursor(*this);
    return under == desktop_ ? 0 : under;
  }
  std::vector<WindowHandle> CollectChildWindows(WindowHandle parent) override {
    log.push_back("collect " + std::to_string(parent));
    return list_.Collect([&] { AppendDescendants(parent); });
  }
  std::optional<AnsiText> ReadWindowText(WindowHandle handle) override {
    ++reads[handle];
    const FakeWindow* w = Find(handle);
    if (!w || !w->answers) return std::nullopt;
    return w->text;
  }
  bool WriteWindowText(WindowHandle handle, const AnsiText& text) override {
    if (beforeWrite) beforeWrite(handle);
    FakeWindow* w = Find(handle);
    if (!w || !w->takesWrites) return false;
    writes.emplace_back(handle, text);
    log.push_back("write " + std::to_string(handle));
    w->text = text;
    return true;
  }
  WindowFacts FactsOf(WindowHandle handle) override {
    const FakeWindow* w = Find(handle);
    if (!w) return {};
    const FakeWindow* parent = Find(w->parent);
    return {w->className, w->style, parent ? parent->className : AnsiText()};
  }
  bool IsOwnProcessWindow(WindowHandle handle) override {
    return Find(handle) && Find(handle)->ownProcess;
  }
  void InvalidateWindow(WindowHandle handle) override {
    log.push_back("invalidate " + std::to_string(handle));
  }
  void PumpPendingMessages() override { log.push_back("pump"); }
  void RefreshDesktop() override { log.push_back("refresh"); }

  ChildWindowList& List() { return list_; }

  std::vector<std::pair<WindowHandle, AnsiText>> writes;
  std::vector<std::string> log;
  std::map<WindowHandle, int> reads;
  int cursorSamples = 0;
  std::function<void(WindowHandle)> beforeWrite;

 private:
  void AppendDescendants(WindowHandle parent) {
    for (const FakeWindow& w : windows_) {
      if (w.parent != parent) continue;
      list_.Append(w.handle);
      AppendDescendants(w.handle);
    }
  }

  std::vector<FakeWindow> windows_;
  ScreenPoint cursor_;
  WindowHandle hit_ = 0;
  WindowHandle desktop_ = 0;
  ChildWindowList list_;
};

// The tool's window with a front that answers from a table (unknown texts get no reply).
class FakeToolWindow final : public ToolWindow {
 public:
  static constexpr WindowHandle kMain = 1, kStatus = 2, kDescription = 3;

  WindowHandle MainWindowHandle() override { return kMain; }
  WindowHandle StatusBoxHandle() override { return kStatus; }
  WindowHandle DescriptionBoxHandle() override { return kDescription; }
  void BeginTranslations(const std::vector<AnsiText>& textsToAsk) override {
    begun.push_back(textsToAsk);
  }
  void SetSourceText(const AnsiText& text) override { source = text; }
  void SetResultText(const AnsiText& text) override { result = text; }
  AnsiText ReadResultText() override { return result; }
  void TranslateSourceBox() override {
    if (ansi::IsBlank(source)) return;  // the front leaves 翻译结果 alone then
    requests.push_back(source);
    if (beforeReply) beforeReply();
    const auto found = replies.find(source);
    result = found == replies.end() ? AnsiText() : found->second;
  }
  void SetStatusText(const AnsiText& text) override { statuses.push_back(text); }
  void UpdateMainWindow() override {}
  bool StopRequested() override { return stopWhen && stopWhen(); }

  AnsiText source, result;
  std::map<AnsiText, AnsiText> replies;
  std::function<void()> beforeReply;
  std::vector<AnsiText> requests;
  std::vector<AnsiText> statuses;
  std::vector<std::vector<AnsiText>> begun;  // the list of each BeginTranslations
  std::function<bool()> stopWhen;
};
