// What the font dialog opens on and what is stored from its answer.
#include "envelope/font_selection.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(FontSelectionTest, CancelKeepsTheDefaultsOfFirstUse) {
  struct Case {
    FontVariant variant;
    FontValues stored;
    FontValues expected;
  };
  const Case cases[] = {
      {FontVariant::kAddressee, {}, {"Arial", "14", "Regular"}},
      {FontVariant::kSender, {}, {"Arial", "12", "Regular"}},
      {FontVariant::kSender, {"Courier New", "", "Bold"}, {"Courier New", "12", "Bold"}},
  };
  for (const Case& c : cases) {
    FontValues values = c.stored;
    EXPECT_TRUE(ApplyFontDialogDefaults(c.variant, values));
    EXPECT_EQ(FontValuesAfterDialog(values, std::nullopt), c.expected);
  }
  FontValues complete{"Arial", "9", "None"};
  EXPECT_FALSE(ApplyFontDialogDefaults(FontVariant::kSender, complete));
}

TEST(FontSelectionTest, DialogAnswerToStoredTexts) {
  struct Case {
    std::int32_t tenths;
    std::int32_t weight;
    bool italic;
    const char* size;
    const char* style;
  };
  const Case cases[] = {
      {105, 700, true, "10", "Bold & Italic"},  // 10.5 pt is cut to 10
      {120, 400, false, "12", "None"},
      {120, 700, false, "12", "Bold"},
      {80, 400, true, "8", "Italic"},
      {140, 800, false, "14", "None"},  // extra bold is not bold
      {140, 900, true, "14", "Italic"},
  };
  const FontValues remembered{"Arial", "14", "Regular"};
  for (const Case& c : cases) {
    const FontValues stored = FontValuesAfterDialog(
        remembered, FontDialogChoice{"Times New Roman", c.tenths, c.weight, c.italic});
    EXPECT_EQ(stored, (FontValues{"Times New Roman", c.size, c.style}))
        << c.tenths << " " << c.weight << " " << c.italic;
    // What is stored prints as what was chosen (weight 700 only).
    const std::int32_t flags = StyleFlags(stored.style);
    EXPECT_EQ((flags & kFontStyleBold) != 0, c.weight == 700);
    EXPECT_EQ((flags & kFontStyleItalic) != 0, c.italic);
  }
}

TEST(FontSelectionTest, DialogPresetFromStoredValues) {
  struct Case {
    FontValues stored;
    std::int32_t points;
    std::int32_t weight;
    bool italic;
    std::int32_t height_at_96_dpi;
  };
  const Case cases[] = {
      {{"Arial", "14", "Regular"}, 14, 400, false, -19},  // 18.67 rounds to 19
      {{"Arial", "12", "Bold & Italic"}, 12, 700, true, -16},
      {{"Arial", "11", "Italic"}, 11, 400, true, -15},
      {{"Arial", "9", "None"}, 9, 400, false, -12},
      {{"Arial", "10", "Bold"}, 10, 700, false, -13},  // 13.33
  };
  for (const Case& c : cases) {
    const FontDialogPreset preset = MakeFontDialogPreset(c.stored);
    EXPECT_EQ(preset.face, "Arial");
    EXPECT_EQ(preset.points, c.points);
    EXPECT_EQ(preset.weight, c.weight) << c.stored.style;
    EXPECT_EQ(preset.italic, c.italic) << c.stored.style;
    EXPECT_EQ(preset.LogFontHeight(96), c.height_at_96_dpi) << c.stored.size;
  }
  // A LOGFONT holds 31 characters of the face name.
  const std::string long_face(40, 'F');
  EXPECT_EQ(MakeFontDialogPreset({long_face, "12", ""}).face, std::string(31, 'F'));
}

TEST(FontSelectionTest, MulDivRoundsHalvesAwayFromZeroAndReportsOverflow) {
  struct Case {
    std::int32_t a, b, c, expected;
  };
  const Case cases[] = {
      {7, 1, 2, 4},
      {-7, 1, 2, -4},
      {7, -1, 2, -4},
      {7, 1, -2, -4},
      {-7, -1, 2, 4},
      {5, 3, 0, -1},
      {14, 120, 72, 23},
      {2147483647, 2, 1, -1},  // does not fit
      {2147483647, 2, 2, 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDivRound(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
  }
}

}  // namespace
}  // namespace qr
