// Texts, style bits and positions of the envelope layout.
#include "envelope/envelope_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "printlib/print_math.h"

namespace qr {
namespace {

TEST(EnvelopeLayoutTest, AddresseeTextLines) {
  struct Case {
    const char* suite;
    const char* city;
    const char* street;
    const char* expected;
  };
  const Case cases[] = {
      {"", "Albany", "PO Box 9", "ACME\nPO Box 9\nAlbany, NY 12207"},
      {"   ", "Albany", "PO Box 9", "ACME\nPO Box 9\nAlbany, NY 12207"},  // blank suite
      {" Apt 4 ", "Albany", "PO Box 9", "ACME\nPO Box 9\n Apt 4 \nAlbany, NY 12207"},
      {"", "", "PO Box 9", "ACME\nPO Box 9\nNY 12207"},        // no city, no comma
      {"", "  ", "PO Box 9", "ACME\nPO Box 9\n  , NY 12207"},  // a city of blanks
      {"", "Albany", "", "ACME\n\nAlbany, NY 12207"},          // the street line stays
  };
  for (const Case& c : cases) {
    EnvelopeInputs in;
    in.addresseeName = "ACME";
    in.addresseeStreet = c.street;
    in.addresseeSuite = c.suite;
    in.addresseeCity = c.city;
    in.addresseeState = "NY";
    in.addresseeZip = "12207";
    EXPECT_EQ(ComposeAddresseeText(in), c.expected) << "suite \"" << c.suite << "\"";
  }
}

TEST(EnvelopeLayoutTest, SenderTextIsAlwaysThreeUntrimmedLines) {
  EnvelopeInputs in;
  in.senderStreet = " 1 Elm St ";
  EXPECT_EQ(ComposeSenderText(in), "\n 1 Elm St \n");
}

TEST(EnvelopeLayoutTest, StyleTextToStyleBits) {
  struct Case {
    const char* text;
    std::int32_t flags;
  };
  const Case cases[] = {
      {"None", 0},
      {"Regular", 0},
      {"", 0},
      {"Bold", 0x100},
      {"Italic", 0x200},
      {"Bold & Italic", 0x300},
      {"bold", 0},             // case-sensitive
      {"Italic Bold", 0x200},  // the italic test replaces the bold one
      {"Extra Bold & Italic", 0x300},
  };
  for (const Case& c : cases) EXPECT_EQ(StyleFlags(c.text), c.flags) << c.text;
}

TEST(EnvelopeLayoutTest, EmptyFontValuesFallBackBeforeDrawing) {
  EnvelopeFonts fonts;
  fonts.sender.style = "Bold";
  EXPECT_TRUE(ApplyEnvelopeFontDefaults(fonts));
  EXPECT_EQ(fonts.sender, (FontValues{"Arial", "12", "Bold"}));
  EXPECT_EQ(fonts.addressee, (FontValues{"Arial", "16", ""}));
  EXPECT_FALSE(ApplyEnvelopeFontDefaults(fonts)) << "nothing left to fill";

  // The layout applies the same fallbacks even when the caller did not.
  const EnvelopeLayout layout = ComposeEnvelopeLayout(EnvelopeInputs{}, EnvelopeTarget::kPrint);
  EXPECT_EQ(layout.senderFont, (EnvelopeFont{"Arial", 12, 0}));
  EXPECT_EQ(layout.addresseeFont, (EnvelopeFont{"Arial", 16, 0}));
}

TEST(EnvelopeLayoutTest, PageSettingsAreLandscapeNumberTenEnvelope) {
  // Read as the printer library reads them when it opens the printer.
  print::DevModeFields page;
  print::ApplySettings(PageSettingsText(), page);
  EXPECT_EQ(page.orientation, 2);  // DMORIENT_LANDSCAPE
  EXPECT_EQ(page.paperSize, 20);   // DMPAPER_ENV_10
  EXPECT_EQ(page.fields, print::kDmOrientation | print::kDmPaperSize) << "and nothing else";
}

TEST(EnvelopeLayoutTest, BlockPositionsOnPaperAndInPreview) {
  struct Case {
    const char* sender_h;
    const char* sender_v;
    const char* addressee_h;
    const char* addressee_v;
    EnvelopeTarget target;
    PointF sender;
    PointF measure;
    PointF shift;
  };
  const EnvelopeTarget kPrint = EnvelopeTarget::kPrint;
  const EnvelopeTarget kPreview = EnvelopeTarget::kPreview;
  const Case cases[] = {
      // Empty fields: sender at the corner, addressee at (2508, 900) dots.
      {"", "", "", "", kPrint, {0, 0}, {2508, 900}, {0, 0}},
      {"", "", "", "", kPreview, {0, 0}, {297, 132.5f}, {0, 0}},
      // Addressee 10, 5: measured at (2628, 945), drawn 120, 45 further = (2748, 990).
      {"100", "100", "10", "5", kPrint, {100, 100}, {2628, 945}, {120, 45}},
      {"100", "100", "10", "5", kPreview, {100, 100}, {307, 137.5f}, {0, 0}},
      // Negative, hexadecimal and trailing text follow the common number reading.
      {"-20", "$10", "-1", "2 rows", kPrint, {-20, 16}, {2496, 918}, {-12, 18}},
  };
  for (const Case& c : cases) {
    EnvelopeInputs in;
    in.senderHorizontal = c.sender_h;
    in.senderVertical = c.sender_v;
    in.addresseeHorizontal = c.addressee_h;
    in.addresseeVertical = c.addressee_v;
    const EnvelopeLayout layout = ComposeEnvelopeLayout(in, c.target);
    SCOPED_TRACE(std::string(c.addressee_h) + "," + c.addressee_v +
                 (c.target == kPrint ? " print" : " preview"));
    EXPECT_EQ(layout.senderOrigin, c.sender);
    EXPECT_EQ(layout.addresseeMeasureOrigin, c.measure);
    EXPECT_EQ(layout.addresseeDrawShift, c.shift);
    EXPECT_EQ(layout.senderMeasureSize, (PointF{100, 100}));
    EXPECT_EQ(layout.addresseeMeasureSize, c.target == kPrint ? (PointF{80, 100}) : (PointF{0, 0}));
    EXPECT_FALSE(layout.logoInUse);
  }
}

TEST(EnvelopeLayoutTest, HugePositionsDoNotWrapAround) {
  EnvelopeInputs in;
  in.addresseeHorizontal = "2147483647";
  in.senderHorizontal = "2147483647";
  in.logo = EnvelopeLogo{true, 1, 1.0f};
  const EnvelopeLayout layout = ComposeEnvelopeLayout(in, EnvelopeTarget::kPrint);
  EXPECT_FLOAT_EQ(layout.addresseeMeasureOrigin.x, 2508.0f + 12.0f * 2147483647.0f);
  EXPECT_GT(layout.senderOrigin.x, 2147483647.0f);
}

TEST(EnvelopeLayoutTest, LogoRectangleOnPaperAndInPreview) {
  struct Case {
    float aspect;
    std::int32_t h;
    RectF print;
    RectF preview;
  };
  const Case cases[] = {
      // 400 x 100: h 62, offset (250 - 62) / 2 + 5 = 99; preview (94 + 5) / 8 -> 12.
      {100.0f / 400.0f, 62, {10, 20 + 99, 250, 62}, {10, 20 + 12, 31.25f, 7.75f}},
      // h 63: 93.5 truncated to 93, + 5 = 98; preview keeps the half: 98.5 / 8 -> 12.
      {252.0f / 1000.0f, 63, {10, 20 + 98, 250, 63}, {10, 20 + 12, 31.25f, 7.875f}},
      // Twice as tall as wide: 250 x 500 from the sender's top.
      {2.0f, 500, {10, 20, 250, 500}, {10, 20, 31.25f, 62.5f}},
      // Square: exactly the band, no offset.
      {1.0f, 250, {10, 20, 250, 250}, {10, 20, 31.25f, 31.25f}},
      // A logo without a usable aspect is drawn with no height instead of failing.
      {std::numeric_limits<float>::quiet_NaN(),
       0,
       {10, 20 + 130, 250, 0},
       {10, 20 + 16, 31.25f, 0}},
      {std::numeric_limits<float>::infinity(), 0, {10, 20 + 130, 250, 0}, {10, 20 + 16, 31.25f, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.aspect);
    EXPECT_EQ(LogoHeightDots(c.aspect), c.h);
    EnvelopeInputs in;
    in.senderHorizontal = "10";
    in.senderVertical = "20";
    in.logo = EnvelopeLogo{true, 5, c.aspect};
    const EnvelopeLayout print = ComposeEnvelopeLayout(in, EnvelopeTarget::kPrint);
    const EnvelopeLayout preview = ComposeEnvelopeLayout(in, EnvelopeTarget::kPreview);
    EXPECT_TRUE(print.logoInUse);
    EXPECT_EQ(print.logoImage, 5);
    EXPECT_EQ(print.logoRect, c.print);
    EXPECT_EQ(preview.logoRect, c.preview);
    // The sender text stands right of the logo.
    EXPECT_EQ(print.senderOrigin, (PointF{10 + 272, 20}));
    EXPECT_EQ(preview.senderOrigin, (PointF{10 + 33, 20}));
  }
}

}  // namespace
}  // namespace qr
