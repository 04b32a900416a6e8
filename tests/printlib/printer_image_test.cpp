// The image store and Print_Image's three transfer methods, on a preview page of the PDF
// printer (a 24-bit image whose pixels the test reads back).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "image_samples.h"
#include "printlib/image_store_win.h"
#include "printlib/printer_lib_win.h"

namespace {

using qr::image::RgbImage;

std::string TempPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + "qr-printlib-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const std::string path = TempPath(name);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

void ExpectSame(const RgbImage& got, const RgbImage& want, int tolerance, const std::string& what) {
  ASSERT_EQ(got.width, want.width) << what;
  ASSERT_EQ(got.height, want.height) << what;
  for (std::size_t i = 0; i < want.rgb.size(); ++i) {
    ASSERT_LE(std::abs(got.rgb[i] - want.rgb[i]), tolerance) << what << ": byte " << i;
  }
}

TEST(ImageStore, LoadsEachFormatFromAFile) {
  const RgbImage want = qr::image::testing::Pattern(6, 5);
  struct Case {
    std::string name, bytes;
    int tolerance;
  } cases[] = {
      {"logo.jpg", qr::image::testing::EncodeJpeg(want), 4},
      {"logo.png", qr::image::testing::EncodePng(want), 0},
      {"logo.tif", qr::image::testing::EncodeTiff(want), 0},
      {"logo.bmp", qr::image::testing::EncodeBmp24(want), 0},
  };
  for (const Case& c : cases) {
    const std::string path = WriteTemp(c.name, c.bytes);
    const int image = Image_Load(path);
    DeleteFileA(path.c_str());
    ASSERT_NE(image, 0) << c.name;
    EXPECT_EQ(Image_Width(image), 6);
    EXPECT_EQ(Image_Height(image), 5);
    EXPECT_EQ(Image_Depth(image), 24);
    ExpectSame(*Image_Pixels(image), want, c.tolerance, c.name);
    Image_Free(image);
    EXPECT_FALSE(Image_IsValid(image));
  }
}

TEST(ImageStore, UnloadableFilesGiveNoImage) {
  const int before = Image_Count();
  EXPECT_EQ(Image_Load(TempPath("missing.png")), 0);
  const RgbImage small = qr::image::testing::Pattern(6, 5);
  const std::string jpegAsPng =
      WriteTemp("really-a-jpeg.png", qr::image::testing::EncodeJpeg(small));
  EXPECT_EQ(Image_Load(jpegAsPng), 0);
  std::string cut = qr::image::testing::EncodePng(small);
  cut.resize(cut.size() / 2);
  const std::string halfPng = WriteTemp("half.png", cut);
  EXPECT_EQ(Image_Load(halfPng), 0);
  DeleteFileA(jpegAsPng.c_str());
  DeleteFileA(halfPng.c_str());
  EXPECT_EQ(Image_Count(), before);
}

TEST(ImageStore, CreateCopyResizeAndDraw) {
  EXPECT_EQ(Image_Create(0, 10), 0);
  EXPECT_EQ(Image_Create(100000, 100000), 0);
  const int blank = Image_Create(3, 2);
  ASSERT_NE(blank, 0);
  EXPECT_EQ(Image_Pixels(blank)->rgb, std::vector<std::uint8_t>(3 * 2 * 3, 255));

  const RgbImage pattern = qr::image::testing::Pattern(4, 3);
  const int original = Image_FromPixels(pattern);
  const int copy = Image_Copy(original);
  ASSERT_NE(copy, 0);
  EXPECT_NE(copy, original);
  EXPECT_NE(Image_Bitmap(copy), Image_Bitmap(original));
  ASSERT_EQ(Image_Resize(copy, 8, 6), 1);
  EXPECT_EQ(Image_Width(copy), 8);
  EXPECT_EQ(Image_Height(copy), 6);
  EXPECT_EQ(Image_Resize(copy, -1, 6), 0);
  EXPECT_EQ(Image_Width(copy), 8);
  ExpectSame(*Image_Pixels(original), pattern, 0, "original unchanged by the copy's resize");
  EXPECT_EQ(Image_Copy(0), 0);
  EXPECT_EQ(Image_Resize(0, 5, 5), 0);

  // A drawing context on an image draws into its pixels; nested opens share it.
  HDC dc = Image_StartDrawing(blank);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(Image_StartDrawing(blank), dc);
  Image_StopDrawing(blank);
  EXPECT_TRUE(SetPixel(dc, 1, 1, RGB(10, 20, 30)) != static_cast<COLORREF>(-1));
  Image_StopDrawing(blank);
  const auto drawn = Image_Pixels(blank);
  EXPECT_EQ(0, std::memcmp(drawn->Pixel(1, 1), "\x0A\x14\x1E", 3));
  EXPECT_EQ(Image_StartDrawing(0), nullptr);

  for (int image : {blank, original, copy}) Image_Free(image);
}

class PrintImage : public ::testing::Test {
 protected:
  void SetUp() override {
    Print_Init();
    ASSERT_NE(Print_OpenPrinter("PDF", "Orientation=2,Papersize=20", 0), nullptr);
    Print_SetUnit(0);
    ASSERT_NE(Print_StartPreview(684), nullptr);
    page_ = Print_GetPreviewImage(0);
    image_ = Image_FromPixels(pattern_);
  }
  void TearDown() override {
    Print_OverrideRasterCaps(-1);
    Image_Free(image_);
    Print_StopPreview();
    Print_Free();
  }

