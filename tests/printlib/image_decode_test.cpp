#include "printlib/image_decode.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "image_samples.h"

namespace qr::image {
namespace {

using testing::EncodeBmp24;
using testing::EncodeJpeg;
using testing::EncodePng;
using testing::EncodeTiff;
using testing::Pattern;

void ExpectPixels(const std::optional<RgbImage>& got, const RgbImage& want, int tolerance,
                  const char* what) {
  ASSERT_TRUE(got.has_value()) << what;
  ASSERT_EQ(got->width, want.width) << what;
  ASSERT_EQ(got->height, want.height) << what;
  ASSERT_EQ(got->rgb.size(), want.rgb.size()) << what;
  for (std::size_t i = 0; i < want.rgb.size(); ++i) {
    ASSERT_LE(std::abs(got->rgb[i] - want.rgb[i]), tolerance)
        << what << ": byte " << i << " (pixel " << i / 3 << ")";
  }
}

TEST(Decode, EachFormatGivesTheEncodedPixels) {
  const RgbImage want = Pattern(7, 5);  // odd width: BMP rows need padding
  ExpectPixels(DecodePng(EncodePng(want)), want, 0, "png");
  ExpectPixels(DecodeTiff(EncodeTiff(want)), want, 0, "tiff");
  ExpectPixels(DecodeBmp(EncodeBmp24(want)), want, 0, "bmp");
  ExpectPixels(DecodeJpeg(EncodeJpeg(want)), want, 4, "jpeg");
  ExpectPixels(Decode(EncodeTiff(want), Format::kUnknown), want, 0, "sniffed tiff");
}

TEST(Decode, PngTransparencyIsLaidOnWhite) {
  // Two pixels: opaque red and half-transparent black.
  const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 0, 0, 128};
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = 2;
  img.height = 1;
  img.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&img, nullptr, &size, 0, rgba, 0, nullptr));
  std::string bytes(size, '\0');
  ASSERT_TRUE(png_image_write_to_memory(&img, bytes.data(), &size, 0, rgba, 0, nullptr));
  const auto got = DecodePng(bytes);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->rgb, (std::vector<std::uint8_t>{255, 0, 0, 127, 127, 127}));
}

// A BMP with a 40-byte header, the given bit depth, palette and pixel rows as stored.
std::string Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                const std::string& extra, const std::string& rows) {
  std::string out(54, '\0');
  auto le32 = [&](std::size_t off, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[off + i] = static_cast<char>(v >> (8 * i));
  };
  out[0] = 'B', out[1] = 'M';
  le32(10, static_cast<std::uint32_t>(54 + extra.size()));
  le32(14, 40);
  le32(18, static_cast<std::uint32_t>(width));
  le32(22, static_cast<std::uint32_t>(height));
  out[26] = 1;
  out[28] = static_cast<char>(bits);
  le32(30, compression);
  if (bits <= 8) le32(46, static_cast<std::uint32_t>(extra.size() / 4));  // colours used
  return out + extra + rows;
}

