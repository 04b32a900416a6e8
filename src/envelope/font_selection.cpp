#include "envelope/font_selection.h"

#include <limits>

#include "base/number.h"

namespace qr {

FontKeys FontKeysFor(FontVariant variant) {
  if (variant == FontVariant::kSender) return {"Return Font", "Return Size", "Return Style"};
  return {"Address Font", "Address Size", "Address Style"};
}

bool ApplyFontDialogDefaults(FontVariant variant, FontValues& values) {
  const char* default_size = variant == FontVariant::kSender ? "12" : "14";
  bool changed = false;
  auto fill = [&changed](std::string& value, std::string_view fallback) {
    if (value.empty()) {
      value = fallback;
      changed = true;
    }
  };
  fill(values.face, "Arial");
  fill(values.size, default_size);
  fill(values.style, kStyleRegular);
  return changed;
}

std::int32_t MulDivRound(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  std::int64_t product = std::int64_t{a} * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const std::int64_t half = divisor / 2;
  const std::int64_t result =
      product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > std::numeric_limits<std::int32_t>::max() ||
      result < -std::numeric_limits<std::int32_t>::max()) {
    return -1;
  }
  return static_cast<std::int32_t>(result);
}

std::int32_t FontDialogPreset::LogFontHeight(std::int32_t pixels_per_inch_y) const {
  return -MulDivRound(points, pixels_per_inch_y, 72);
}

FontDialogPreset MakeFontDialogPreset(const FontValues& values) {
  FontDialogPreset preset;
  preset.face = values.face.substr(0, kMaxFaceLength);
  preset.points = ReadNumber32(values.size);
  const std::int32_t flags = StyleFlags(values.style);
  preset.weight = (flags & kFontStyleBold) != 0 ? kFontWeightBold : kFontWeightNormal;
  preset.italic = (flags & kFontStyleItalic) != 0;
  return preset;
}

std::string_view StyleTextFor(std::int32_t weight, bool italic) {
  const bool bold = weight == kFontWeightBold;
  if (bold && italic) return kStyleBoldItalic;
  if (italic) return kStyleItalic;
  if (bold) return kStyleBold;
  return kStyleNone;
}

FontValues FontValuesAfterDialog(const FontValues& remembered,
                                 const std::optional<FontDialogChoice>& choice) {
  if (!choice) return remembered;
  return FontValues{choice->face, std::to_string(choice->pointSizeTenths / 10),
                    std::string(StyleTextFor(choice->weight, choice->italic))};
}

}  // namespace qr
