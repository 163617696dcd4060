// https_probe: one GET through WinHttp.WinHttpRequest.5.1, the request object the tool uses,
// to show what the platform's HTTPS does with a given server certificate.
//
//   https_probe.exe URL OUT_FILE
//
// Writes "status N" when an answer came, "error N" (the WinHTTP error code, for example
// 12157 for a certificate from an unknown authority) when the exchange failed, "setup HRESULT"
// when the object could not be made. Exits 0 whenever OUT_FILE was written.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

// Releases the interface on every path out.
struct DispatchOwner {
  IDispatch* object = nullptr;
  ~DispatchOwner() {
    if (object != nullptr) object->Release();
  }
};

struct ComSession {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComSession() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

// Invokes a member by name with up to two string arguments; `excepInfo` receives the
// exception a failed call raises.
HRESULT Call(IDispatch* object, const wchar_t* name, const wchar_t* first, const wchar_t* second,
             VARIANT* result, EXCEPINFO* excepInfo) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  VARIANT args[2];
  UINT count = 0;
  // IDispatch takes the arguments last first.
  for (const wchar_t* text : {second, first}) {
    if (text == nullptr) continue;
    VariantInit(&args[count]);
    args[count].vt = VT_BSTR;
    args[count].bstrVal = SysAllocString(text);
    ++count;
  }
  DISPPARAMS params = {count ? args : nullptr, nullptr, count, 0};
  const WORD kind = result != nullptr && count == 0 ? DISPATCH_PROPERTYGET : DISPATCH_METHOD;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, excepInfo,
                      nullptr);
  for (UINT i = 0; i < count; ++i) VariantClear(&args[i]);
  return hr;
}

void Write(const char* path, const std::string& line) {
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

std::wstring Wide(const char* text) {
  std::wstring out;
  for (; *text; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::wstring url = Wide(argv[1]);
  ComSession com;
  CLSID clsid;
  DispatchOwner request;
  HRESULT hr = CLSIDFromProgID(L"WinHttp.WinHttpRequest.5.1", &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&request.object));
  EXCEPINFO info{};
  if (SUCCEEDED(hr)) hr = Call(request.object, L"Open", L"GET", url.c_str(), nullptr, &info);
  if (FAILED(hr)) {
    char line[64];
    std::snprintf(line, sizeof line, "setup %08lX", static_cast<unsigned long>(hr));
    Write(argv[2], line);
    return 0;
  }
  hr = Call(request.object, L"Send", nullptr, nullptr, nullptr, &info);
  char line[64];
  if (FAILED(hr)) {
    const HRESULT cause = hr == DISP_E_EXCEPTION ? info.scode : hr;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    std::snprintf(line, sizeof line, "error %lu", static_cast<unsigned long>(cause & 0xFFFF));
  } else {
    VARIANT status;
    VariantInit(&status);
    Call(request.object, L"Status", nullptr, nullptr, &status, nullptr);
    VariantChangeType(&status, &status, 0, VT_I4);
    std::snprintf(line, sizeof line, "status %ld", static_cast<long>(status.lVal));
    VariantClear(&status);
  }
  Write(argv[2], line);
  return 0;
}
