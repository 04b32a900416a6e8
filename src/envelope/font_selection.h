// Choosing the sender and the addressee font: what the system font dialog is preset
// with, and what is stored from its answer. The dialog itself is the Win32 layer's.
//
// The choose-font command runs:
//   1. ApplyFontDialogDefaults(variant, values)   (fills empty values in memory)
//   2. remembered = values; preset = MakeFontDialogPreset(values)
//   3. show the dialog (screen and printer fonts, initialised from the LOGFONT, no
//      effects section), owned by the foreground window
//   4. values = FontValuesAfterDialog(remembered, choice or std::nullopt on cancel)
//   5. store `values` under FontKeysFor(variant) and save the book settings.
// No message is shown in either case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "envelope/envelope_layout.h"

namespace qr {

enum class FontVariant { kSender, kAddressee };

// The book settings keys of a variant's three values.
struct FontKeys {
  std::string_view face;
  std::string_view size;
  std::string_view style;
};

// Sender: "Return Font", "Return Size", "Return Style" (group "Sender Address").
// Addressee: "Address Font", "Address Size", "Address Style" (group "Printer Defaults").
FontKeys FontKeysFor(FontVariant variant);

// The style texts the font selection stores.
inline constexpr std::string_view kStyleNone = "None";
inline constexpr std::string_view kStyleRegular = "Regular";  // only a default, never chosen
inline constexpr std::string_view kStyleBold = "Bold";
inline constexpr std::string_view kStyleItalic = "Italic";
inline constexpr std::string_view kStyleBoldItalic = "Bold & Italic";

// Fills each empty value with the variant's default: "Arial", "12", "Regular" for the
// sender and "Arial", "14", "Regular" for the addressee. Returns true when a value was
// filled in.
bool ApplyFontDialogDefaults(FontVariant variant, FontValues& values);

inline constexpr std::int32_t kFontWeightNormal = 400;
inline constexpr std::int32_t kFontWeightBold = 700;
inline constexpr std::size_t kMaxFaceLength = 31;  // LOGFONT face names hold 31 characters

// What the font dialog opens on.
struct FontDialogPreset {
  std::string face;                         // at most 31 characters, as a LOGFONT holds it
  std::int32_t points = 0;                  // the stored size read as a whole number
  std::int32_t weight = kFontWeightNormal;  // 700 when the style text holds bold
  bool italic = false;

  // The LOGFONT height for `points` on a screen of `pixels_per_inch_y` (LOGPIXELSY):
  // -MulDiv(points, pixels_per_inch_y, 72).
  std::int32_t LogFontHeight(std::int32_t pixels_per_inch_y) const;
};

FontDialogPreset MakeFontDialogPreset(const FontValues& values);

// What the user confirmed in the dialog.
struct FontDialogChoice {
  std::string face;
  std::int32_t pointSizeTenths = 0;  // CHOOSEFONT iPointSize
  std::int32_t weight = kFontWeightNormal;
  bool italic = false;
};

// "None"; "Bold" when the weight is exactly 700 (800 or 900 do not count); "Italic"
// when italic; "Bold & Italic" when both.
std::string_view StyleTextFor(std::int32_t weight, bool italic);

// The values to store after the dialog: on cancel the remembered values (with the
// defaults already filled in); on a choice its face, its size in whole points
// (tenths / 10, truncated) as decimal text, and StyleTextFor() of it.
FontValues FontValuesAfterDialog(const FontValues& remembered,
                                 const std::optional<FontDialogChoice>& choice);

// a * b / c rounded to the nearest integer (halves away from zero), computed without
// overflow; -1 when c is 0 or the result does not fit 32 bits (as the system's MulDiv).
std::int32_t MulDivRound(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace qr
