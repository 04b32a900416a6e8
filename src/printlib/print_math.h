// Device-free arithmetic of the printer library: the printer settings text, unit
// conversions, font style bits, the preview page size and the choice of image transfer.
// Nothing here touches Windows, so it builds and is unit-tested natively; the Win32 layer
// (printlib/printer_lib.cpp) feeds it the device's answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qr::print {

// DEVMODE field flags (dmFields bits) of the thirteen settings the text can name.
enum DevModeFlag : std::uint32_t {
  kDmOrientation = 0x1,
  kDmPaperSize = 0x2,
  kDmPaperLength = 0x4,
  kDmPaperWidth = 0x8,
  kDmScale = 0x10,
  kDmCopies = 0x100,
  kDmDefaultSource = 0x200,
  kDmPrintQuality = 0x400,
  kDmColor = 0x800,
  kDmDuplex = 0x1000,
  kDmYResolution = 0x2000,
  kDmTTOption = 0x4000,
  kDmCollate = 0x8000,
};

// The 16-bit DEVMODE fields a settings text can set, plus dmFields. The Win32 layer copies
// them in and out of the driver's DEVMODEW buffer.
struct DevModeFields {
  std::uint32_t fields = 0;
  std::int16_t orientation = 0;
  std::int16_t paperSize = 0;
  std::int16_t paperLength = 0;
  std::int16_t paperWidth = 0;
  std::int16_t scale = 0;
  std::int16_t copies = 0;
  std::int16_t defaultSource = 0;
  std::int16_t printQuality = 0;
  std::int16_t color = 0;
  std::int16_t duplex = 0;
  std::int16_t yResolution = 0;
  std::int16_t ttOption = 0;
  std::int16_t collate = 0;

  bool operator==(const DevModeFields&) const = default;
};

// Applies a settings text such as "Orientation=2,Papersize=20" to `dm`. Items are separated
// by ","; each is key=value. The key (text before the first "=") is upper-cased but not
// trimmed; the value is the text between the first and the second "=", read with
// qr::ReadNumber and kept to its low 16 bits. A key naming one of the thirteen fields sets
// that field and ORs its flag into `fields`; any other item changes nothing. An item
// without "=" is a key with the value 0.
void ApplySettings(std::string_view settings, DevModeFields& dm);

// Units of coordinates: 0 device pixels, 1 tenths of an inch, 2 millimetres; any other
// value behaves as 0.
inline constexpr int kUnitPixels = 0;
inline constexpr int kUnitTenthInch = 1;
inline constexpr int kUnitMillimetre = 2;

// A value in `unitMode` to device pixels at `dpi` pixels per inch, formed in single
// precision and rounded to the nearest integer, halves to even. Results beyond the 32-bit
// range are clamped to it; a value that is not a number gives 0.
std::int32_t UnitToDevice(int unitMode, float value, int dpi);

// Device pixels to a value in `unitMode` at `dpi` pixels per inch (single precision).
float DeviceToUnit(int unitMode, std::int32_t pixels, int dpi);

// LOGFONT fields decided by the font style bits: 0x100 bold, 0x200 italic, 0x4 underline,
// 0x8 strike-out, 0x10 high quality (with 0x1 antialiased, else with 0x2 ClearType, else
// proof), 0x1 alone draft.
struct FontStyleFields {
  std::int32_t weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t quality = 0;

  bool operator==(const FontStyleFields&) const = default;
};
FontStyleFields FontStyleFromBits(std::int32_t style);

// lfHeight of a font of `points` at `dpi` pixels per inch: points * dpi / 72 truncated
// toward zero (a positive value is a cell height), clamped to the 32-bit range.
std::int32_t FontHeight(std::int32_t points, std::int32_t dpi);

// The longest face name a LOGFONTW holds (31 UTF-16 code units and the terminating zero);
// CutFaceName keeps the whole characters of UTF-8 `face` that fit.
inline constexpr std::size_t kMaxFaceName = 31;
std::string CutFaceName(std::string_view face);

// Height of a preview image `width` pixels wide for a page of horzRes x vertRes device
// pixels at logPixelsX x logPixelsY dpi: (width * vertRes / horzRes) * (logPixelsX /
// logPixelsY), each division in integers truncated toward zero. 0 when any of the four
// device values is 0 or the width is not positive (no preview can be made then); clamped
// to the 32-bit range.
std::int32_t PreviewHeight(std::int32_t width, std::int32_t horzRes, std::int32_t vertRes,
                           std::int32_t logPixelsX, std::int32_t logPixelsY);

// Pixels per inch of a preview image dimension of `pixels` across a page dimension of
// `millimetres`: round(pixels * 25.4 / millimetres); 0 when either is not positive.
std::int32_t PreviewDpi(std::int32_t pixels, std::int32_t millimetres);

// How an image is put on a device, decided by its RASTERCAPS bits (first match wins).
enum class ImageMethod {
  kStretchBlt,   // RC_STRETCHBLT 0x800: StretchBlt of the bitmap
  kStretchDib,   // RC_STRETCHDIB 0x2000 or RC_DI_BITMAP 0x80: StretchDIBits of its pixels
  kResizedCopy,  // RC_BITBLT 0x1: a resized copy, BitBlt unscaled
  kNone,         // none of these: nothing is drawn
};
ImageMethod ChooseImageMethod(std::int32_t rasterCaps);

// Default printer from the "DEVICE" value of Win.Ini's "WINDOWS" section
// ("name,driver,port"): the text before the first ",", or the whole value.
std::string PrinterFromProfileDevice(std::string_view device);

// Whether a GetVersion() result is a system older than Windows 2000 (the 95 family, whose
// high bit is set, or an NT below major version 5), which keeps its default printer in
// Win.Ini instead of offering GetDefaultPrinterA.
bool IsBeforeWindows2000(std::uint32_t version);

// Whether a GetVersion() result belongs to the NT family (high bit clear), whose printer
// device contexts are created with the driver name "WINSPOOL".
bool IsNtFamily(std::uint32_t version);

}  // namespace qr::print
