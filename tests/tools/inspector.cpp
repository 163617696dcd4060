// inspector: reads the windows of another running program from outside and acts on them.
//
//   inspector.exe COMMAND [options] --out FILE
//
// The result is written as JSON to FILE (a Windows path such as Z:\tmp\x.json); nothing is
// written to the console, since Wine may hold console pipes open. Exit code 0 when the command
// succeeded, 1 when the window was not found or the command failed, 2 on a usage error.
//
// Commands:
//   dump      find a top-level window and write it with all its descendants, in enumeration
//             order: {"found":true,"pid":..,"thread":..,"focus":"0x..","active":"0x..",
//             "windows":[{handle, parent, class, text (hex of the code page 936 bytes of the
//             text read with the wide WM_GETTEXT), wtext (hex of that UTF-16 text, little
//             endian, as the window holds it), style, exstyle, window [l,t,r,b] on the
//             screen, client [l,t,r,b], origin [x,y] (the client area's top-left on the
//             screen), id, visible, enabled, check (buttons: BM_GETCHECK), items (combo
//             boxes: item texts read with the wide messages, as hex in code page 936),
//             itemdata, current}, ...]}.
//             "focus", "active" and "capture" come from GetGUIThreadInfo of the window's
//             thread; "foreground" is GetForegroundWindow.
//   send      SendMessage to --hwnd: --msg N --wparam N --lparam N; writes {"result":N}.
//   post      PostMessage with the same options; writes {"result":0|1}.
//   settext   WM_SETTEXT to --hwnd with --text-hex HEX (bytes in code page 936), or with the
//             bytes of --text-file FILE (for texts longer than a command line); sent wide,
//             converted from code page 936.
//   gettext   WM_GETTEXTLENGTH + WM_GETTEXT (wide) from --hwnd; writes
//             {"length":N,"text":"HEX","wtext":"HEX"} as dump does.
//
// Texts cross to the other program as UTF-16 and are converted with code page 936 named, so
// what is read does not depend on either program's ANSI code page.
//   wait      like dump, but only waits until the window exists (or --timeout runs out).
//   codepage  writes {"acp":N,"oemcp":N}: the code pages this process got from its locale.
//
// Window selection (dump, wait): --title-hex HEX (exact title bytes), --class NAME,
// --pid N (owner process); any combination, at least one. --timeout S keeps looking for up
// to S seconds (default 0: one look). Numbers may be decimal or 0x-hex.
#include <windows.h>

#include "hex_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Options {
  std::string command;
  std::string titleHex;
  bool hasTitle = false;
  std::string className;
  DWORD pid = 0;
  double timeout = 0;
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::string textHex;
  std::string textFile;
  std::string out;
};

unsigned long long ParseNumber(const std::string& text) {
  return std::strtoull(text.c_str(), nullptr, 0);
}

long long ParseSigned(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 0); }

bool FromHex(const std::string& hex, std::string* bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes->clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const long value = std::strtol(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return false;
    bytes->push_back(static_cast<char>(value));
  }
  return true;
}

std::string HandleText(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "\"0x%llx\"",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

std::string RectText(const RECT& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

// Where the client area's top-left corner lies on the screen.
std::string OriginText(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return "[" + std::to_string(origin.x) + "," + std::to_string(origin.y) + "]";
}

// A window whose thread stopped answering reads as empty: Wine's ANSI send would wait for it
// for ever, the wide probe gives up at once.
bool Answers(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
}

std::wstring ReadWideText(HWND window) {
  if (!Answers(window)) return {};
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(window, WM_GETTEXT, buffer.size(),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return {};
  return std::wstring(buffer.data(), std::min<std::size_t>(copied, buffer.size() - 1));
}

std::wstring WideFrom936(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int units =
      MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) {
    MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], units);
  }
  return out;
}

// The UTF-16 units as little-endian bytes, for Hex.
std::string Utf16Bytes(const std::wstring& wide) {
  std::string bytes;
  for (wchar_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xff));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xff));
  }
  return bytes;
}

std::string WideTo936(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), &out[0], size,
                        nullptr, nullptr);
  }
  return out;
}

std::string ReadText(HWND window) { return WideTo936(ReadWideText(window)); }

// "text" and "wtext" of a window's text, for the JSON.
std::string TextFields(const std::wstring& wide) {
  return "\"text\":\"" + Hex(WideTo936(wide)) + "\",\"wtext\":\"" + Hex(Utf16Bytes(wide)) + "\"";
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string ComboFields(HWND combo) {
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  std::string items = "[", data = "[";
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    const LRESULT copied =
        length > 0 ? SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0])) : 0;
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    if (i > 0) {
      items += ",";
      data += ",";
    }
    items += "\"" + Hex(WideTo936(text)) + "\"";
    data += std::to_string(static_cast<long long>(SendMessageW(combo, CB_GETITEMDATA, i, 0)));
  }
  return ",\"items\":" + items + "],\"itemdata\":" + data + "],\"current\":" +
         std::to_string(static_cast<long long>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
}

