// Figures, never asserted: the cost of handing a text to a hidden multi-line edit box of the
// kind the tool keeps outside its client area (原文内容, 翻译结果), in several forms.
//   edit_box_settext_benchmark [CALLS] [covered]
// "covered": another top-level window lies over the tool's, as during a pass over a program.
// For each form and each of three texts (a short English one, a Chinese one, a long one) it
// prints the mean time of one SetWindowTextW over CALLS calls (40) that alternate the text
// with an empty one, the style read back afterwards and whether the box holds the text.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kEditBase = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
// The source box as the tool creates it: left 680, top 399, zero wide, one pixel high.
constexpr DWORD kSourceStyle = kEditBase | kMultiLine | WS_VSCROLL | WS_BORDER | ES_LEFT;

enum class Hand { Plain, RedrawOff, HiddenAround, VisibleBitOff };

struct Form {
  const char* name;
  DWORD style;
  Hand hand;
};

const Form kForms[] = {
    {"as created (WS_VSCROLL, visible)", kSourceStyle, Hand::Plain},
    {"as created, WM_SETREDRAW off around it", kSourceStyle, Hand::RedrawOff},
    {"without WS_VSCROLL", kSourceStyle & ~static_cast<DWORD>(WS_VSCROLL), Hand::Plain},
    {"without ES_AUTOVSCROLL", kSourceStyle & ~static_cast<DWORD>(ES_AUTOVSCROLL), Hand::Plain},
    {"without WS_VISIBLE", kSourceStyle & ~static_cast<DWORD>(WS_VISIBLE), Hand::Plain},
    {"as created, hidden around it (ShowWindow)", kSourceStyle, Hand::HiddenAround},
    {"as created, WS_VISIBLE bit off around it", kSourceStyle, Hand::VisibleBitOff},
    {"with ES_AUTOHSCROLL (no word wrap)", kSourceStyle | ES_AUTOHSCROLL, Hand::Plain},
    {"with ES_AUTOHSCROLL, without WS_VSCROLL",
     (kSourceStyle | ES_AUTOHSCROLL) & ~static_cast<DWORD>(WS_VSCROLL), Hand::Plain},
};

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(window, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int main(int argc, char** argv) {
  const int calls = argc > 1 ? std::atoi(argv[1]) : 40;
  const bool covered = argc > 2 && std::strcmp(argv[2], "covered") == 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ZtEditBench";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, L"ZtEditBench", L"edit bench",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 100, 100,
                              275, 185, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(main, SW_SHOWNORMAL);
  UpdateWindow(main);
  if (covered) {  // another program's window in front, as when the tool translates it
    HWND cover = CreateWindowExW(0, L"ZtEditBench", L"cover",
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 1200, 760,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(cover, SW_SHOWNORMAL);
    UpdateWindow(cover);
  }
  Pump();

  std::wstring longText;
  for (int i = 0; i < 8; ++i) longText += L"Show the hidden files and folders of this drive. ";
  const std::wstring texts[] = {L"Show hidden files", L"\u663E\u793A\u9690\u85CF\u6587\u4EF6",
                                longText};
  std::printf("%-44s %8s %8s %8s   %-10s %s\n", "ms per SetWindowTextW", "17 chars",
              "6 CJK", "400 chars", "style", "text");
  for (const Form& form : kForms) {
    HWND box = CreateWindowExW(0, L"EDIT", L"", form.style, 680, 399, 0, 1, main, nullptr,
                               wc.hInstance, nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    SendMessageW(box, EM_LIMITTEXT, 0, 0);
    Pump();
    std::printf("%-44s", form.name);
    bool kept = true;
    for (const std::wstring& text : texts) {
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < calls; ++i) {
        // Alternate with an empty text, so that every call changes the box's text.
        const wchar_t* value = i % 2 == 0 ? text.c_str() : L"";
        if (form.hand == Hand::RedrawOff) {
          SendMessageW(box, WM_SETREDRAW, FALSE, 0);
          SetWindowTextW(box, value);
          SendMessageW(box, WM_SETREDRAW, TRUE, 0);
        } else if (form.hand == Hand::HiddenAround) {
          ShowWindow(box, SW_HIDE);
          SetWindowTextW(box, value);
          ShowWindow(box, SW_SHOWNA);
        } else if (form.hand == Hand::VisibleBitOff) {
          const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
          SetWindowLongPtrW(box, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
          SetWindowTextW(box, value);
          SetWindowLongPtrW(box, GWL_STYLE, style);
        } else {
          SetWindowTextW(box, value);
        }
      }
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      SetWindowTextW(box, text.c_str());
      wchar_t back[600] = {};
      GetWindowTextW(box, back, 600);
      kept = kept && text == back;
      std::printf(" %8.3f", ms / calls);
      Pump();
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE));
    std::printf("   0x%08lx %s\n", static_cast<unsigned long>(style), kept ? "kept" : "LOST");
    std::fflush(stdout);
    DestroyWindow(box);
  }
  DestroyWindow(main);
  return 0;
}
