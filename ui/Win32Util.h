// Small Win32 helpers: RAII owners for COM pointers, GDI objects and window handles, and the
// conversions between the shell's ANSI strings and the wide strings of COM.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <utility>

namespace tavlox::ui {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  explicit ComPtr(T* p, bool add_ref = true) : p_(p) { if (p_ && add_ref) p_->AddRef(); }
  ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }
  void Reset() { if (auto p = std::exchange(p_, nullptr)) p->Release(); }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Out parameter for functions that return an owned pointer; releases the old one first.
  T** Put() { Reset(); return &p_; }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  template <class U>
  HRESULT As(ComPtr<U>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(__uuidof(U), out.PutVoid());
  }

 private:
  T* p_ = nullptr;
};

// Any GDI object (font, brush, bitmap, pen, region).
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept { Reset(std::exchange(o.h_, nullptr)); return *this; }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }
  void Reset(H h = nullptr) { if (h_) DeleteObject(h_); h_ = h; }
  H Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// A memory device context with a compatible bitmap selected: paint off-screen, copy once.
class OffscreenDC {
 public:
  OffscreenDC(HDC target, int width, int height)
      : dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, width, height)) {
    old_ = SelectObject(dc_, bitmap_.Get());
  }
  ~OffscreenDC() { SelectObject(dc_, old_); DeleteDC(dc_); }
  OffscreenDC(const OffscreenDC&) = delete;
  OffscreenDC& operator=(const OffscreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_;
};

// Selects an object into a DC for one scope.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectScope() { SelectObject(dc_, old_); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return b_; }

 private:
  BSTR b_;
};

// ANSI code page <-> UTF-16.
std::wstring AnsiToWide(const std::string& s);
std::string WideToAnsi(const wchar_t* s, int length = -1);
inline std::string WideToAnsi(const std::wstring& s) { return WideToAnsi(s.c_str(), static_cast<int>(s.size())); }

// The platform's message text for an HRESULT, in the ANSI code page, without the trailing line break.
std::string SysErrorMessage(long code);

// The running program's full path less its file name, with the trailing backslash.
std::string ExecutableDirectory();

}  // namespace tavlox::ui