std::string Describe(HWND window) {
  RECT windowRect{}, clientRect{};
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &clientRect);
  const std::string cls = ClassOf(window);
  std::string json = "{\"handle\":" + HandleText(window) +
                     ",\"parent\":" + HandleText(GetAncestor(window, GA_PARENT)) +
                     ",\"class\":\"" + cls + "\"," + TextFields(ReadWideText(window)) +
                     ",\"style\":" + std::to_string(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE))) +
                     ",\"exstyle\":" + std::to_string(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE))) +
                     ",\"window\":" + RectText(windowRect) + ",\"client\":" + RectText(clientRect) +
                     ",\"origin\":" + OriginText(window) +
                     ",\"id\":" + std::to_string(static_cast<long long>(GetWindowLongPtrA(window, GWLP_ID))) +
                     ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false") +
                     ",\"enabled\":" + (IsWindowEnabled(window) ? "true" : "false");
  if (lstrcmpiA(cls.c_str(), "Button") == 0) {
    json += ",\"check\":" + std::to_string(static_cast<long long>(SendMessageA(window, BM_GETCHECK, 0, 0)));
  }
  if (lstrcmpiA(cls.c_str(), "ComboBox") == 0) json += ComboFields(window);
  return json + "}";
}

struct Search {
  const Options* options;
  HWND found = nullptr;
};

bool Matches(HWND window, const Options& options) {
  if (options.pid != 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != options.pid) return false;
  }
  if (!options.className.empty() && lstrcmpiA(ClassOf(window).c_str(), options.className.c_str()) != 0) {
    return false;
  }
  if (options.hasTitle) {
    std::string title;
    FromHex(options.titleHex, &title);
    if (ReadText(window) != title) return false;
  }
  return true;
}

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<Search*>(param);
  if (Matches(window, *search->options)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) noexcept {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

HWND FindWindowBySelection(const Options& options) {
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(options.timeout * 1000);
  for (;;) {
    Search search{&options};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return nullptr;
    Sleep(100);
  }
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->append(chunk, got);
  std::fclose(file);
  return true;
}

bool WriteOut(const Options& options, const std::string& json) {
  FILE* file = std::fopen(options.out.c_str(), "wb");
  if (file == nullptr) return false;
  std::fwrite(json.data(), 1, json.size(), file);
  std::fclose(file);
  return true;
}

int Dump(const Options& options, bool windowsToo) {
  HWND top = FindWindowBySelection(options);
  if (top == nullptr) {
    WriteOut(options, "{\"found\":false}");
    return 1;
  }
  DWORD pid = 0;
  const DWORD thread = GetWindowThreadProcessId(top, &pid);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(thread, &info);
  std::string json = "{\"found\":true,\"pid\":" + std::to_string(pid) +
                     ",\"thread\":" + std::to_string(thread) +
                     ",\"focus\":" + HandleText(info.hwndFocus) +
                     ",\"active\":" + HandleText(info.hwndActive) +
                     ",\"capture\":" + HandleText(info.hwndCapture) +
                     ",\"foreground\":" + HandleText(GetForegroundWindow()) +
                     ",\"windows\":[" + Describe(top);
  if (windowsToo) {
    std::vector<HWND> children;
    EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) json += "," + Describe(child);
  }
  json += "]}";
  return WriteOut(options, json) ? 0 : 1;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  if (argc < 2) return false;
  options->command = argv[1];
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string key = argv[i], value = argv[i + 1];
    if (key == "--title-hex") {
      options->titleHex = value;
      options->hasTitle = true;
    } else if (key == "--class") {
      options->className = value;
    } else if (key == "--pid") {
      options->pid = static_cast<DWORD>(ParseNumber(value));
    } else if (key == "--timeout") {
      options->timeout = std::atof(value.c_str());
    } else if (key == "--hwnd") {
      options->hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(ParseNumber(value)));
    } else if (key == "--msg") {
      options->msg = static_cast<UINT>(ParseNumber(value));
    } else if (key == "--wparam") {
      options->wParam = static_cast<WPARAM>(ParseSigned(value));
    } else if (key == "--lparam") {
      options->lParam = static_cast<LPARAM>(ParseSigned(value));
    } else if (key == "--text-hex") {
      options->textHex = value;
    } else if (key == "--text-file") {
      options->textFile = value;
    } else if (key == "--out") {
      options->out = value;
    } else {
      return false;
    }
  }
  return !options->out.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  const std::string& command = options.command;
  if (command == "dump" || command == "wait") {
    if (!options.hasTitle && options.className.empty() && options.pid == 0) return 2;
    return Dump(options, command == "dump");
  }
  if (command == "codepage") {
    return WriteOut(options, "{\"acp\":" + std::to_string(GetACP()) +
                                 ",\"oemcp\":" + std::to_string(GetOEMCP()) + "}")
               ? 0
               : 1;
  }
  if (command == "send") {
    const LRESULT result = SendMessageA(options.hwnd, options.msg, options.wParam, options.lParam);
    return WriteOut(options, "{\"result\":" + std::to_string(static_cast<long long>(result)) + "}") ? 0 : 1;
  }
  if (command == "post") {
    const BOOL posted = PostMessageA(options.hwnd, options.msg, options.wParam, options.lParam);
    return WriteOut(options, std::string("{\"result\":") + (posted ? "1" : "0") + "}") && posted ? 0 : 1;
  }
  if (command == "settext") {
    std::string text;
    if (!options.textFile.empty()) {
      if (!ReadFileBytes(options.textFile, &text)) return 1;
    } else if (!FromHex(options.textHex, &text)) {
      return 2;
    }
    const std::wstring wide = WideFrom936(text);
    const LRESULT result =
        SendMessageW(options.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return WriteOut(options, "{\"result\":" + std::to_string(static_cast<long long>(result)) + "}") ? 0 : 1;
  }
  if (command == "gettext") {
    const std::wstring wide = ReadWideText(options.hwnd);
    return WriteOut(options, "{\"length\":" + std::to_string(WideTo936(wide).size()) + "," +
                                 TextFields(wide) + "}")
               ? 0
               : 1;
  }
  return 2;
}
