// Owners for the Automation resources of one exchange: a COM interface pointer, a BSTR, a
// VARIANT and a SAFEARRAY of bytes. Each frees its resource on every path out of the scope
// that holds it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <string>
#include <utility>

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* get() const { return ptr_; }
  Interface* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  // For out-parameters: frees what is held, then lends the slot.
  Interface** Put() {
    Reset();
    return &ptr_;
  }
  void Reset() {
    if (ptr_ != nullptr) ptr_->Release();
    ptr_ = nullptr;
  }

 private:
  Interface* ptr_ = nullptr;
};

static_assert(sizeof(OLECHAR) == sizeof(char16_t), "BSTR holds UTF-16 code units");

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* text) : bstr_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(bstr_); }
  Bstr(Bstr&& other) noexcept : bstr_(other.Release()) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr& operator=(Bstr&&) = delete;

  // Counted: NULs inside the text stay. Null (no string) when it does not fit or memory runs
  // out.
  static Bstr FromUtf16(const std::u16string& units) {
    Bstr text;
    if (units.size() <= 0x3fffffff) {
      text.bstr_ = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()),
                                     static_cast<UINT>(units.size()));
    }
    return text;
  }

  BSTR get() const { return bstr_; }
  // Hands the string over to a new owner (a VARIANT).
  BSTR Release() { return std::exchange(bstr_, nullptr); }

 private:
  BSTR bstr_ = nullptr;
};

// The code units of a BSTR, counted (a null BSTR is the empty text).
inline std::u16string Utf16FromBstr(BSTR text) {
  const UINT units = SysStringLen(text);
  if (text == nullptr || units == 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), units);
}

// A one-dimensional SAFEARRAY of bytes (VT_UI1), the form in which a request body goes out
// unconverted.
class ByteArray {
 public:
  ByteArray() = default;
  ~ByteArray() {
    if (array_ != nullptr) SafeArrayDestroy(array_);
  }
  ByteArray(ByteArray&& other) noexcept : array_(other.Release()) {}
  ByteArray(const ByteArray&) = delete;
  ByteArray& operator=(const ByteArray&) = delete;
  ByteArray& operator=(ByteArray&&) = delete;

  // A copy of `bytes`; null (no array) when it does not fit or memory runs out.
  static ByteArray Copy(const std::string& bytes) {
    ByteArray result;
    if (bytes.size() > 0x7fffffff) return result;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr) return result;
    result.array_ = array;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) {
      result.Reset();
      return result;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    return result;
  }

  SAFEARRAY* get() const { return array_; }
  // Hands the array over to a new owner (a VARIANT).
  SAFEARRAY* Release() { return std::exchange(array_, nullptr); }

 private:
  void Reset() {
    if (array_ != nullptr) SafeArrayDestroy(array_);
    array_ = nullptr;
  }
  SAFEARRAY* array_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  static void SetText(VARIANT* slot, Bstr text) {
    slot->vt = VT_BSTR;
    slot->bstrVal = text.Release();
  }
  static void SetBytes(VARIANT* slot, ByteArray bytes) {
    slot->vt = VT_ARRAY | VT_UI1;
    slot->parray = bytes.Release();
  }

  VARIANT* get() { return &value_; }
  const VARIANT& value() const { return value_; }

 private:
  VARIANT value_;
};