  // Whether the page shows `image` scaled by `scale` at (x, y) and white around it.
  void ExpectImageAt(const RgbImage& image, int x, int y, int scale, const std::string& what) {
    const auto page = Image_Pixels(page_);
    ASSERT_TRUE(page.has_value());
    for (int py = y - 2; py < y + image.height * scale + 2; ++py) {
      for (int px = x - 2; px < x + image.width * scale + 2; ++px) {
        const bool inside =
            px >= x && py >= y && px < x + image.width * scale && py < y + image.height * scale;
        const std::uint8_t* want = inside ? image.Pixel((px - x) / scale, (py - y) / scale)
                                          : reinterpret_cast<const std::uint8_t*>("\xFF\xFF\xFF");
        ASSERT_EQ(0, std::memcmp(page->Pixel(px, py), want, 3))
            << what << " at " << px << "," << py << (inside ? " (inside)" : " (outside)");
      }
    }
  }
  void ExpectPatternAt(int x, int y, int scale, const std::string& what) {
    ExpectImageAt(pattern_, x, y, scale, what);
  }

  const RgbImage pattern_ = qr::image::testing::Pattern(4, 3);
  int page_ = 0;
  int image_ = 0;
};

TEST_F(PrintImage, EachTransferMethodPutsThePixelsInTheRectangle) {
  struct Case {
    int caps;
    const char* what;
  } cases[] = {
      {-1, "the preview's own caps"}, {0x800 | 0x2000, "StretchBlt"},
      {0x2000, "StretchDIBits"},      {0x80, "StretchDIBits (DI bitmap)"},
      {0x1, "resized copy"},
  };
  int x = 10;
  for (const Case& c : cases) {
    Print_OverrideRasterCaps(c.caps);
    EXPECT_NE(Print_Image(image_, static_cast<float>(x), 20, 8, 6), 0) << c.what;
    ExpectPatternAt(x, 20, 2, c.what);
    x += 20;
  }
  const int imagesBefore = Image_Count();
  Print_OverrideRasterCaps(0x1);
  Print_Image(image_, 200, 20, 8, 6);
  EXPECT_EQ(Image_Count(), imagesBefore) << "the resized copy was not freed";
}

TEST_F(PrintImage, OwnSizeAndRasterOperation) {
  EXPECT_NE(Print_ImageWithRasterOp(image_, 30, 40, 0.0f, 0.0f, 0), 0);  // 0: SRCCOPY, own size
  ExpectPatternAt(30, 40, 1, "own size");

  // A second image put over the pattern with SRCINVERT combines with it, byte by byte,
  // with every transfer method.
  RgbImage mask = pattern_;
  for (std::size_t i = 0; i < mask.rgb.size(); ++i) mask.rgb[i] = "\x0F\xF0\x55"[i % 3];
  RgbImage combined = pattern_;
  for (std::size_t i = 0; i < combined.rgb.size(); ++i) combined.rgb[i] ^= mask.rgb[i];
  const int maskImage = Image_FromPixels(mask);
  ASSERT_NE(maskImage, 0);
  struct Case {
    int caps;
    const char* what;
  } cases[] = {{0x800 | 0x2000, "StretchBlt"}, {0x2000, "StretchDIBits"}, {0x1, "resized copy"}};
  int x = 10;
  for (const Case& c : cases) {
    Print_OverrideRasterCaps(c.caps);
    EXPECT_NE(Print_Image(image_, static_cast<float>(x), 60, 8, 6), 0) << c.what;
    EXPECT_NE(Print_ImageWithRasterOp(maskImage, static_cast<float>(x), 60, 8, 6, SRCINVERT), 0)
        << c.what;
    ExpectImageAt(combined, x, 60, 2, c.what);
    x += 20;
  }
  Image_Free(maskImage);
}

TEST_F(PrintImage, NothingDrawnWithoutAMethodOrAnImage) {
  Print_OverrideRasterCaps(0x2 | 0x8);  // none of the four bits
  EXPECT_EQ(Print_Image(image_, 10, 10, 8, 6), 0);
  Print_OverrideRasterCaps(-1);
  EXPECT_EQ(Print_Image(0, 10, 10, 8, 6), 0);
  EXPECT_EQ(Print_Image(image_ + 1000, 10, 10, 8, 6), 0);
  const auto page = Image_Pixels(page_);
  for (std::uint8_t b : page->rgb) ASSERT_EQ(b, 255);
}

}  // namespace
