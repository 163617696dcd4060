// Owners for the Automation resources of one exchange: a COM interface pointer, a BSTR and a
// VARIANT. Each frees its resource on every path out of the scope that holds it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

#include "text/ansi_text.h"

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

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* text) : bstr_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(bstr_); }
  Bstr(Bstr&& other) noexcept : bstr_(other.Release()) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr& operator=(Bstr&&) = delete;

  // Text in the process ANSI code page, converted with CP_ACP.
  static Bstr FromAnsi(const AnsiText& text);

  BSTR get() const { return bstr_; }
  // Hands the string over to a new owner (a VARIANT).
  BSTR Release() { return std::exchange(bstr_, nullptr); }

 private:
  BSTR bstr_ = nullptr;
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

  VARIANT* get() { return &value_; }
  const VARIANT& value() const { return value_; }

 private:
  VARIANT value_;
};

// The text of a BSTR in the process ANSI code page; unmappable characters become the code
// page's default character.
AnsiText AnsiFromBstr(BSTR text);
