// Print jobs on the PDF printer whose output a native check (check_pdf_jobs.py) reads back:
// for each job this program writes one line to the manifest (QR_PDF_MANIFEST) saying what
// the PDF must show.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "printlib/printer_lib_win.h"

namespace {

// One manifest line: the job's title, a word that must start at xPoints with its baseline at
// baselinePoints (points from the paper's top-left corner), and a word that must not appear
// ("-" for none). The texts avoid letters that reach below the baseline: the PDF's word boxes
// end at the lowest point of the glyphs used, which then is the baseline.
struct Expectation {
  std::string title;
  std::string word;
  double xPoints = 0, baselinePoints = 0;
  std::string absentWord = "-";
};

std::string RunToken() {
  return std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount() % 100000);
}

class PdfJobs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::remove(QR_PDF_MANIFEST); }
  void SetUp() override { Print_Init(); }
  void TearDown() override { Print_Free(); }

  static void Record(const Expectation& e) {
    std::ofstream out(QR_PDF_MANIFEST, std::ios::app);
    out << e.title << '\t' << e.word << '\t' << e.xPoints << '\t' << e.baselinePoints << '\t'
        << e.absentWord << '\n';
  }

  // Where text drawn with its cell's top-left corner at device pixel (x, y) of the printable
  // area starts and has its baseline on the paper, in points, with the current font.
  static void PagePoints(int x, int y, Expectation* e) {
    TEXTMETRICA tm{};
    GetTextMetricsA(Print_CurrentContext(), &tm);
    const int dpiX = Print_GetDeviceCaps(LOGPIXELSX), dpiY = Print_GetDeviceCaps(LOGPIXELSY);
    e->xPoints = (Print_GetDeviceCaps(PHYSICALOFFSETX) + x) * 72.0 / dpiX;
    e->baselinePoints = (Print_GetDeviceCaps(PHYSICALOFFSETY) + y + tm.tmAscent) * 72.0 / dpiY;
  }
};

TEST_F(PdfJobs, TextLandsWhereItWasMeasuredInEachUnit) {
  const std::string token = RunToken();
  struct Case {
    int unit;
    float x, y;
  } cases[] = {{0, 450, 200}, {1, 25, 12}, {2, 40.5f, 21.3f}};
  for (const Case& c : cases) {
    ASSERT_NE(Print_OpenPrinter("PDF", "Orientation=2,Papersize=20", 0), nullptr)
        << "no PDF printer: start cupsd and add the cups-pdf printer \"PDF\"";
    Print_SetUnit(c.unit);
    const std::string title = "Quarrane printlib " + token + " unit " + std::to_string(c.unit);
    ASSERT_GT(Print_StartPrinting(title, ""), 0);
    Print_SetFont("Arial", 12, 0);
    const std::string text = "Addressee Person\r\n12 Main Street";
    float w = 0, h = 0;
    EXPECT_GT(Print_Text(c.x, c.y, 0, 0, text, DT_CALCRECT, nullptr, nullptr, &w, &h), 0.0f);
    EXPECT_GT(Print_Text(c.x, c.y, w, h, text, 0), 0.0f);
    Expectation e{title, "Addressee"};
    PagePoints(Print_UnitToDeviceX(c.x), Print_UnitToDeviceY(c.y), &e);
    ASSERT_EQ(Print_StopPrinting(), 1);
    Record(e);
  }
}

TEST_F(PdfJobs, PreviewTextStaysOffThePaper) {
  // Opened a second time without settings, the printer keeps the envelope settings of the
  // first open: the check finds a landscape No. 10 page.
  ASSERT_NE(Print_OpenPrinter("", "Orientation=2,Papersize=20", 0), nullptr);
  ASSERT_NE(Print_OpenPrinter("", "", 0), nullptr);
  Print_SetUnit(0);
  ASSERT_NE(Print_StartPreview(684), nullptr);
  Print_SetFont("Arial", 12, 0);
  Print_Text(20, 20, 300, 100, "PREVIEWONLY", 0);
  ASSERT_NE(Print_StopPreview(), nullptr);
  const std::string title = "Quarrane printlib " + RunToken() + " after preview";
  ASSERT_GT(Print_StartPrinting(title, ""), 0);
  Print_SetFont("Arial", 12, 0);
  Print_Text(300, 300, 1000, 200, "PAPERTEXT", 0);
  Expectation e{title, "PAPERTEXT"};
  PagePoints(300, 300, &e);
  e.absentWord = "PREVIEWONLY";
  ASSERT_EQ(Print_StopPrinting(), 1);
  Record(e);
}

}  // namespace
