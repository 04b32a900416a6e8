// Screenshots as plain RGB pixels: BMP encoding and decoding and the pixel checks
// of expect-pixels ("dark pixels there, white elsewhere").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qr::e2e {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes (R, G, B) per pixel

  const std::uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// A 24-bit uncompressed BMP, rows stored bottom-up and padded to 4 bytes.
std::string EncodeBmp(const Image& image);
// Reads an uncompressed 24- or 32-bit BMP (bottom-up or top-down). False with
// `error` set for anything else.
bool DecodeBmp(std::string_view bytes, Image* image, std::string* error);

// Which pixels a check looks for.
struct PixelClass {
  enum Kind { kWhite, kDark, kColor } kind = kWhite;
  std::uint8_t r = 0, g = 0, b = 0;  // for kColor
  std::string text;                  // as written, for messages
};

// "white" (every channel at least 240), "dark" (channel mean below 96) or
// "#RRGGBB" (each channel within 16 of the given value).
bool ParsePixelClass(std::string_view text, PixelClass* out);
bool PixelIs(const PixelClass& pixel_class, const std::uint8_t* rgb);

enum class Quantifier { kAll, kAny, kNone };
bool ParseQuantifier(std::string_view text, Quantifier* out);

// Checks that all / any / none of the pixels in the rectangle belong to the class.
// The rectangle must lie inside the image. On failure `message` says how many
// pixels matched and where the first offending one is.
bool CheckPixels(const Image& image, int x, int y, int width, int height, Quantifier quantifier,
                 const PixelClass& pixel_class, std::string* message);

}  // namespace qr::e2e
