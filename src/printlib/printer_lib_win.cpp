// Printer_Lib: printer list, default printer, opening a printer with keyword settings, print
// jobs, units, fonts, text and the drawing state. Images and the preview are in
// printer_image_win.cpp.
#include <climits>
#include <cstddef>
#include <cstring>

#include "base/wide_text_win.h"
#include "printlib/image_store_win.h"
#include "printlib/print_math.h"
#include "printlib/printer_lib_win.h"
#include "printlib/printer_state_win.h"

namespace qr::print {

PrinterState& State() {
  static PrinterState state;
  return state;
}

void FreePreviewPages() {
  for (int image : State().previewPages) Image_Free(image);
  State().previewPages.clear();
}

template <typename Handle>
void ReplaceObject(ScopedHandle<Handle, DeleteGdiObject>& slot, Handle object) {
  PrinterState& s = State();
  SelectObject(s.currentDc, object);
  const Handle old = slot.get();
  // A context set aside by a preview may still hold the old object: give it the stock one,
  // so that the object is really freed instead of lingering selected.
  if (old && s.printerDc.get() && s.printerDc.get() != s.currentDc) {
    const UINT type = static_cast<UINT>(GetObjectType(old));
    if (GetCurrentObject(s.printerDc.get(), type) == old) {
      const int stock = type == OBJ_FONT ? SYSTEM_FONT : type == OBJ_PEN ? BLACK_PEN : WHITE_BRUSH;
      SelectObject(s.printerDc.get(), GetStockObject(stock));
    }
  }
  slot.reset(object);
}

template void ReplaceObject(ScopedFont&, HFONT);
template void ReplaceObject(ScopedPen&, HPEN);
template void ReplaceObject(ScopedBrush&, HBRUSH);

namespace {

void ReadDevMode(const DEVMODEW& dm, DevModeFields& f) {
  f.fields = dm.dmFields;
  f.orientation = dm.dmOrientation;
  f.paperSize = dm.dmPaperSize;
  f.paperLength = dm.dmPaperLength;
  f.paperWidth = dm.dmPaperWidth;
  f.scale = dm.dmScale;
  f.copies = dm.dmCopies;
  f.defaultSource = dm.dmDefaultSource;
  f.printQuality = dm.dmPrintQuality;
  f.color = dm.dmColor;
  f.duplex = dm.dmDuplex;
  f.yResolution = dm.dmYResolution;
  f.ttOption = dm.dmTTOption;
  f.collate = dm.dmCollate;
}

void WriteDevMode(const DevModeFields& f, DEVMODEW& dm) {
  dm.dmFields = f.fields;
  dm.dmOrientation = f.orientation;
  dm.dmPaperSize = f.paperSize;
  dm.dmPaperLength = f.paperLength;
  dm.dmPaperWidth = f.paperWidth;
  dm.dmScale = f.scale;
  dm.dmCopies = f.copies;
  dm.dmDefaultSource = f.defaultSource;
  dm.dmPrintQuality = f.printQuality;
  dm.dmColor = f.color;
  dm.dmDuplex = f.duplex;
  dm.dmYResolution = f.yResolution;
  dm.dmTTOption = f.ttOption;
  dm.dmCollate = f.collate;
}

int Dpi(int index) { return Print_GetDeviceCaps(index); }

}  // namespace
}  // namespace qr::print

using qr::print::State;

int Print_Init() {
  qr::print::PrinterState& s = State();
  qr::print::FreePreviewPages();
  s.font.reset();
  s.pen.reset();
  s.brush.reset();
  s.printerDc.reset();
  s.printer.reset();
  s.devMode.reset();
  const qr::print::PrinterState initial;
  s.printerName.clear();
  s.devModeSize = 0;
  s.currentDc = nullptr;
  s.previewActive = false;
  s.unitMode = initial.unitMode;
  s.fontFace.clear();
  s.fontSize = s.fontStyle = s.fontAngle = 0;
  s.penStyle = initial.penStyle;
  s.penWidth = initial.penWidth;
  s.lineColour = initial.lineColour;
  s.brushColour = initial.brushColour;
  s.textAlign = initial.textAlign;
  s.bkMode = initial.bkMode;
  s.previewWidth = s.previewHeight = 0;
  s.printerNames.clear();
  return 0;
}

