// Decoding image files (JPEG, PNG, TIFF, BMP) into 24-bit RGB pixels, and resampling them.
// Platform-free: the image store (printlib/image_store_win.h) turns the pixels into bitmaps.
//
// Image files are user input. Every decoder returns std::nullopt for a corrupt, truncated
// or hostile file instead of crashing: library errors come back through their error hooks,
// and the declared size is checked against the limits below before any pixel memory is
// allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

namespace qr::image {

// Largest image accepted: each side at most kMaxSide pixels, and at most kMaxPixelBytes of
// 32-bit working pixels (64 Mi pixels). Files larger than kMaxFileBytes are not read.
inline constexpr std::int64_t kMaxSide = 16384;
inline constexpr std::int64_t kMaxPixelBytes = std::int64_t{256} << 20;
inline constexpr std::int64_t kMaxFileBytes = std::int64_t{256} << 20;

// Resizes `v` to `n` elements; false instead of an exception when memory runs out, so
// that a decoder can clean up its library state and fail. No exception may cross the
// image libraries' C code, nor leave a decoder: a failed allocation is a failed load.
template <typename Vector>
bool TryResize(Vector& v, std::size_t n) noexcept {
  try {
    v.resize(n);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Whether an image of width x height may be allocated (both positive and within the
// limits above); computed in 64 bits so that no declared size can overflow.
bool SizeAllowed(std::int64_t width, std::int64_t height);

// 24-bit pixels, rows top-down, three bytes per pixel in the order R, G, B, no row padding.
struct RgbImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes

  const std::uint8_t* Pixel(std::int32_t x, std::int32_t y) const {
    return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
  }
};

enum class Format { kUnknown, kJpeg, kPng, kTiff, kBmp };

// The format the file's first bytes announce.
Format SniffFormat(std::string_view bytes);

// The format a file name's extension names (after the last "."; "jpg", "jpeg", "png",
// "tif", "tiff", "bmp" in any letter case), kUnknown otherwise.
Format FormatFromFileName(std::string_view fileName);

// Each decoder accepts only its own format. Pixels with transparency are laid on white.
std::optional<RgbImage> DecodeJpeg(std::string_view bytes);
std::optional<RgbImage> DecodePng(std::string_view bytes);
std::optional<RgbImage> DecodeTiff(std::string_view bytes);
std::optional<RgbImage> DecodeBmp(std::string_view bytes);

// Decodes with the decoder of `format`; kUnknown picks it by SniffFormat.
std::optional<RgbImage> Decode(std::string_view bytes, Format format);

// The decoder for a file: the one its extension names, or, for any other extension, the
// one its bytes announce. A file whose bytes do not match its extension fails.
std::optional<RgbImage> DecodeFile(std::string_view fileName, std::string_view bytes);

// Resamples to width x height by area averaging (each target pixel is the mean of the
// source area it covers). std::nullopt when the target size is not allowed or the source
// is empty.
std::optional<RgbImage> Resize(const RgbImage& source, std::int32_t width, std::int32_t height);

}  // namespace qr::image
