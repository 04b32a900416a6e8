// Which logo files are taken and what each choice leads to.
#include "envelope/logo.h"

#include <gtest/gtest.h>

#include "base/dialog_filter.h"

namespace qr {
namespace {

// What PlaceholderPathFor makes of the program folder C:\Quarrane (logo_win_test.cpp).
const char kPlaceholder[] = "C:\\Quarrane\\\\NoImage.bmp";

TEST(LogoTest, ChosenFileDecidesLogoAndMessage) {
  struct Case {
    const char* chosen;
    bool inUse;
    bool message;
  };
  const Case cases[] = {
      {"C:\\img\\logo.jpg", true, false},
      {"C:\\img\\logo.bmp", true, false},
      {"C:\\img\\logo.png", true, false},
      {"C:\\img\\logo.tiff", true, false},
      {"C:\\img\\logo.tif", true, false},
      {"C:\\img\\a.b.png", true, false},   // the last "." counts
      {"C:\\img\\LOGO.JPG", false, true},  // extensions are case-sensitive
      {"C:\\img\\logo.jpeg", false, true},
      {"C:\\img\\logo.gif", false, true},
      {"C:\\img\\logo", false, false},          // no extension: no message
      {"C:\\my.pictures\\logo", false, false},  // a dot in a folder is no extension
      {"", false, false},                       // cancelled: the logo is removed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    const LogoDecision d = DecideChosenLogo(c.chosen, kPlaceholder);
    EXPECT_EQ(d.inUse, c.inUse);
    EXPECT_EQ(d.showUnsupported, c.message);
    const std::string expected_path = c.inUse ? c.chosen : kPlaceholder;
    EXPECT_EQ(d.fileName, expected_path);
    EXPECT_EQ(d.loadPath, expected_path);
  }
}

TEST(LogoTest, StartupLoadsAnyStoredLogoButThePlaceholder) {
  EXPECT_EQ(DecideStartupLogo("D:\\art\\mark.xyz", kPlaceholder),
            (LogoDecision{"D:\\art\\mark.xyz", "D:\\art\\mark.xyz", true, false}));
  const LogoDecision none{kPlaceholder, kPlaceholder, false, false};
  EXPECT_EQ(DecideStartupLogo("", kPlaceholder), none);
  EXPECT_EQ(DecideStartupLogo(kPlaceholder, kPlaceholder), none);
  // After a cancelled choice the placeholder is stored, so a restart has no logo.
  EXPECT_EQ(DecideStartupLogo(DecideChosenLogo("", kPlaceholder).fileName, kPlaceholder), none);
}

TEST(LogoTest, AFileThatDoesNotLoadLeavesNoLogoButKeepsItsName) {
  const LogoDecision chosen = DecideChosenLogo("C:\\img\\broken.png", kPlaceholder);
  EXPECT_EQ(FallbackAfterFailedLoad(chosen, kPlaceholder),
            (LogoDecision{"C:\\img\\broken.png", kPlaceholder, false, false}));
}

TEST(LogoTest, ScalingToOneHundredPixelsWide) {
  struct Case {
    std::int32_t width, height;
    float aspect;
    std::int32_t scaled_height;
  };
  const Case cases[] = {
      {50, 200, 4.0f, 400},  // shows only its top quarter in the 100 x 100 box
      {400, 100, 0.25f, 25}, {300, 199, 199.0f / 300.0f, 66},  // 66.33 truncated
      {1000, 1, 0.001f, 1},                                    // never less than one pixel high
      {0, 100, 0.0f, 1},                                       // an image that did not load
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_FLOAT_EQ(LogoAspect(c.width, c.height), c.aspect);
    EXPECT_EQ(ScaledLogoHeight(LogoAspect(c.width, c.height)), c.scaled_height);
  }
}

TEST(LogoTest, DialogFilterSeparatesPairsWithNuls) {
  const std::string expected(
      "JPEG \0*.jpg\0 BitMap \0*.bmp\0 PNG \0*.png\0 TIFF \0*.tiff ; *.tif\0\0", 62);
  EXPECT_EQ(DialogFilterWithNuls(kLogoFilter), expected);
}

}  // namespace
}  // namespace qr