int Print_EnumPrinters(int flags) {
  qr::print::PrinterState& s = State();
  s.printerNames.clear();
  DWORD needed = 0;
  DWORD returned = 0;
  if (EnumPrintersW(static_cast<DWORD>(flags), nullptr, 1, nullptr, 0, &needed, &returned)) {
    return 0;  // nothing to list
  }
  if (needed == 0) return 0;
  std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[needed]);
  if (!buffer) return 0;
  if (!EnumPrintersW(static_cast<DWORD>(flags), nullptr, 1, buffer.get(), needed, &needed,
                     &returned)) {
    return 0;
  }
  const auto* info = reinterpret_cast<const PRINTER_INFO_1W*>(buffer.get());
  for (DWORD i = 0; i < returned; ++i)
    s.printerNames.push_back(info[i].pName ? qr::Utf8(info[i].pName) : std::string());
  return 1;
}

int Print_CountPrinters() { return static_cast<int>(State().printerNames.size()); }

std::string Print_GetPrinterName(int index) {
  const auto& names = State().printerNames;
  if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return {};
  return names[static_cast<std::size_t>(index)];
}

std::string Print_GetDefaultPrinter() {
  std::string name;
  if (qr::print::IsBeforeWindows2000(GetVersion())) {
    wchar_t value[1024] = {};
    GetProfileStringW(L"WINDOWS", L"DEVICE", L"", value, 1024);
    name = qr::print::PrinterFromProfileDevice(qr::Utf8(value));
  } else if (HMODULE spool = LoadLibraryW(L"WINSPOOL.DRV")) {
    using GetDefaultPrinterFn = BOOL(WINAPI*)(LPWSTR, LPDWORD);
    auto getDefault = reinterpret_cast<GetDefaultPrinterFn>(
        reinterpret_cast<void*>(GetProcAddress(spool, "GetDefaultPrinterW")));
    DWORD size = 0;
    if (getDefault && !getDefault(nullptr, &size) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      std::wstring buffer(static_cast<std::size_t>(size) + 2, L'\0');
      DWORD given = size;
      SetLastError(0);
      getDefault(buffer.data(), &given);
      if (GetLastError() != ERROR_FILE_NOT_FOUND) name = qr::Utf8(buffer.c_str());
    }
    FreeLibrary(spool);
  }
  State().printerName = name;
  return name;
}

void Print_ApplySettings(const std::string& settings, DEVMODEW* devmode) {
  if (!devmode) return;
  // A driver may hand back a DEVMODE shorter than ours: only touch what it has.
  constexpr std::size_t kNeeded = offsetof(DEVMODEW, dmCollate) + sizeof(devmode->dmCollate);
  if (devmode->dmSize < kNeeded) return;
  qr::print::DevModeFields fields;
  qr::print::ReadDevMode(*devmode, fields);
  qr::print::ApplySettings(settings, fields);
  qr::print::WriteDevMode(fields, *devmode);
}

HDC Print_OpenPrinter(const std::string& name, const std::string& settings, int access) {
  qr::print::PrinterState& s = State();
  if (s.previewActive) Print_StopPreview();  // the printer's context must not vanish under it
  s.currentDc = nullptr;
  s.printerDc.reset();
  s.printer.reset();
  if (name.empty()) {
    Print_GetDefaultPrinter();  // sets the current printer name
  } else {
    s.printerName = name;
  }
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, static_cast<ACCESS_MASK>(access)};
  HANDLE opened = nullptr;
  std::wstring wideName = qr::Wide(s.printerName);
  if (!OpenPrinterW(wideName.data(), &opened, access ? &defaults : nullptr)) return nullptr;
  s.printer.reset(opened);
  wchar_t* printerName = wideName.data();
  const LONG size = DocumentPropertiesW(nullptr, s.printer.get(), printerName, nullptr, nullptr, 0);
  if (size <= 0) {
    s.devMode.reset();
    s.devModeSize = 0;
  } else if (!s.devMode || size != s.devModeSize) {
    s.devMode.reset(new (std::nothrow) char[static_cast<std::size_t>(size)]());
    s.devModeSize = s.devMode ? size : 0;
    if (s.devMode && DocumentPropertiesW(nullptr, s.printer.get(), printerName,
                                         reinterpret_cast<DEVMODEW*>(s.devMode.get()), nullptr,
                                         DM_OUT_BUFFER) < 0) {
      s.devMode.reset();  // the driver gave no settings: let CreateDCW use its defaults
      s.devModeSize = 0;
    }
  }
  auto* devmode = reinterpret_cast<DEVMODEW*>(s.devMode.get());
  if (!settings.empty()) Print_ApplySettings(settings, devmode);
  const wchar_t* driver = qr::print::IsNtFamily(GetVersion()) ? L"WINSPOOL" : L"";
  s.printerDc.reset(CreateDCW(driver, wideName.c_str(), nullptr, devmode));
  s.currentDc = s.printerDc.get();
  if (s.currentDc) Print_ResetState();
  return s.currentDc;
}

