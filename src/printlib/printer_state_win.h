// The printer library's one process-wide state, shared by its Win32 files
// (printer_lib_win.cpp: printers, jobs, units, text; printer_image_win.cpp: images, preview).
// Not part of the library's interface.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

namespace qr::print {

// Owns a printer handle from OpenPrinterA; not copyable.
class PrinterHandle {
 public:
  PrinterHandle() = default;
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  ~PrinterHandle() { Reset(); }
  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }
  void Reset() {
    if (handle_) ClosePrinter(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// Owns a device context from CreateDCA (DeleteDC); not copyable.
class DeviceContext {
 public:
  DeviceContext() = default;
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;
  ~DeviceContext() { Reset(); }
  HDC get() const { return dc_; }
  void Reset(HDC dc = nullptr) {
    if (dc_) DeleteDC(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_ = nullptr;
};

// Owns one GDI object (font, pen, brush); not copyable.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }
  Handle get() const { return handle_; }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct PrinterState {
  std::string printerName;
  PrinterHandle printer;
  std::unique_ptr<char[]> devMode;
  LONG devModeSize = 0;
  DeviceContext printerDc;  // the printer's context, owned
  HDC currentDc = nullptr;  // the printer's context, or the preview image's (owned by the store)
  bool previewActive = false;
  int unitMode = 2;
  GdiObject<HFONT> font;
  GdiObject<HPEN> pen;
  GdiObject<HBRUSH> brush;
  std::string fontFace;
  int fontSize = 0;
  int fontStyle = 0;
  int fontAngle = 0;
  DWORD penStyle = PS_GEOMETRIC | PS_JOIN_MITER | PS_ENDCAP_FLAT | PS_SOLID;  // 0x12200
  float penWidth = 0.2f;
  COLORREF lineColour = 0;
  COLORREF brushColour = 0;
  int textAlign = 0;
  int bkMode = TRANSPARENT;
  int previewWidth = 0;
  int previewHeight = 0;
  std::vector<std::string> printerNames;
  std::vector<int> previewPages;  // image numbers
  int rasterCapsOverride = -1;    // test hook
};

PrinterState& State();

// Frees the preview pages' images and empties the list.
void FreePreviewPages();

// Selects `object` into the current context and makes it the one `slot` owns, deleting the
// previous object once no context of the library still has it selected.
template <typename Handle>
void ReplaceObject(GdiObject<Handle>& slot, Handle object);

}  // namespace qr::print
