#include "image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qr::e2e {
namespace {

Image Filled(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  Image image;
  image.width = width;
  image.height = height;
  image.rgb.resize(size_t(width) * height * 3);
  for (size_t i = 0; i < image.rgb.size(); i += 3) {
    image.rgb[i] = r;
    image.rgb[i + 1] = g;
    image.rgb[i + 2] = b;
  }
  return image;
}

void Set(Image* image, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::uint8_t* p = &image->rgb[(size_t(y) * image->width + x) * 3];
  p[0] = r;
  p[1] = g;
  p[2] = b;
}

TEST(Bmp, RoundTripKeepsEveryPixelWithRowPadding) {
  Image image = Filled(5, 3, 255, 255, 255);  // 15-byte rows need one padding byte
  Set(&image, 0, 0, 1, 2, 3);
  Set(&image, 4, 2, 200, 100, 50);
  const std::string bytes = EncodeBmp(image);
  EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
  Image back;
  std::string error;
  ASSERT_TRUE(DecodeBmp(bytes, &back, &error)) << error;
  EXPECT_EQ(back.width, 5);
  EXPECT_EQ(back.height, 3);
  EXPECT_EQ(back.rgb, image.rgb);
}

TEST(Bmp, ReadsTopDown32BitAndRejectsTheRest) {
  Image image = Filled(2, 2, 0, 0, 0);
  std::string bytes = EncodeBmp(image);
  // Rewrite as a 32-bit top-down file: header fields, then BGRA rows.
  bytes.resize(54);
  const std::int32_t height = -2;
  std::memcpy(&bytes[22], &height, 4);
  bytes[28] = 32;
  const unsigned char rows[] = {10, 20, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 50, 60, 0};
  bytes.append(reinterpret_cast<const char*>(rows), sizeof rows);
  Image back;
  std::string error;
  ASSERT_TRUE(DecodeBmp(bytes, &back, &error)) << error;
  EXPECT_EQ(back.At(0, 0)[0], 30);  // top-left pixel, stored first
  EXPECT_EQ(back.At(0, 0)[2], 10);
  EXPECT_EQ(back.At(1, 1)[0], 60);

  EXPECT_FALSE(DecodeBmp("PNG", &back, &error));
  EXPECT_FALSE(DecodeBmp(bytes.substr(0, 60), &back, &error));  // truncated pixels
  std::string paletted = bytes;
  paletted[28] = 8;
  EXPECT_FALSE(DecodeBmp(paletted, &back, &error));
}

TEST(PixelClass, ParsesAndClassifies) {
  PixelClass white, dark, blue;
  ASSERT_TRUE(ParsePixelClass("white", &white));
  ASSERT_TRUE(ParsePixelClass("dark", &dark));
  ASSERT_TRUE(ParsePixelClass("#0066FF", &blue));
  for (const char* bad : {"red", "#12345", "#GG0000", "#-10000", "0066FF"}) {
    PixelClass ignored;
    EXPECT_FALSE(ParsePixelClass(bad, &ignored)) << bad;
  }
  const std::uint8_t near_white[] = {240, 250, 255}, grey[] = {128, 128, 128}, black[] = {0, 0, 20},
                     near_blue[] = {10, 90, 240};
  EXPECT_TRUE(PixelIs(white, near_white));
  EXPECT_FALSE(PixelIs(white, grey));
  EXPECT_TRUE(PixelIs(dark, black));
  EXPECT_FALSE(PixelIs(dark, grey));
  EXPECT_TRUE(PixelIs(blue, near_blue));
  EXPECT_FALSE(PixelIs(blue, black));
}

TEST(CheckPixels, AllAnyNoneOverARectangle) {
  Image image = Filled(20, 10, 255, 255, 255);
  Set(&image, 5, 4, 0, 0, 0);  // one dark pixel
  PixelClass white, dark;
  ParsePixelClass("white", &white);
  ParsePixelClass("dark", &dark);
  std::string message;
  EXPECT_TRUE(CheckPixels(image, 0, 0, 20, 4, Quantifier::kAll, white, &message));
  EXPECT_TRUE(CheckPixels(image, 4, 3, 3, 3, Quantifier::kAny, dark, &message));
  EXPECT_TRUE(CheckPixels(image, 6, 0, 14, 10, Quantifier::kNone, dark, &message));

  EXPECT_FALSE(CheckPixels(image, 0, 0, 20, 10, Quantifier::kAll, white, &message));
  EXPECT_EQ(message, "199 of 200 pixels are white; first offending pixel at 5,4 is #000000");
  EXPECT_FALSE(CheckPixels(image, 0, 0, 5, 10, Quantifier::kAny, dark, &message));
  EXPECT_EQ(message, "0 of 50 pixels are dark");
  EXPECT_FALSE(CheckPixels(image, 0, 0, 20, 10, Quantifier::kNone, dark, &message));
  EXPECT_FALSE(CheckPixels(image, 15, 5, 6, 5, Quantifier::kAll, white, &message));
  EXPECT_NE(message.find("not inside"), std::string::npos);
}

}  // namespace
}  // namespace qr::e2e