std::vector<Print_Paper> Print_GetPapers() {
  qr::print::PrinterState& s = State();
  std::vector<Print_Paper> papers;
  if (!s.printer) return papers;
  // The port the printer is connected to, as DeviceCapabilitiesW wants it.
  std::wstring port;
  DWORD needed = 0;
  GetPrinterW(s.printer.get(), 5, nullptr, 0, &needed);
  if (needed > 0) {
    std::vector<BYTE> info(needed);
    if (GetPrinterW(s.printer.get(), 5, info.data(), needed, &needed)) {
      const auto* level5 = reinterpret_cast<const PRINTER_INFO_5W*>(info.data());
      if (level5->pPortName) port = level5->pPortName;
    }
  }
  const std::wstring wideName = qr::Wide(s.printerName);
  const wchar_t* name = wideName.c_str();
  const wchar_t* portName = port.empty() ? nullptr : port.c_str();
  const auto* devmode = reinterpret_cast<const DEVMODEW*>(s.devMode.get());
  const int count = DeviceCapabilitiesW(name, portName, DC_PAPERS, nullptr, devmode);
  if (count <= 0) return papers;
  std::vector<WORD> codes(static_cast<std::size_t>(count));
  std::vector<POINT> sizes(static_cast<std::size_t>(count));
  if (DeviceCapabilitiesW(name, portName, DC_PAPERS, reinterpret_cast<wchar_t*>(codes.data()),
                          devmode) != count ||
      DeviceCapabilitiesW(name, portName, DC_PAPERSIZE, reinterpret_cast<wchar_t*>(sizes.data()),
                          devmode) != count) {
    return papers;
  }
  for (int i = 0; i < count; ++i) {
    papers.push_back({codes[static_cast<std::size_t>(i)], static_cast<int>(sizes[i].x),
                      static_cast<int>(sizes[i].y)});
  }
  return papers;
}

int Print_StartPrinting(const std::string& documentName, const std::string& outputFile) {
  const std::wstring document = qr::Wide(documentName);
  const std::wstring output = qr::Wide(outputFile);
  DOCINFOW info{};
  info.cbSize = sizeof info;
  info.lpszDocName = document.empty() ? nullptr : document.c_str();
  info.lpszOutput = output.empty() ? nullptr : output.c_str();
  const int job = StartDocW(State().currentDc, &info);
  if (job <= 0) return 0;
  if (StartPage(State().currentDc) <= 0) return 0;
  return job;
}

int Print_StopPrinting() {
  const bool pageEnded = EndPage(State().currentDc) > 0;
  const bool jobEnded = EndDoc(State().currentDc) > 0;
  return pageEnded && jobEnded ? 1 : 0;
}

int Print_NewPage() {
  if (EndPage(State().currentDc) <= 0) return 0;
  return StartPage(State().currentDc) > 0 ? 1 : 0;
}

int Print_AbortPrinting() { return AbortDoc(State().currentDc) > 0 ? 1 : 0; }

int Print_Free() {
  qr::print::PrinterState& s = State();
  s.printer.reset();
  if (s.previewActive) Print_StopPreview();
  s.currentDc = nullptr;
  s.printerDc.reset();  // first, so that the objects below are no longer selected
  s.pen.reset();
  s.brush.reset();
  s.font.reset();
  qr::print::FreePreviewPages();
  s.printerNames.clear();
  s.devMode.reset();
  s.devModeSize = 0;
  return 0;
}

int Print_SetUnit(int mode) {
  const int previous = State().unitMode;
  State().unitMode = mode;
  return previous;
}