TEST(Decode, BmpDepthsAndRowOrder) {
  using Bytes = std::vector<std::uint8_t>;
  const std::string twoColours("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // red, blue (BGRx)
  struct Case {
    const char* what;
    std::string file;
    Bytes rgb;
  } cases[] = {
      {"1-bit bottom-up", Bmp(3, 2, 1, 0, twoColours, std::string("\x40\0\0\0\xA0\0\0\0", 8)),
       Bytes{0, 0, 255, 255, 0, 0, 0, 0, 255, /**/ 255, 0, 0, 0, 0, 255, 255, 0, 0}},
      {"4-bit top-down", Bmp(2, -1, 4, 0, twoColours, std::string("\x10\0\0\0", 4)),
       Bytes{0, 0, 255, 255, 0, 0}},
      {"8-bit index past the palette is black",
       Bmp(2, 1, 8, 0, twoColours, std::string("\x01\x07\0\0", 4)), Bytes{0, 0, 255, 0, 0, 0}},
      {"16-bit 5-5-5", Bmp(2, 1, 16, 0, "", std::string("\x00\x7C\x1F\x00", 4)),
       Bytes{255, 0, 0, 0, 0, 255}},
      {"32-bit", Bmp(1, 1, 32, 0, "", std::string("\x10\x20\x30\x00", 4)), Bytes{0x30, 0x20, 0x10}},
      {"32-bit bit fields",
       Bmp(1, 1, 32, 3, std::string("\xFF\0\0\0\0\xFF\0\0\0\0\xFF\0", 12),
           std::string("\x10\x20\x30\x00", 4)),
       Bytes{0x10, 0x20, 0x30}},
  };
  for (const Case& c : cases) {
    const auto got = DecodeBmp(c.file);
    ASSERT_TRUE(got.has_value()) << c.what;
    EXPECT_EQ(got->rgb, c.rgb) << c.what;
  }
}

TEST(Decode, FileNameExtensionPicksTheDecoder) {
  const RgbImage want = Pattern(3, 3);
  const std::string jpeg = EncodeJpeg(want);
  const std::string png = EncodePng(want);
  EXPECT_TRUE(DecodeFile("C:\\logos\\logo.jpg", jpeg).has_value());
  EXPECT_TRUE(DecodeFile("logo.JPEG", jpeg).has_value());
  EXPECT_TRUE(DecodeFile("logo.Png", png).has_value());
  EXPECT_FALSE(DecodeFile("logo.png", jpeg).has_value());  // a JPEG named .png
  EXPECT_FALSE(DecodeFile("logo.bmp", png).has_value());
  EXPECT_TRUE(DecodeFile("logo.dat", png).has_value());  // unknown extension: by content
  EXPECT_TRUE(DecodeFile("logo", jpeg).has_value());
  EXPECT_FALSE(DecodeFile("logo.txt", "hello").has_value());
}

TEST(Resize, AveragesTheCoveredArea) {
  RgbImage two;  // 2 x 2: black, white / white, black
  two.width = two.height = 2;
  two.rgb = {0, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0};
  const auto one = Resize(two, 1, 1);
  ASSERT_TRUE(one.has_value());
  EXPECT_EQ(one->rgb, (std::vector<std::uint8_t>{128, 128, 128}));

  const RgbImage pattern = Pattern(4, 3);
  const auto big = Resize(pattern, 8, 6);  // each pixel becomes a 2 x 2 block
  ASSERT_TRUE(big.has_value());
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(0, std::memcmp(big->Pixel(x, y), pattern.Pixel(x / 2, y / 2), 3)) << x << "," << y;
    }
  }
  const auto same = Resize(pattern, 4, 3);
  ASSERT_TRUE(same.has_value());
  EXPECT_EQ(same->rgb, pattern.rgb);

  EXPECT_FALSE(Resize(pattern, 0, 3).has_value());
  EXPECT_FALSE(Resize(pattern, 4, -1).has_value());
  EXPECT_FALSE(Resize(pattern, 100000, 100000).has_value());
  EXPECT_FALSE(Resize(RgbImage{}, 4, 4).has_value());
}

TEST(SizeAllowed, ChecksSidesAndPixelsIn64Bits) {
  EXPECT_TRUE(SizeAllowed(1, 1));
  EXPECT_TRUE(SizeAllowed(16384, 4096));
  EXPECT_FALSE(SizeAllowed(16384, 4097));  // more than 256 MiB of 32-bit pixels
  EXPECT_FALSE(SizeAllowed(16385, 1));
  EXPECT_FALSE(SizeAllowed(0, 10));
  EXPECT_FALSE(SizeAllowed(10, -1));
  EXPECT_FALSE(SizeAllowed(std::int64_t{1} << 40, std::int64_t{1} << 40));
}

}  // namespace
}  // namespace qr::image
