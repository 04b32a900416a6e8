#include "printlib/print_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qr::print {
namespace {

TEST(ApplySettings, ReadsKeywordItems) {
  DevModeFields base;
  base.scale = 100;
  base.copies = 1;
  base.orientation = 1;
  struct Case {
    const char* text;
    DevModeFields expected;
  };
  auto with = [&](auto&& change) {
    DevModeFields d = base;
    change(d);
    return d;
  };
  const Case cases[] = {
      {"", base},
      {",,", base},
      {"ORIENTATION=2,PAPERSIZE=20", with([](DevModeFields& d) {
         d.orientation = 2, d.paperSize = 20, d.fields = kDmOrientation | kDmPaperSize;
       })},
      {"orientation=2,papersize=20", with([](DevModeFields& d) {
         d.orientation = 2, d.paperSize = 20, d.fields = kDmOrientation | kDmPaperSize;
       })},
      {"Orientation=2,Papersize=20", with([](DevModeFields& d) {
         d.orientation = 2, d.paperSize = 20, d.fields = kDmOrientation | kDmPaperSize;
       })},
      {" COPIES=3", base},  // blank before the key: no keyword
      {"COPIES =3", base},  // blank after it
      {"NCOPIES=5", base},  // not a keyword
      {"COPIES=$A", with([](DevModeFields& d) { d.copies = 10, d.fields = kDmCopies; })},
      {"COPIES=%101", with([](DevModeFields& d) { d.copies = 5, d.fields = kDmCopies; })},
      {"COPIES= 7x", with([](DevModeFields& d) { d.copies = 7, d.fields = kDmCopies; })},
      {"COPIES=2=5", with([](DevModeFields& d) { d.copies = 2, d.fields = kDmCopies; })},
      {"COPIES=abc", with([](DevModeFields& d) { d.copies = 0, d.fields = kDmCopies; })},
      {"COPIES=70000", with([](DevModeFields& d) { d.copies = 4464, d.fields = kDmCopies; })},
      {"COPIES=-1", with([](DevModeFields& d) { d.copies = -1, d.fields = kDmCopies; })},
      {"SCALE", with([](DevModeFields& d) { d.scale = 0, d.fields = kDmScale; })},
      {"SCALE,COPIES=4",
       with([](DevModeFields& d) { d.scale = 0, d.copies = 4, d.fields = kDmScale | kDmCopies; })},
      {"COPIES=2,COPIES=3", with([](DevModeFields& d) { d.copies = 3, d.fields = kDmCopies; })},
      {"PAPERLENGTH=2410,PAPERWIDTH=1050,DEFAULTSOURCE=7,PRINTQUALITY=-4,COLOR=2,DUPLEX=3,"
       "YRESOLUTION=600,TTOPTION=1,COLLATE=1",
       with([](DevModeFields& d) {
         d.paperLength = 2410, d.paperWidth = 1050, d.defaultSource = 7, d.printQuality = -4,
         d.color = 2, d.duplex = 3, d.yResolution = 600, d.ttOption = 1, d.collate = 1;
         d.fields = kDmPaperLength | kDmPaperWidth | kDmDefaultSource | kDmPrintQuality | kDmColor |
                    kDmDuplex | kDmYResolution | kDmTTOption | kDmCollate;
       })},
  };
  for (const Case& c : cases) {
    DevModeFields d = base;
    ApplySettings(c.text, d);
    EXPECT_EQ(d, c.expected) << '"' << c.text << '"';
  }
}

TEST(ApplySettings, KeepsFlagsAlreadySet) {
  DevModeFields d;
  d.fields = 0x00800000;  // a flag the text never names
  ApplySettings("DUPLEX=2", d);
  EXPECT_EQ(d.fields, 0x00800000u | kDmDuplex);
}

TEST(Units, ConvertWithRoundingHalvesToEven) {
  struct Case {
    int mode;
    float value;
    int dpi;
    std::int32_t pixels;
  } cases[] = {
      {kUnitMillimetre, 25.4f, 600, 600},
      {kUnitMillimetre, 25.4f, 300, 300},
      {kUnitMillimetre, 10.0f, 300, 118},
      {kUnitMillimetre, -25.4f, 600, -600},
      {kUnitTenthInch, 10.0f, 600, 600},
      {kUnitTenthInch, 0.05f, 300, 2},
      {kUnitPixels, 2.5f, 600, 2},
      {kUnitPixels, 3.5f, 600, 4},
      {kUnitPixels, -2.5f, 600, -2},
      {kUnitPixels, 2.6f, 600, 3},
      {5, 2.5f, 600, 2},
      {5, 3.5f, 600, 4},
      {-1, 7.0f, 600, 7},
      {kUnitPixels, 1e20f, 600, INT32_MAX},
      {kUnitPixels, -1e20f, 600, INT32_MIN},
      {kUnitPixels, std::numeric_limits<float>::quiet_NaN(), 600, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UnitToDevice(c.mode, c.value, c.dpi), c.pixels)
        << "mode " << c.mode << " value " << c.value << " dpi " << c.dpi;
  }
}

TEST(Units, ConvertBackFromPixels) {
  struct Case {
    int mode;
    std::int32_t pixels;
    int dpi;
    float value;
  } cases[] = {
      {kUnitMillimetre, 1, 600, 0.0423333f}, {kUnitMillimetre, 600, 600, 25.4f},
      {kUnitTenthInch, 600, 600, 10.0f},     {kUnitTenthInch, 1, 300, 0.0333333f},
      {kUnitPixels, 17, 600, 17.0f},         {5, 17, 600, 17.0f},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(DeviceToUnit(c.mode, c.pixels, c.dpi), c.value, 1e-5f)
        << "mode " << c.mode << " pixels " << c.pixels;
  }
  // A round trip through pixels lands within half a pixel of where it started.
  for (float mm = 0.0f; mm < 300.0f; mm += 7.3f) {
    const float back = DeviceToUnit(kUnitMillimetre, UnitToDevice(kUnitMillimetre, mm, 300), 300);
    EXPECT_NEAR(back, mm, 25.4f / 300 / 2 + 1e-4f) << mm;
  }
}

TEST(Fonts, StyleBitsAndHeights) {
  struct Case {
    std::int32_t style;
    FontStyleFields expected;
  } cases[] = {
      {0, {400, 0, 0, 0, 0}},     {0x100, {700, 0, 0, 0, 0}}, {0x200, {400, 1, 0, 0, 0}},
      {0x300, {700, 1, 0, 0, 0}}, {0x4, {400, 0, 1, 0, 0}},   {0x8, {400, 0, 0, 1, 0}},
      {0x1, {400, 0, 0, 0, 1}},   {0x10, {400, 0, 0, 0, 2}},  {0x11, {400, 0, 0, 0, 4}},
      {0x12, {400, 0, 0, 0, 5}},  {0x13, {400, 0, 0, 0, 4}},  {0x2, {400, 0, 0, 0, 0}},
      {0x31F, {700, 1, 1, 1, 4}},
  };
  for (const Case& c : cases) EXPECT_EQ(FontStyleFromBits(c.style), c.expected) << c.style;

  EXPECT_EQ(FontHeight(12, 300), 50);
  EXPECT_EQ(FontHeight(12, 600), 100);
  EXPECT_EQ(FontHeight(12, 96), 16);
  EXPECT_EQ(FontHeight(10, 300), 41);  // 41.67 truncated
  EXPECT_EQ(FontHeight(-12, 300), -50);
  EXPECT_EQ(FontHeight(INT32_MAX, 600), INT32_MAX);  // clamped, not overflowed

  EXPECT_EQ(CutFaceName("Arial"), "Arial");
  EXPECT_EQ(CutFaceName(std::string(40, 'x')), std::string(31, 'x'));
  EXPECT_EQ(CutFaceName(std::string(30, 'x') + "\xC3\xA9\xC3\xA9"),
            std::string(30, 'x') + "\xC3\xA9");
  EXPECT_EQ(CutFaceName(std::string(30, 'x') + "\xF0\x9F\x98\x80"), std::string(30, 'x'));
}

TEST(Preview, PageSizeAndResolution) {
  struct Case {
    std::int32_t width, horz, vert, lpx, lpy, height;
  } cases[] = {
      {684, 2550, 1050, 300, 300, 281}, {684, 2550, 1050, 600, 300, 562},
      {684, 2550, 1050, 300, 600, 0},   {684, 2850, 1237, 300, 300, 296},
      {684, 0, 1050, 300, 300, 0},      {684, 2550, 0, 300, 300, 0},
      {684, 2550, 1050, 0, 300, 0},     {684, 2550, 1050, 300, 0, 0},
      {0, 2550, 1050, 300, 300, 0},     {-684, 2550, 1050, 300, 300, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PreviewHeight(c.width, c.horz, c.vert, c.lpx, c.lpy), c.height)
        << c.width << " " << c.horz << "x" << c.vert << " @" << c.lpx << "x" << c.lpy;
  }
  EXPECT_EQ(PreviewDpi(684, 241), 72);  // 684 * 25.4 / 241 = 72.09
  EXPECT_EQ(PreviewDpi(296, 104), 72);
  EXPECT_EQ(PreviewDpi(684, 0), 0);
}

TEST(ImageMethods, ChosenByRasterCaps) {
  EXPECT_EQ(ChooseImageMethod(0x2a19), ImageMethod::kStretchBlt);  // the PDF printer's caps
  EXPECT_EQ(ChooseImageMethod(0x800 | 0x2000), ImageMethod::kStretchBlt);
  EXPECT_EQ(ChooseImageMethod(0x2000 | 0x1), ImageMethod::kStretchDib);
  EXPECT_EQ(ChooseImageMethod(0x80), ImageMethod::kStretchDib);
  EXPECT_EQ(ChooseImageMethod(0x1), ImageMethod::kResizedCopy);
  EXPECT_EQ(ChooseImageMethod(0), ImageMethod::kNone);
  EXPECT_EQ(ChooseImageMethod(0x2 | 0x8 | 0x400), ImageMethod::kNone);
}

TEST(DefaultPrinter, ProfileValueAndVersions) {
  EXPECT_EQ(PrinterFromProfileDevice("HP LaserJet,HPPCL5MS,LPT1:"), "HP LaserJet");
  EXPECT_EQ(PrinterFromProfileDevice("PDF"), "PDF");
  EXPECT_EQ(PrinterFromProfileDevice(""), "");
  EXPECT_EQ(PrinterFromProfileDevice(",x"), "");

  struct Case {
    std::uint32_t version;
    bool before2000, nt;
  } cases[] = {
      {0xC0000A04, true, false},  // Windows 98
      {0xC0005A04, true, false},  // Windows Me
      {0x05650004, true, true},   // NT 4.0 build 1381
      {0x08930005, false, true},  // Windows 2000
      {0x1DB10106, false, true},  // 7 SP1 build 7601
      {0x28000006, false, true},  // build 10240: low byte of the build number is 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsBeforeWindows2000(c.version), c.before2000) << std::hex << c.version;
    EXPECT_EQ(IsNtFamily(c.version), c.nt) << std::hex << c.version;
  }
}

}  // namespace
}  // namespace qr::print
