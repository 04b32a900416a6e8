// The printer library's one process-wide state, shared by its Win32 files
// (printer_lib_win.cpp: printers, jobs, units, text; printer_image_win.cpp: images, preview).
// Not part of the library's interface.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

#include "wingui/scoped_win.h"

namespace qr::print {

struct PrinterState {
  std::string printerName;
  ScopedPrinter printer;
  std::unique_ptr<char[]> devMode;
  LONG devModeSize = 0;
  ScopedDC printerDc;       // the printer's context, owned
  HDC currentDc = nullptr;  // the printer's context, or the preview image's (owned by the store)
  bool previewActive = false;
  int unitMode = 2;
  ScopedFont font;
  ScopedPen pen;
  ScopedBrush brush;
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
void ReplaceObject(ScopedHandle<Handle, DeleteGdiObject>& slot, Handle object);

}  // namespace qr::print
