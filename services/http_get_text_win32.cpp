// HttpGetText over WinHttp.WinHttpRequest.5.1: created from its ProgID, put into its running
// state, and driven by member name through IDispatch.
#include "services/http_get_text.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <vector>

#include "services/automation_win32.h"

Bstr Bstr::FromAnsi(const AnsiText& text) {
  const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 0) return Bstr();
  std::vector<wchar_t> wide(static_cast<std::size_t>(units), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), units) <= 0) return Bstr();
  return Bstr(wide.data());
}

AnsiText AnsiFromBstr(BSTR text) {
  const UINT units = SysStringLen(text);
  if (text == nullptr || units == 0 || units > 0x7fffffff) return {};
  const int length = static_cast<int>(units);
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  AnsiText result(static_cast<std::size_t>(size), '\0');
  const int written =
      WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], size, nullptr, nullptr);
  if (written <= 0) return {};
  result.resize(static_cast<std::size_t>(written));
  return result;
}

namespace {

// Bounded exchange: a dead or black-holed network costs seconds, not the object's default
// minute or more per text. Milliseconds: resolve, connect, send, receive.
constexpr LONG kTimeoutsMs[] = {5000, 5000, 10000, 15000};

bool CreateRequestObject(ComPtr<IDispatch>* request) {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(L"WinHttp.WinHttpRequest.5.1", &clsid))) return false;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                                reinterpret_cast<void**>(request->Put()));
  if (hr == E_INVALIDARG) {
    hr = CoCreateInstance(clsid, nullptr,
                          CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                          IID_IDispatch, reinterpret_cast<void**>(request->Put()));
  }
  if (FAILED(hr) || !*request) return false;
  if (FAILED(OleRun(request->get()))) {
    request->Reset();
    return false;
  }
  return true;
}

// Calls a member by name. `args` are in the order the member takes them; `result` may be null.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANT>& args,
                   VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());  // IDispatch takes them last first
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                       static_cast<UINT>(reversed.size()), 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr,
                        nullptr);
}

// Owns the argument VARIANTs of one call.
class Arguments {
 public:
  ~Arguments() {
    for (VARIANT& v : values_) VariantClear(&v);
  }
  Arguments() = default;
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  Arguments& Text(const AnsiText& text) {
    Variant::SetText(Slot(), Bstr::FromAnsi(text));
    return *this;
  }
  Arguments& Text(const wchar_t* text) {
    Variant::SetText(Slot(), Bstr(text));
    return *this;
  }
  Arguments& Bool(bool value) {
    VARIANT* v = Slot();
    v->vt = VT_BOOL;
    v->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return *this;
  }
  Arguments& Long(LONG value) {
    VARIANT* v = Slot();
    v->vt = VT_I4;
    v->lVal = value;
    return *this;
  }
  std::vector<VARIANT>& values() { return values_; }

 private:
  VARIANT* Slot() {
    values_.emplace_back();
    VariantInit(&values_.back());
    return &values_.back();
  }
  std::vector<VARIANT> values_;
};

}  // namespace

AnsiText HttpGetText(const AnsiText& url, const RequestHeaders& headers) {
  ComPtr<IDispatch> request;
  if (!CreateRequestObject(&request)) return {};
  IDispatch* object = request.get();

  // A failed step does not stop the sequence: after a failed send, ResponseText is empty.
  {
    Arguments open;
    open.Text(L"GET").Text(url).Bool(false);
    CallByName(object, L"open", DISPATCH_METHOD, open.values(), nullptr);
  }
  // After "open": opening a request object resets its time-outs to the defaults.
  {
    Arguments timeouts;
    for (LONG ms : kTimeoutsMs) timeouts.Long(ms);
    CallByName(object, L"SetTimeouts", DISPATCH_METHOD, timeouts.values(), nullptr);
  }
  for (const RequestHeader& header : headers) {
    Arguments set;
    set.Text(header.name).Text(header.value);
    CallByName(object, L"SetRequestHeader", DISPATCH_METHOD, set.values(), nullptr);
  }
  {
    Arguments none;
    CallByName(object, L"send", DISPATCH_METHOD, none.values(), nullptr);
  }
  Arguments none;
  Variant body;
  if (FAILED(CallByName(object, L"ResponseText", DISPATCH_PROPERTYGET, none.values(),
                        body.get())))
    return {};
  if (body.value().vt != VT_BSTR) return {};
  return AnsiFromBstr(body.value().bstrVal);
}
