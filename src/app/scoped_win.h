// Owning wrappers for Win32 handles: each frees its handle exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace qr {

// Owns a handle and frees it with `Free` when it goes out of scope.
template <typename H, auto Free, H kNone = H{}>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(H h) : h_(h) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& o) noexcept : h_(std::exchange(o.h_, kNone)) {}
  ScopedHandle& operator=(ScopedHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, kNone));
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != kNone; }
  H release() { return std::exchange(h_, kNone); }
  void reset(H h = kNone) {
    if (h_ != kNone) Free(h_);
    h_ = h;
  }

 private:
  H h_ = kNone;
};

inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }

using ScopedFont = ScopedHandle<HFONT, DeleteGdiObject>;
using ScopedBitmap = ScopedHandle<HBITMAP, DeleteGdiObject>;
using ScopedBrush = ScopedHandle<HBRUSH, DeleteGdiObject>;
using ScopedPen = ScopedHandle<HPEN, DeleteGdiObject>;
using ScopedDC = ScopedHandle<HDC, DeleteDC>;
using ScopedKernelHandle = ScopedHandle<HANDLE, CloseKernelHandle>;
using ScopedAccelerators = ScopedHandle<HACCEL, DestroyAcceleratorTable>;
using ScopedModule = ScopedHandle<HMODULE, FreeLibrary>;

// Selects a GDI object into a device context for the lifetime of the object.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC hdc, HGDIOBJ obj) : hdc_(hdc), prev_(SelectObject(hdc, obj)) {}
  ~ScopedSelectObject() {
    if (prev_ && prev_ != HGDI_ERROR) SelectObject(hdc_, prev_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  bool ok() const { return prev_ && prev_ != HGDI_ERROR; }

 private:
  HDC hdc_;
  HGDIOBJ prev_;
};

// A window-owned device context (GetDC / ReleaseDC).
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND hwnd) : hwnd_(hwnd), hdc_(GetDC(hwnd)) {}
  ~ScopedWindowDC() {
    if (hdc_) ReleaseDC(hwnd_, hdc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC get() const { return hdc_; }

 private:
  HWND hwnd_;
  HDC hdc_;
};

}  // namespace qr
