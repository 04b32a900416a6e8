// Test images of known pixels, encoded by the image libraries themselves (BMP by hand), and
// hostile variants of them.
#pragma once

#include <cstdint>
#include <string>

#include "printlib/image_decode.h"

namespace qr::image::testing {

// A width x height image whose pixel (x, y) is (x * 40, y * 40, 200) (mod 256).
RgbImage Pattern(std::int32_t width, std::int32_t height);

std::string EncodeJpeg(const RgbImage& image, int quality = 100);
std::string EncodePng(const RgbImage& image);
std::string EncodeTiff(const RgbImage& image);
std::string EncodeBmp24(const RgbImage& image);

// A PNG of width x height declared pixels, all zero, whose image data is one deflate
// stream: tiny on disk, huge when inflated.
std::string PngBomb(std::uint32_t width, std::uint32_t height);

// Overwrites a big-endian 32-bit value at `offset`, recomputing nothing.
void PutBigEndian32(std::string& bytes, std::size_t offset, std::uint32_t value);
// Rewrites a PNG's IHDR width and height, with a correct chunk CRC.
void SetPngSize(std::string& png, std::uint32_t width, std::uint32_t height);

}  // namespace qr::image::testing
