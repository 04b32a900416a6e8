// Printer_Lib: the program's printing layer over winspool and GDI. Plain commands over one
// process-wide state: at most one open printer and one current device context, which every
// drawing command draws on (the printer's context, or the preview image's while a preview
// runs). Coordinates and sizes are floats in the current unit (Print_SetUnit).
//
// Device contexts and GDI objects are returned as their Win32 handles (HDC, HFONT, HPEN,
// HBRUSH); nullptr is the failure result. They belong to the library: callers use them but
// never delete them. Texts are copied on entry; returned texts are the caller's.
//
// The device-free arithmetic behind these commands is in printlib/print_math.h.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

// ---- Printer selection and print job ----

// Sets the state to its initial values: no printer, unit millimetres, black pen 0.2 units
// wide (PS_GEOMETRIC | PS_JOIN_MITER | PS_ENDCAP_FLAT), black brush, transparent background.
// Makes no printer or GDI call. Returns 0.
int Print_Init();

// Fills the printer list (flags as for EnumPrintersA; the program passes 6 = local and
// connections). 1 when the list was filled, 0 when there is nothing to list or the
// enumeration failed (the list is then empty).
int Print_EnumPrinters(int flags);
int Print_CountPrinters();
// Entry `index` (0-based) of the list; empty text when the index is out of range.
std::string Print_GetPrinterName(int index);

// The default printer's name (also made the current printer name), or empty text. Windows
// 2000 and later ask GetDefaultPrinterA (loaded at run time); older systems read Win.Ini.
std::string Print_GetDefaultPrinter();

// Closes the open printer and context, opens `name` (empty: the default printer), applies
// the settings text ("Orientation=2,Papersize=20"; see Print_ApplySettings) to the printer's
// DEVMODE and creates the device context with it. The DEVMODE is kept from one open to the
// next while the driver reports the same size, so settings given earlier stay unless the
// new text changes them. `access` 0 opens with default rights, else with that access mask.
// Returns the new device context, nullptr on failure (then no printer is open).
HDC Print_OpenPrinter(const std::string& name, const std::string& settings, int access);

// Applies a settings text to a DEVMODE (see qr::print::ApplySettings). Fields past the end
// of the DEVMODE as its dmSize gives it are left alone.
void Print_ApplySettings(const std::string& settings, DEVMODEW* devmode);

// A paper the open printer's driver offers: its paper code and its size in tenths of a
// millimetre, portrait (width the shorter side as drivers give it).
struct Print_Paper {
  int code = 0;
  int width = 0;
  int length = 0;
};
// The papers of the open printer in the driver's order (DeviceCapabilitiesA with
// DC_PAPERS and DC_PAPERSIZE); empty when no printer is open or the driver tells none.
std::vector<Print_Paper> Print_GetPapers();

// StartDocA (document name and output file, each empty for none) and StartPage on the
// current context. The job identifier (> 0), or 0 when either failed.
int Print_StartPrinting(const std::string& documentName, const std::string& outputFile);

// EndPage and EndDoc; 1 when EndDoc succeeded, else 0.
int Print_StopPrinting();
// Ends the current page of the job and starts the next one: 1, or 0 on failure.
int Print_NewPage();
// Cancels the job: what was spooled of it is dropped (AbortDoc). 1, or 0 on failure.
int Print_AbortPrinting();

// Releases the printer, its context, the current font, pen and brush, the preview images
// and the DEVMODE; the state is as after Print_Init. Returns 0.
int Print_Free();

// ---- Units and drawing ----

// Sets the unit of all coordinates: 0 device pixels, 1 tenths of an inch, 2 millimetres
// (any other value behaves as 0). Returns the previous unit.
int Print_SetUnit(int mode);

// GetDeviceCaps of the current context; while a preview runs, HORZRES, VERTRES, LOGPIXELSX
// and LOGPIXELSY answer for the preview image and the rest for the printer.
int Print_GetDeviceCaps(int index);

int Print_UnitToDeviceX(float value);
int Print_UnitToDeviceY(float value);
float Print_DeviceToUnitX(int pixels);
float Print_DeviceToUnitY(int pixels);

// Creates the font (size in points, style bits: 0x100 bold, 0x200 italic, 0x4 underline,
// 0x8 strike-out, 0x10/0x1/0x2 quality; angle in tenths of a degree) and selects it into
// the current context, deleting the previous font. Returns the current font afterwards
// (the previous one when creation failed).
HFONT Print_SetFont(const std::string& face, int size, int style, int angle = 0);

// DrawTextA of `text` in the rectangle (x, y, width, height) with the DrawText `format`;
// with DT_CALCRECT it only measures. Each non-null pointer receives the rectangle as
// DrawTextA left it (left, top, width, height in units). Returns the text's height in units
// (0 when DrawTextA failed).
float Print_Text(float x, float y, float w, float h, const std::string& text, int format,
                 float* left = nullptr, float* top = nullptr, float* width = nullptr,
                 float* height = nullptr);

// A straight line from (x1, y1) to (x2, y2), in the current unit, with the current pen.
// Nonzero when it was drawn.
int Print_Line(float x1, float y1, float x2, float y2);

// Puts the stored drawing state (text alignment, background mode, pen, brush) on the
// current context; run on every new context.
void Print_ResetState();
int Print_SetTextAlign(int alignment);
int Print_SetBkMode(int mode);
HPEN Print_SetLineColor(COLORREF colour);
HBRUSH Print_CreateBrush(COLORREF colour);
HPEN Print_CreatePen(DWORD style, float width, COLORREF colour, DWORD styleCount,
                     const DWORD* styles);

// ---- Images ----

// Puts image `image` of the image store (printlib/image_store_win.h) into the rectangle, a
// width or height of 0 meaning the image's own size in pixels. The transfer method follows
// the device's RASTERCAPS: StretchBlt, else StretchDIBits, else BitBlt of a resized copy.
// Nonzero on success; 0 for an invalid image, a failure, or a device with none of them.
int Print_Image(int image, float x, float y, float width, float height);
// The same with the raster operation `rop` (SRCCOPY, SRCAND, ...; 0 means SRCCOPY) for
// the transfer, so that an image can be combined with what the page already holds.
int Print_ImageWithRasterOp(int image, float x, float y, float width, float height, DWORD rop);

// ---- Preview ----

// Sets the printer's context aside and makes the context of a new white 24-bit image,
// `width` pixels wide with the page's proportions, the current one. Returns it, or nullptr
// (the printer's context stays current) when no preview image could be made.
HDC Print_StartPreview(int width);
// Ends the preview and makes the printer's context current again; returns it, or nullptr
// when no preview was running.
HDC Print_StopPreview();
// The image number of preview page `page` (0-based), 0 when there is no such page. The
// image stays the library's until the next Print_StartPreview or Print_Free.
int Print_GetPreviewImage(int page);

// ---- For tests ----

// The current device context (printer or preview image), nullptr when none.
HDC Print_CurrentContext();
// Makes the image transfer read `caps` instead of the device's RASTERCAPS; -1 reads the
// device again.
void Print_OverrideRasterCaps(int caps);
