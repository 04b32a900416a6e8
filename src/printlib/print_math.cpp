#include "printlib/print_math.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/number.h"
#include "base/utf8.h"

namespace qr::print {

namespace {

struct Keyword {
  const char* name;
  std::int16_t DevModeFields::*field;
  std::uint32_t flag;
};

// In the order they are compared; the first match wins.
constexpr Keyword kKeywords[] = {
    {"ORIENTATION", &DevModeFields::orientation, kDmOrientation},
    {"PAPERSIZE", &DevModeFields::paperSize, kDmPaperSize},
    {"PAPERLENGTH", &DevModeFields::paperLength, kDmPaperLength},
    {"PAPERWIDTH", &DevModeFields::paperWidth, kDmPaperWidth},
    {"SCALE", &DevModeFields::scale, kDmScale},
    {"COPIES", &DevModeFields::copies, kDmCopies},
    {"DEFAULTSOURCE", &DevModeFields::defaultSource, kDmDefaultSource},
    {"PRINTQUALITY", &DevModeFields::printQuality, kDmPrintQuality},
    {"COLOR", &DevModeFields::color, kDmColor},
    {"DUPLEX", &DevModeFields::duplex, kDmDuplex},
    {"YRESOLUTION", &DevModeFields::yResolution, kDmYResolution},
    {"TTOPTION", &DevModeFields::ttOption, kDmTTOption},
    {"COLLATE", &DevModeFields::collate, kDmCollate},
};

// Upper-casing as the system does it for keys. Only ASCII letters matter: every keyword
// is ASCII and no other character of the single-byte code page upper-cases into ASCII.
std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

void ApplyItem(std::string_view item, DevModeFields& dm) {
  const std::size_t eq = item.find('=');
  const std::string key = UpperCase(item.substr(0, eq));
  std::int64_t value = 0;
  if (eq != std::string_view::npos) {
    std::string_view rest = item.substr(eq + 1);
    value = ReadNumber(rest.substr(0, rest.find('=')));
  }
  for (const Keyword& k : kKeywords) {
    if (key == k.name) {
      dm.*k.field = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
      dm.fields |= k.flag;
      return;
    }
  }
}

std::int32_t RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(value);  // default rounding: halves to even
  if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

std::int32_t Clamp32(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

}  // namespace

void ApplySettings(std::string_view settings, DevModeFields& dm) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = settings.find(',', start);
    ApplyItem(settings.substr(start, comma - start), dm);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
}

std::int32_t UnitToDevice(int unitMode, float value, int dpi) {
  // The product and quotient stay in single precision and are rounded only at the end.
  const float perInch = static_cast<float>(dpi);
  float pixels = value;
  if (unitMode == kUnitTenthInch) pixels = value * perInch / 10.0f;
  if (unitMode == kUnitMillimetre) pixels = value * perInch / 25.4f;
  return RoundToInt32(pixels);
}

float DeviceToUnit(int unitMode, std::int32_t pixels, int dpi) {
  const float p = static_cast<float>(pixels);
  const float perInch = static_cast<float>(dpi);
  if (unitMode == kUnitTenthInch) return p * 10.0f / perInch;
  if (unitMode == kUnitMillimetre) return p * 25.4f / perInch;
  return p;
}

FontStyleFields FontStyleFromBits(std::int32_t style) {
  FontStyleFields f;
  f.weight = (style & 0x100) ? 700 : 400;
  f.italic = (style & 0x200) ? 1 : 0;
  f.underline = (style & 0x4) ? 1 : 0;
  f.strikeOut = (style & 0x8) ? 1 : 0;
  if (style & 0x10) {
    f.quality = (style & 0x1) ? 4 : (style & 0x2) ? 5 : 2;
  } else {
    f.quality = (style & 0x1) ? 1 : 0;
  }
  return f;
}

std::int32_t FontHeight(std::int32_t points, std::int32_t dpi) {
  return Clamp32(static_cast<std::int64_t>(points) * dpi / 72);
}

std::string CutFaceName(std::string_view face) {
  // Whole characters only, counted as UTF-16 code units as the font structure holds them.
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < face.size()) {
    std::size_t next = i;
    const char32_t cp = DecodeUtf8(face, next);
    units += cp >= 0x10000 ? 2 : 1;
    if (units > kMaxFaceName) break;
    i = next;
  }
  return std::string(face.substr(0, i));
}

std::int32_t PreviewHeight(std::int32_t width, std::int32_t horzRes, std::int32_t vertRes,
                           std::int32_t logPixelsX, std::int32_t logPixelsY) {
  if (width <= 0 || horzRes == 0 || vertRes == 0 || logPixelsX == 0 || logPixelsY == 0) return 0;
  const std::int64_t proportional = static_cast<std::int64_t>(width) * vertRes / horzRes;
  return Clamp32(proportional * (logPixelsX / logPixelsY));
}

std::int32_t PreviewDpi(std::int32_t pixels, std::int32_t millimetres) {
  if (pixels <= 0 || millimetres <= 0) return 0;
  return RoundToInt32(static_cast<double>(pixels) * 25.4 / millimetres);
}

ImageMethod ChooseImageMethod(std::int32_t rasterCaps) {
  if (rasterCaps & 0x800) return ImageMethod::kStretchBlt;
  if (rasterCaps & (0x2000 | 0x80)) return ImageMethod::kStretchDib;
  if (rasterCaps & 0x1) return ImageMethod::kResizedCopy;
  return ImageMethod::kNone;
}

std::string PrinterFromProfileDevice(std::string_view device) {
  return std::string(device.substr(0, device.find(',')));
}

bool IsBeforeWindows2000(std::uint32_t version) {
  const std::uint32_t major = version & 0xFF;
  return (version & 0x80000000u) != 0 || major < 5;
}

bool IsNtFamily(std::uint32_t version) { return (version & 0x80000000u) == 0; }

}  // namespace qr::print
