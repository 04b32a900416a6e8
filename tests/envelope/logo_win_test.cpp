// The logo as the window side loads it: scaled to 100 pixels wide with the aspect of
// the file, the logo box's top-rows bitmap, and the placeholder fallbacks for files
// that are missing or cannot be decoded.
#include "envelope/logo_image_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "printlib/image_store_win.h"
#include "wingui/scoped_win.h"

namespace qr {
namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

// Writes a 24-bit BMP whose rows above `split` have colour `top` and the rest `bottom`.
void WriteBmp(const std::string& path, int width, int height, int split, Rgb top, Rgb bottom) {
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t image_size = static_cast<std::uint32_t>(stride * height);
  std::string bytes = "BM";
  auto put32 = [&bytes](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto put16 = [&bytes](std::uint16_t v) {
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>(v >> 8));
  };
  put32(54 + image_size);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));  // bottom-up
  put16(1);
  put16(24);
  for (int i = 0; i < 6; ++i) put32(i == 1 ? image_size : 0);
  for (int y = height - 1; y >= 0; --y) {
    const Rgb c = y < split ? top : bottom;
    std::string row;
    for (int x = 0; x < width; ++x) row += {char(c.b), char(c.g), char(c.r)};
    row.resize(static_cast<std::size_t>(stride), '\0');
    bytes += row;
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

class LogoLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "qr_logo_win_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    placeholder_ = folder_ + "\\\\NoImage.bmp";  // as the program stores it
    WriteBmp(folder_ + "\\NoImage.bmp", 100, 100, 100, {200, 200, 200}, {200, 200, 200});
    images_before_ = Image_Count();
  }
  void TearDown() override {
    for (const char* name : {"NoImage.bmp", "wide.bmp", "tall.bmp", "broken.png"})
      DeleteFileA((folder_ + "\\" + name).c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string Path(const char* name) const { return folder_ + "\\" + name; }

  std::string folder_;
  std::string placeholder_;
  int images_before_ = 0;
};

TEST_F(LogoLoadTest, ScalesToOneHundredPixelsWideKeepingTheFilesAspect) {
  const struct {
    int width, height;
    float aspect;
    int scaled_height;
  } cases[] = {{400, 100, 0.25f, 25}, {50, 200, 4.0f, 400}, {100, 100, 1.0f, 100}};
  for (const auto& c : cases) {
    WriteBmp(Path("wide.bmp"), c.width, c.height, c.height, {255, 0, 0}, {255, 0, 0});
    const LoadedLogo logo = LoadScaledLogo(Path("wide.bmp"), true);
    ASSERT_NE(logo.image, 0) << c.width << "x" << c.height;
    EXPECT_FLOAT_EQ(logo.aspect, c.aspect);
    EXPECT_TRUE(logo.inUse);
    EXPECT_EQ(Image_Width(logo.image), 100);
    EXPECT_EQ(Image_Height(logo.image), c.scaled_height);
    Image_Free(logo.image);
  }
  EXPECT_EQ(Image_Count(), images_before_);
}

TEST_F(LogoLoadTest, LogoBoxShowsTheTopHundredRowsOfATallLogo) {
  // 50 x 200 scales to 100 x 400: the box shows the top quarter, all blue.
  WriteBmp(Path("tall.bmp"), 50, 200, 50, {0, 0, 255}, {255, 0, 0});
  const LoadedLogo logo = LoadScaledLogo(Path("tall.bmp"), true);
  ASSERT_NE(logo.image, 0);
  ScopedBitmap shown(MakeLogoBoxBitmap(logo.image));
  ASSERT_TRUE(shown);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(shown.get(), sizeof dib, &dib), int(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 100);
  EXPECT_EQ(std::abs(dib.dsBm.bmHeight), 100);
  const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
  int blue = 0, other = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const std::uint8_t* p = bits + y * dib.dsBm.bmWidthBytes + 3 * x;  // B, G, R
      (p[0] > 200 && p[1] < 60 && p[2] < 60 ? blue : other)++;
    }
  }
  EXPECT_EQ(other, 0) << "the box must show only the logo's top part";
  Image_Free(logo.image);
}

TEST_F(LogoLoadTest, UnreadableLogoFallsBackToThePlaceholderWithoutLeaking) {
  std::ofstream(Path("broken.png"), std::ios::binary) << "not a picture at all";
  for (const std::string& path : {Path("missing.png"), Path("broken.png")}) {
    const LogoDecision chosen = DecideChosenLogo(path, placeholder_);
    ASSERT_TRUE(chosen.inUse) << path;
    const LoadedLogo logo = LoadLogoForDecision(chosen, placeholder_);
    ASSERT_NE(logo.image, 0) << path;
    EXPECT_FALSE(logo.inUse) << path;
    EXPECT_EQ(Image_Width(logo.image), 100);
    EXPECT_EQ(Image_Height(logo.image), 100);
    Image_Free(logo.image);
  }
  // Without the placeholder the box stays empty, and the store holds nothing new.
  DeleteFileA(Path("NoImage.bmp").c_str());
  const LoadedLogo none =
      LoadLogoForDecision(DecideStartupLogo(Path("missing.png"), placeholder_), placeholder_);
  EXPECT_EQ(none.image, 0);
  EXPECT_FALSE(none.inUse);
  EXPECT_EQ(MakeLogoBoxBitmap(none.image), nullptr);
  EXPECT_EQ(Image_Count(), images_before_);
}

TEST(PlaceholderPath, HoldsTwoBackslashesBeforeTheFileName) {
  EXPECT_EQ(PlaceholderPathFor("C:\\Program Files\\Quarrane"),
            "C:\\Program Files\\Quarrane\\\\NoImage.bmp");
  EXPECT_EQ(PlaceholderPathFor("C:\\"), "C:\\\\NoImage.bmp");
}

}  // namespace
}  // namespace qr