int Print_UnitToDeviceX(float value) {
  return qr::print::UnitToDevice(State().unitMode, value, qr::print::Dpi(LOGPIXELSX));
}
int Print_UnitToDeviceY(float value) {
  return qr::print::UnitToDevice(State().unitMode, value, qr::print::Dpi(LOGPIXELSY));
}
float Print_DeviceToUnitX(int pixels) {
  return qr::print::DeviceToUnit(State().unitMode, pixels, qr::print::Dpi(LOGPIXELSX));
}
float Print_DeviceToUnitY(int pixels) {
  return qr::print::DeviceToUnit(State().unitMode, pixels, qr::print::Dpi(LOGPIXELSY));
}

HFONT Print_SetFont(const std::string& face, int size, int style, int angle) {
  qr::print::PrinterState& s = State();
  LOGFONTW lf{};
  lf.lfHeight = qr::print::FontHeight(size, Print_GetDeviceCaps(LOGPIXELSY));
  lf.lfEscapement = angle;
  lf.lfOrientation = angle;
  const qr::print::FontStyleFields f = qr::print::FontStyleFromBits(style);
  lf.lfWeight = f.weight;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfQuality = f.quality;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::wstring cut = qr::Wide(qr::print::CutFaceName(face));
  cut.copy(lf.lfFaceName, LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) return s.font.get();
  s.fontFace = face;
  s.fontSize = size;
  s.fontStyle = style;
  s.fontAngle = angle;
  qr::print::ReplaceObject(s.font, font);
  return font;
}

float Print_Text(float x, float y, float w, float h, const std::string& text, int format,
                 float* left, float* top, float* width, float* height) {
  RECT r;
  r.left = Print_UnitToDeviceX(x);
  r.top = Print_UnitToDeviceY(y);
  r.right = Print_UnitToDeviceX(x + w);
  r.bottom = Print_UnitToDeviceY(y + h);
  const std::wstring wide = qr::Wide(text);
  const int length = wide.size() > INT_MAX ? INT_MAX : static_cast<int>(wide.size());
  const int drawn =
      DrawTextW(State().currentDc, wide.data(), length, &r, static_cast<UINT>(format));
  if (left) *left = Print_DeviceToUnitX(r.left);
  if (top) *top = Print_DeviceToUnitY(r.top);
  if (width) *width = Print_DeviceToUnitX(r.right - r.left);
  if (height) *height = Print_DeviceToUnitY(r.bottom - r.top);
  return Print_DeviceToUnitY(drawn);
}

int Print_Line(float x1, float y1, float x2, float y2) {
  HDC dc = State().currentDc;
  if (!MoveToEx(dc, Print_UnitToDeviceX(x1), Print_UnitToDeviceY(y1), nullptr)) return 0;
  return LineTo(dc, Print_UnitToDeviceX(x2), Print_UnitToDeviceY(y2)) ? 1 : 0;
}

void Print_ResetState() {
  qr::print::PrinterState& s = State();
  Print_SetTextAlign(s.textAlign);
  Print_SetBkMode(s.bkMode);
  Print_SetLineColor(s.lineColour);
  Print_CreateBrush(s.brushColour);
  Print_CreatePen(s.penStyle, s.penWidth, s.lineColour, 0, nullptr);
}

int Print_SetTextAlign(int alignment) {
  return static_cast<int>(SetTextAlign(State().currentDc, static_cast<UINT>(alignment)));
}

int Print_SetBkMode(int mode) { return SetBkMode(State().currentDc, mode); }

HPEN Print_SetLineColor(COLORREF colour) {
  State().lineColour = colour;
  return Print_CreatePen(State().penStyle, State().penWidth, colour, 0, nullptr);
}

HBRUSH Print_CreateBrush(COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (brush) qr::print::ReplaceObject(State().brush, brush);
  return brush;
}

HPEN Print_CreatePen(DWORD style, float width, COLORREF colour, DWORD styleCount,
                     const DWORD* styles) {
  DWORD deviceWidth = 1;
  if (width != 0.0f && (style & PS_TYPE_MASK) != 0) {
    deviceWidth = static_cast<DWORD>(Print_UnitToDeviceX(width));
  }
  LOGBRUSH brush{BS_SOLID, colour, 0};
  HPEN pen = ExtCreatePen(style, deviceWidth, &brush, styleCount, styles);
  if (pen) qr::print::ReplaceObject(State().pen, pen);
  return pen;
}

HDC Print_CurrentContext() { return State().currentDc; }

void Print_OverrideRasterCaps(int caps) { State().rasterCapsOverride = caps; }
