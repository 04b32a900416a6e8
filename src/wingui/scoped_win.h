// Owning wrappers for Win32 handles: each frees its handle exactly once.
#pragma once

#include <windows.h>
#include <winspool.h>

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
inline void DestroyWindowHandle(HWND h) {
  if (IsWindow(h)) DestroyWindow(h);
}
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void ClosePrinterHandle(HANDLE h) { ClosePrinter(h); }

// A window and what it owns (child windows, its menu) go with DestroyWindow; one
// destroyed meanwhile (by its owner or by a WM_CLOSE) is left alone.
using ScopedWindow = ScopedHandle<HWND, DestroyWindowHandle>;
// An icon from CreateIcon or from LoadImage without LR_SHARED. Shared icons
// (LoadIcon, LR_SHARED) belong to the system and are never destroyed.
using ScopedIcon = ScopedHandle<HICON, DestroyIconHandle>;
// A menu that no window holds yet (SetMenu hands it to the window).
using ScopedMenu = ScopedHandle<HMENU, DestroyMenuHandle>;
// A printer handle from OpenPrinterA.
using ScopedPrinter = ScopedHandle<HANDLE, ClosePrinterHandle>;
using ScopedGdiObject = ScopedHandle<HGDIOBJ, DeleteGdiObject>;
using ScopedFont = ScopedHandle<HFONT, DeleteGdiObject>;
using ScopedBitmap = ScopedHandle<HBITMAP, DeleteGdiObject>;
using ScopedBrush = ScopedHandle<HBRUSH, DeleteGdiObject>;
using ScopedPen = ScopedHandle<HPEN, DeleteGdiObject>;
// A device context from CreateDC or CreateCompatibleDC (a memory DC).
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
