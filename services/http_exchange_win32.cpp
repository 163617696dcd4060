// ExchangeOverWinHttp: the request object opened in its asynchronous mode, so that the caller
// keeps the clock. The object's own time-outs do not cut a server that accepts the connection
// and never sends its headers; waiting with WaitForResponse for what is left of the deadline,
// then Abort, does.
#include "services/http_exchange_win32.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "services/automation_win32.h"
#include "services/exchange_wait.h"
#include "text/code_page_936.h"

namespace {

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

// Owns the argument VARIANTs of one call.
class Arguments {
 public:
  Arguments() = default;
  ~Arguments() {
    for (VARIANT& v : values_) VariantClear(&v);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  // Code page 936 text, converted naming its code page.
  Arguments& Text(const AnsiText& text) {
    Variant::SetText(Slot(), Bstr::FromUtf16(cp936::ToUtf16(text)));
    return *this;
  }
  Arguments& Text(const wchar_t* text) {
    Variant::SetText(Slot(), Bstr(text));
    return *this;
  }
  Arguments& Bytes(const std::string& bytes) {
    Variant::SetBytes(Slot(), ByteArray::Copy(bytes));
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

  // False when a text or an array could not be made (out of memory).
  bool complete() const {
    for (const VARIANT& v : values_) {
      if (v.vt == VT_BSTR && v.bstrVal == nullptr) return false;
      if (v.vt == (VT_ARRAY | VT_UI1) && v.parray == nullptr) return false;
    }
    return true;
  }

  // Calls a member of `object` by name with these arguments, in the order the member takes
  // them; `result` may be null.
  HRESULT Call(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* result) {
    if (!complete()) return E_OUTOFMEMORY;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    // IDispatch takes the arguments last first; the copies are shallow, values_ owns them.
    std::vector<VARIANT> reversed(values_.rbegin(), values_.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                         static_cast<UINT>(reversed.size()), 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr,
                          nullptr);
  }

 private:
  VARIANT* Slot() {
    values_.emplace_back();
    VariantInit(&values_.back());
    return &values_.back();
  }
  std::vector<VARIANT> values_;
};

HRESULT CallMethod(IDispatch* object, const wchar_t* name, Arguments& args) {
  return args.Call(object, name, DISPATCH_METHOD, nullptr);
}

// While a request is in flight: leaving the scope without a whole reply aborts it, so the
// object stops its transfer before it is released.
class InFlight {
 public:
  explicit InFlight(IDispatch* object) : object_(object) {}
  ~InFlight() {
    if (object_ == nullptr) return;
    Arguments none;
    CallMethod(object_, L"Abort", none);
  }
  InFlight(const InFlight&) = delete;
  InFlight& operator=(const InFlight&) = delete;

  void Done() { object_ = nullptr; }

 private:
  IDispatch* object_;
};

enum class Wait { kDone, kTimedOut, kFailed };

// One WaitForResponse of `seconds` (0: just look).
Wait WaitForResponse(IDispatch* object, std::int32_t seconds) {
  Arguments wait;
  wait.Long(seconds);
  Variant succeeded;
  if (FAILED(wait.Call(object, L"WaitForResponse", DISPATCH_METHOD, succeeded.get())))
    return Wait::kFailed;
  if (succeeded.value().vt != VT_BOOL) return Wait::kFailed;
  return succeeded.value().boolVal != VARIANT_FALSE ? Wait::kDone : Wait::kTimedOut;
}

bool ReadStatus(IDispatch* object, int* status) {
  Arguments none;
  Variant value;
  if (FAILED(none.Call(object, L"Status", DISPATCH_PROPERTYGET, value.get()))) return false;
  if (FAILED(VariantChangeType(value.get(), value.get(), 0, VT_I4))) return false;
  *status = static_cast<int>(value.value().lVal);
  return *status > 0;
}

bool ReadText(IDispatch* object, std::string* body) {
  Arguments none;
  Variant value;
  if (FAILED(none.Call(object, L"ResponseText", DISPATCH_PROPERTYGET, value.get())))
    return false;
  if (value.value().vt != VT_BSTR) return false;
  const std::u16string text = Utf16FromBstr(value.value().bstrVal);
  *body = utf8::FromUtf16(text);
  return text.empty() || !body->empty();
}

}  // namespace

HttpReply ExchangeOverWinHttp(const HttpRequest& request, const ExchangeLimits& limits) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(limits.deadline_ms > 0 ? limits.deadline_ms : 0);
  HttpReply reply;

  ComPtr<IDispatch> object;
  if (!CreateRequestObject(&object)) return reply;
  IDispatch* const target = object.get();
  {
    Arguments open;
    open.Text(request.method == HttpMethod::kPost ? L"POST" : L"GET")
        .Text(request.url)
        .Bool(true);  // asynchronous: send returns at once and the wait below keeps the clock
    if (FAILED(CallMethod(target, L"open", open))) return reply;
  }
  {
    // After "open": opening resets the object's time-outs to its defaults.
    Arguments timeouts;
    timeouts.Long(limits.resolve_ms).Long(limits.connect_ms).Long(limits.send_ms)
        .Long(limits.receive_ms);
    CallMethod(target, L"SetTimeouts", timeouts);
  }
  for (const RequestHeader& header : request.headers) {
    Arguments set;
    set.Text(header.name).Text(header.value);
    if (FAILED(CallMethod(target, L"SetRequestHeader", set))) return reply;
  }

  InFlight inFlight(target);
  {
    // The body as a byte array: a text body would be re-encoded through a code page.
    Arguments send;
    if (request.method == HttpMethod::kPost && !request.body.empty()) send.Bytes(request.body);
    if (FAILED(CallMethod(target, L"send", send))) return reply;
  }
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const WaitStep step = NextWait(left.count());
    if (step.expired) return reply;  // InFlight aborts the exchange
    const Wait waited = WaitForResponse(target, step.seconds);
    if (waited == Wait::kFailed) return reply;
    if (waited == Wait::kDone) break;
    if (step.poll_ms > 0) Sleep(static_cast<DWORD>(step.poll_ms));
  }
  inFlight.Done();

  int status = 0;
  if (!ReadStatus(target, &status)) return reply;
  std::string body;
  if (!ReadText(target, &body)) return reply;
  reply.answered = true;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}
