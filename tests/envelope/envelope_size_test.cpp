// Envelope sizes, true-size placement and the alignment marks.
#include "envelope/envelope_size.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "envelope/alignment.h"
#include "envelope/envelope_layout.h"
#include "envelope/label_sheet.h"

namespace qr {
namespace {

// Base points worked out by hand: x = 2508 x width / 9.5 in, y = 900 x height / 4.125 in.
TEST(EnvelopeSizeTest, TheSizesInMenuOrder) {
  struct Case {
    const char* name;
    const char* settings;
    FigurePoint base;
  } cases[] = {
      {"No. 10", "Orientation=2,Papersize=20", {2508, 900}},
      {"No. 9", "Orientation=2,Papersize=19", {2343, 845}},  // 845.45
      {"No. 6 3/4", "Orientation=2,Papersize=38", {1716, 791}},
      {"Monarch", "Orientation=2,Papersize=37", {1980, 845}},
      {"A2", "Orientation=2,Papersize=256,Paperwidth=1111,Paperlength=1461", {1518, 955}},
      {"A7", "Orientation=2,Papersize=256,Paperwidth=1334,Paperlength=1842", {1914, 1145}},
      {"6 x 9", "Orientation=2,Papersize=256,Paperwidth=1524,Paperlength=2286", {2376, 1309}},
      {"9 x 12", "Orientation=2,Papersize=256,Paperwidth=2286,Paperlength=3048", {3168, 1964}},
      {"DL", "Orientation=2,Papersize=27", {2287, 945}},  // 2286.57, 944.86
      {"C5", "Orientation=2,Papersize=28", {2380, 1392}},
      {"C6", "Orientation=2,Papersize=31", {1684, 979}},
  };
  ASSERT_EQ(EnvelopeSizes().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const EnvelopeSize& size = EnvelopeSizes()[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(size.name, c.name);
    EXPECT_EQ(&FindEnvelopeSize(c.name), &size);
    EXPECT_EQ(PageSettingsText(size), c.settings);
    EXPECT_EQ(AddresseeBasePoint(size), c.base);
  }
  EXPECT_EQ(FindEnvelopeSize(""), DefaultEnvelopeSize());
  EXPECT_EQ(FindEnvelopeSize("no. 9"), DefaultEnvelopeSize());  // the text as the menu has it
  EXPECT_EQ(DefaultEnvelopeSize().name, "No. 10");
}

TEST(EnvelopeSizeTest, PlacementText) {
  EXPECT_EQ(ParsePlacement("True Size"), Placement::kTrueSize);
  for (const char* other : {"Dots", "", "true size", "TrueSize", "True Size!"})
    EXPECT_EQ(ParsePlacement(other), Placement::kDots) << other;
  EXPECT_EQ(PlacementText(Placement::kTrueSize), "True Size");
  EXPECT_EQ(PlacementText(Placement::kDots), "Dots");
}

// Pages as the PDF printer reports them (PHYSICALWIDTH x PHYSICALHEIGHT).
TEST(EnvelopeSizeTest, WhetherThePrintersPageIsTheEnvelope) {
  struct Case {
    const char* size;
    std::int32_t width, height, dpi;
    bool is;
  } cases[] = {
      {"No. 10", 2850, 1237, 300, true},
      {"No. 10", 5700, 2475, 600, true},
      {"No. 10", 1237, 2850, 300, false},  // portrait
      {"No. 9", 3508, 2479, 300, false},   // the driver's A4 instead
      {"DL", 2600, 1300, 300, true},       // 624 x 312 pt for 220 x 110 mm
      {"A2", 4200, 3300, 300, false},
      {"A2", 1725, 1312, 300, true},
      {"A2", 1745, 1312, 300, false},  // 1/15 inch too wide
      {"C6", 0, 0, 300, true},         // no size reported: cannot tell
      {"C6", 3508, 2479, 0, true},     // no resolution
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageIsEnvelope(FindEnvelopeSize(c.size), c.width, c.height, c.dpi, c.dpi), c.is)
        << c.size << " " << c.width << " x " << c.height << " at " << c.dpi;
  }
}

TEST(EnvelopeSizeTest, DriverPaperOfTheEnvelopesSize) {
  // As this Wine's PostScript driver lists them: its own codes from 256 on for pages
  // without a Windows code, the first of them under the user-defined code itself.
  const DriverPaper papers[] = {
      {256, 2794, 3556}, {9, 2100, 2970},   {20, 1047, 2413},  {280, 1111, 1460},
      {282, 1524, 2286}, {283, 2286, 3048}, {284, 1110, 1462},  // a second, farther A2
      {500, 1462, 1111},                                        // rotated: no closer
  };
  EXPECT_EQ(MatchDriverPaper(papers, FindEnvelopeSize("A2")), 280);
  EXPECT_EQ(MatchDriverPaper(papers, FindEnvelopeSize("6 x 9")), 282);
  EXPECT_EQ(MatchDriverPaper(papers, FindEnvelopeSize("No. 10")), 20);
  EXPECT_EQ(MatchDriverPaper(papers, FindEnvelopeSize("No. 9")), std::nullopt);
  const DriverPaper userOnly[] = {{256, 1111, 1461}};
  EXPECT_EQ(MatchDriverPaper(userOnly, FindEnvelopeSize("A2")), std::nullopt);
}

EnvelopeInputs Positions(const char* senderH, const char* senderV, const char* addresseeH,
                         const char* addresseeV, Placement placement) {
  EnvelopeInputs in;
  in.senderHorizontal = senderH;
  in.senderVertical = senderV;
  in.addresseeHorizontal = addresseeH;
  in.addresseeVertical = addresseeV;
  in.placement = placement;
  return in;
}

PointF AddresseeDrawnAt(const EnvelopeLayout& layout) {
  // The recording printer's and the library's measuring gives back the rounded point.
  return {std::nearbyint(layout.addresseeMeasureOrigin.x) + layout.addresseeDrawShift.x,
          std::nearbyint(layout.addresseeMeasureOrigin.y) + layout.addresseeDrawShift.y};
}

// (placement, resolution and margin, figures) -> device pixels. Sender (600, 300) and
// addressee (10, 5) unless said otherwise: the addressee's figures are 2748 and 990.
TEST(EnvelopeSizeTest, FiguresToDevicePixels) {
  const Placement kDots = Placement::kDots, kTrue = Placement::kTrueSize;
  const PrinterPage margin{5700, 1237, 150, 75, 5400, 1087, 600, 300};  // 600 x 300, 1/4 in
  const PrinterPage flat{2850, 1237, 0, 0, 2850, 1237, 300, 0};         // no page: printed
  struct Case {
    const char* what;
    Placement placement;
    std::int32_t dpi, offsetX, offsetY;
    const char* positions[4];
    PointF sender, addressee;
    PrinterPage preview = {};  // a true-size preview on it: its picture 18 pixels in
  } cases[] = {
      {"dots ignore the resolution",
       kDots,
       300,
       0,
       0,
       {"600", "300", "10", "5"},
       {600, 300},
       {2748, 990}},
      {"true size at 300 dpi",
       kTrue,
       300,
       0,
       0,
       {"600", "300", "10", "5"},
       {300, 150},
       {1374, 495}},
      {"600 dpi without margin: as dots",
       kTrue,
       600,
       0,
       0,
       {"600", "300", "10", "5"},
       {600, 300},
       {2748, 990}},
      {"1200 dpi", kTrue, 1200, 0, 0, {"600", "300", "10", "5"}, {1200, 600}, {5496, 1980}},
      {"the unprintable margin comes off",
       kTrue,
       600,
       25,
       30,
       {"600", "300", "10", "5"},
       {575, 270},
       {2723, 960}},
      {"a resolution of 0 prints in dots",
       kTrue,
       0,
       0,
       0,
       {"600", "300", "10", "5"},
       {600, 300},
       {2748, 990}},
      // 1 figure at 300 dpi is half a dot: halves go away from zero.
      {"halves", kTrue, 300, 0, 0, {"1", "-1", "1", "0"}, {1, -1}, {1266, 450}},
      // 918 figures at 96 dpi: 146.88 gives 147; measured at 909 (145.44) and moved by 9
      // figures (1.44) rounded apart, it would be 146.
      {"one rounding", kTrue, 96, 0, 0, {"0", "0", "0", "1"}, {0, 0}, {401, 147}},
      {"preview, margin", kTrue, 0, 0, 0, {"600", "300", "10", "5"}, {54, 18}, {312, 101}, margin},
      {"0 dpi down", kTrue, 0, 0, 0, {"600", "300", "10", "5"}, {600, 300}, {2748, 990}, flat},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const EnvelopeInputs in =
        Positions(c.positions[0], c.positions[1], c.positions[2], c.positions[3], c.placement);
    const std::optional<PreviewPage> page = TrueSizePreviewPage(c.preview, kPreviewWidth);
    const EnvelopeLayout layout = ComposeEnvelopeLayout(
        in, page ? EnvelopeTarget::kPreview : EnvelopeTarget::kPrint,
        page ? page->scale : PrinterScale(c.dpi, c.dpi, c.offsetX, c.offsetY));
    EXPECT_EQ(layout.senderOrigin, c.sender);
    EXPECT_EQ(AddresseeDrawnAt(layout), c.addressee);
  }
}

TEST(EnvelopeSizeTest, RoundingOnceWithoutOverflow) {
  // The farthest addressee figure (2508 + 24 x the largest position) at the largest
  // resolution a device can report.
  EXPECT_EQ(MulDivRound(51539609036, 2147483647, 600), 184467445962639057);
  EXPECT_EQ(MulDivRound(-51539609036, 2147483647, 600), -184467445962639057);
}

TEST(EnvelopeSizeTest, TrueSizeScalesTheLogoAndTheBoxes) {
  EnvelopeInputs in = Positions("600", "300", "0", "0", Placement::kTrueSize);
  in.logo = EnvelopeLogo{true, 4, 0.25f};  // 400 x 100: 62 dots high, 99 below the top
  const EnvelopeLayout layout =
      ComposeEnvelopeLayout(in, EnvelopeTarget::kPrint, PrinterScale(300, 300, 0, 0));
  EXPECT_EQ(layout.senderOrigin, (PointF{436, 150}));      // (600 + 272) / 2
  EXPECT_EQ(layout.logoRect, (RectF{300, 200, 125, 31}));  // 399 / 2 and 62 / 2 go up
  EXPECT_EQ(layout.senderMeasureSize, (PointF{50, 50}));
  EXPECT_EQ(layout.addresseeMeasureSize, (PointF{40, 50}));
}

// The preview shows the envelope 684 pixels wide, whatever the printer.
TEST(EnvelopeSizeTest, TrueSizePreviewAt684PixelsForTheWidth) {
  const EnvelopeInputs in = Positions("600", "300", "0", "0", Placement::kTrueSize);
  const EnvelopeLayout no10 = ComposeEnvelopeLayout(in, EnvelopeTarget::kPreview);
  EXPECT_EQ(no10.senderOrigin, (PointF{72, 36}));         // 72 pixels per inch
  EXPECT_EQ(AddresseeDrawnAt(no10), (PointF{301, 108}));  // 684 x 4.18 / 9.5 = 300.96
  EnvelopeInputs a2 = in;
  a2.size = FindEnvelopeSize("A2");  // 684 / 5.75 pixels per inch
  const EnvelopeLayout small = ComposeEnvelopeLayout(a2, EnvelopeTarget::kPreview);
  EXPECT_EQ(small.senderOrigin, (PointF{119, 59}));        // 118.96, 59.48
  EXPECT_EQ(AddresseeDrawnAt(small), (PointF{301, 189}));  // 1518 and 955 figures
}

TEST(EnvelopeSizeTest, DotsKeepTheTargetsOwnFiguresWithTheBaseScaled) {
  EnvelopeInputs in = Positions("0", "0", "0", "0", Placement::kDots);
  in.size = FindEnvelopeSize("A2");
  EXPECT_EQ(AddresseeDrawnAt(ComposeEnvelopeLayout(in, EnvelopeTarget::kPrint)),
            (PointF{1518, 955}));
  // The preview in dots stays as it always was.
  EXPECT_EQ(ComposeEnvelopeLayout(in, EnvelopeTarget::kPreview).addresseeMeasureOrigin,
            (PointF{297, 132.5f}));
}

TEST(AlignmentTest, QuarterInchTicksNumberedEveryInch) {
  const AlignmentMarks no10 = ComposeAlignmentMarks(DefaultEnvelopeSize());
  // 9.5 in: 37 ticks along the top (the 38th would be the right edge), 16 down the left.
  ASSERT_EQ(no10.ticks.size(), 37u + 16u);
  EXPECT_EQ(no10.ticks[0], (FigureLine{150, 0, 150, 100}));
  EXPECT_EQ(no10.ticks[1], (FigureLine{300, 0, 300, 150}));
  EXPECT_EQ(no10.ticks[3], (FigureLine{600, 0, 600, 240}));
  EXPECT_EQ(no10.ticks[36], (FigureLine{5550, 0, 5550, 100}));
  EXPECT_EQ(no10.ticks[37 + 15], (FigureLine{0, 2400, 240, 2400}));
  ASSERT_EQ(no10.labels.size(), 9u + 4u);
  EXPECT_EQ(no10.labels[0], (FigureLabel{"1", 615, 120}));
  EXPECT_EQ(no10.labels[8], (FigureLabel{"9", 5415, 120}));
  EXPECT_EQ(no10.labels[12], (FigureLabel{"4", 120, 2415}));

  // DL, 220 x 110 mm (8.66 x 4.33 in): eight inches along the top, four down the side.
  const AlignmentMarks dl = ComposeAlignmentMarks(FindEnvelopeSize("DL"));
  EXPECT_EQ(dl.labels.size(), 8u + 4u);
  EXPECT_EQ(dl.ticks.size(), 34u + 17u);
}

// The last label's corners worked out by hand from each sheet's published geometry.
TEST(LabelSheetTest, EverySheetFitsItsPaperWithoutOverlaps) {
  struct Case {
    const char* name;
    std::int32_t count;
    const char* settings;
    LabelRect last;
  } cases[] = {
      {"5160", 30, "Orientation=1,Papersize=1", {546, 912, 798, 1008}},
      {"5161", 20, "Orientation=1,Papersize=1", {417, 912, 801, 1008}},
      {"5162", 14, "Orientation=1,Papersize=1", {417, 848, 801, 976}},
      {"5163", 10, "Orientation=1,Papersize=1", {417, 816, 801, 1008}},
      {"L7160", 21, "Orientation=1,Papersize=9", {13925, 24375, 20275, 28185}},
      {"L7163", 14, "Orientation=1,Papersize=9", {10625, 24375, 20535, 28185}},
  };
  ASSERT_EQ(LabelSheets().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const LabelSheet& sheet = LabelSheets()[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(&FindLabelSheet(c.name), &sheet);
    EXPECT_EQ(sheet.Count(), c.count);
    EXPECT_EQ(SheetSettingsText(sheet), c.settings);
    EXPECT_EQ(SheetLabelRect(sheet, c.count - 1), c.last);
    const LabelRect paper = PaperRect(sheet);
    for (std::int32_t a = 0; a < sheet.Count(); ++a) {
      const LabelRect r = SheetLabelRect(sheet, a);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= paper.right && r.bottom <= paper.bottom)
          << "label " << a + 1;
      for (std::int32_t b = a + 1; b < sheet.Count(); ++b) {
        const LabelRect o = SheetLabelRect(sheet, b);
        EXPECT_FALSE(r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom)
            << "labels " << a + 1 << " and " << b + 1;
      }
    }
  }
  EXPECT_EQ(PaperRect(FindLabelSheet("5160")), (LabelRect{0, 0, 816, 1056}));  // 8.5 x 11 in
  EXPECT_EQ(PaperRect(FindLabelSheet("L7163")), (LabelRect{0, 0, 21000, 29700}));
  EXPECT_EQ(FindLabelSheet("").name, "5160");
  EXPECT_EQ(FindLabelSheet("l7160").name, "5160");
}

TEST(LabelSheetTest, LabelsLandAtTrueSizeAndRunOnToFurtherSheets) {
  // 5163, label 4: 4.34375 x 2.5 in from the paper's edge, at 300 dpi less the margin.
  const LabelSheet& s5163 = FindLabelSheet("5163");
  EXPECT_EQ(ToDevice(SheetLabelRect(s5163, 3), SheetScale(s5163, 300, 300, 12, 10)),
            (LabelRect{1291, 740, 2491, 1340}));
  EXPECT_TRUE(PageIsSheetPaper(s5163, 2550, 3300, 300, 300));
  EXPECT_FALSE(PageIsSheetPaper(s5163, 3300, 2550, 300, 300));  // landscape
  EXPECT_FALSE(PageIsSheetPaper(s5163, 2480, 3508, 300, 300));  // A4
  EXPECT_TRUE(PageIsSheetPaper(FindLabelSheet("L7160"), 2480, 3508, 300, 300));

  const LabelSheet& s5160 = FindLabelSheet("5160");
  EXPECT_EQ(PlaceLabel(s5160, 29, 0), (LabelSlot{0, 28}));
  EXPECT_EQ(PlaceLabel(s5160, 29, 1), (LabelSlot{0, 29}));
  EXPECT_EQ(PlaceLabel(s5160, 29, 2), (LabelSlot{1, 0}));
  EXPECT_EQ(PlaceLabel(s5160, 29, 34), (LabelSlot{2, 2}));
  EXPECT_EQ(PlaceLabel(s5163, 4, 2), (LabelSlot{0, 5}));

  for (const char* bad :
       {"", " ", "0", "11", "-1", "+3", "4a", "2.5", "1/", "99999999999999999999"})
    EXPECT_EQ(ReadStartLabel(bad, s5163), std::nullopt) << bad;
  EXPECT_EQ(ReadStartLabel("1", s5163), 1);
  EXPECT_EQ(ReadStartLabel(" 10 ", s5163), 10);
  EXPECT_EQ(ReadStartLabel("29", s5160), 29);
}

TEST(LabelSheetTest, ALongBlockGetsASmallerFontDownToSixPoints) {
  // A block of `chars` characters per line, 10 pixels per point and character, 3 lines.
  std::int32_t smallest = 99;
  const auto block = [&smallest](std::int64_t chars) {
    return [&smallest, chars](std::int32_t points) {
      smallest = std::min(smallest, points);
      return BlockExtent{points * 10 * chars, points * 30};
    };
  };
  const BlockExtent room{1000, 600};
  EXPECT_EQ(FitLabelFont(16, BlockExtent{800, 480}, block(5)), 16);   // just fits
  EXPECT_EQ(FitLabelFont(16, room, block(8)), 12);                    // 1280 wide at 16, 960 at 12
  EXPECT_EQ(FitLabelFont(16, BlockExtent{5000, 300}, block(8)), 10);  // by its height
  EXPECT_EQ(FitLabelFont(16, room, block(100)), kMinLabelPoints);
  EXPECT_EQ(smallest, kMinLabelPoints + 1);  // 6 pt is taken without measuring
  EXPECT_EQ(FitLabelFont(4, room, block(100)), 4);

  const LabelRect label{100, 200, 1300, 800};  // 4 x 2 in at 300 dpi
  EXPECT_EQ(LabelTextRoom(label, 300, 300).width, 1140);
  EXPECT_EQ(LabelTextRoom(label, 300, 300).height, 540);
  EXPECT_EQ(LabelTextOrigin(label, BlockExtent{500, 200}, 300), (DevicePoint{130, 400}));
}

}  // namespace
}  // namespace qr
