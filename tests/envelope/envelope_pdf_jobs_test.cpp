// Envelopes printed through the real printer library on the CUPS PDF printers; the
// native check (tests/printlib/check_pdf_jobs.py) reads the PDFs back. For each job this
// program writes manifest lines (QR_PDF_MANIFEST) saying where a word must stand on the
// paper, in points from its top-left corner, and which page the PDF must have.
//
// "PDF" is the stock cups-pdf printer (300 dpi, no unprintable margin); "PDF-Envelopes"
// the same with a page for every envelope size (scripts/envelope-ppd).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "envelope/alignment.h"
#include "envelope/envelope_print.h"
#include "envelope/printer_api_win.h"
#include "printlib/image_store_win.h"
#include "printlib/printer_lib_win.h"
#undef OpenPrinter  // winspool.h's name for OpenPrinterW, not the interface's method

namespace qr {
namespace {

constexpr char kPrinter[] = "PDF";
constexpr char kSizesPrinter[] = "PDF-Envelopes";
constexpr char kMarginsPrinter[] = "PDF-Margins";  // that, 1/4 in unprintable all round
constexpr double kPointsPerFigure = 72.0 / 600.0;

std::string RunToken() {
  return std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount() % 100000);
}

// A word's left edge and baseline in points, with further check options ("page=WxH",
// "inside=1", "near=TITLE", "ink=X,Y"; see check_pdf_jobs.py).
void Record(const std::string& title, const std::string& word, double x, double baseline,
            const std::string& options = "") {
  std::ofstream out(QR_PDF_MANIFEST, std::ios::app);
  out << title << '\t' << word << '\t' << x << '\t' << baseline << "\t-" << options << '\n';
}

std::string PageOption(const EnvelopeSize& size) {
  char text[64];
  std::snprintf(text, sizeof text, "\tpage=%.1fx%.1f", size.widthMicron * 72.0 / 25400.0,
                size.heightMicron * 72.0 / 25400.0);
  return text;
}

// The ascent of `face` at `points` on the printer at its present resolution, in points.
double AscentPoints(const char* printer, const std::string& face, int points) {
  Print_OpenPrinter(printer, "", 0);
  Print_SetFont(face, points, 0);
  TEXTMETRICA tm{};
  GetTextMetricsA(Print_CurrentContext(), &tm);
  return tm.tmAscent * 72.0 / Print_GetDeviceCaps(LOGPIXELSY);
}

// Sets the resolution the next jobs on `printer` get: the printer library keeps the
// settings of one open for the next.
void SetResolution(const char* printer, int dpi) {
  const std::string text =
      "PrintQuality=" + std::to_string(dpi) + ",YResolution=" + std::to_string(dpi);
  ASSERT_NE(Print_OpenPrinter(printer, text, 0), nullptr)
      << "no printer \"" << printer << "\": scripts/platform.sh qr_start_cups sets it up";
  ASSERT_EQ(Print_GetDeviceCaps(LOGPIXELSX), dpi);
}

EnvelopeInputs Book(const std::string& name, Placement placement) {
  EnvelopeInputs in;
  in.senderName = "Alden Sender";
  in.senderStreet = "1 Sender Road";
  in.senderCityStateZip = "Sendtown, ST 11111";
  in.addresseeName = name;
  in.addresseeStreet = "Attn Quill";
  in.addresseeCity = "Albany";
  in.addresseeState = "NY";
  in.addresseeZip = "12207";
  in.senderHorizontal = "600";
  in.senderVertical = "300";
  in.addresseeHorizontal = "10";
  in.addresseeVertical = "5";
  in.fonts.sender = {"Arial", "12", "None"};
  in.fonts.addressee = {"Arial", "16", "None"};
  in.placement = placement;
  return in;
}

PrintOutcome PrintOne(const char* printer, const EnvelopeInputs& in) {
  PrinterLibApi api;
  return PrintEnvelope(api, printer, "1", [&in] { return in; });
}

struct MarginsPrinterAsDefault : PrinterLibApi {
  std::int64_t OpenPrinter(const std::string& name, const std::string& settings,
                           std::int32_t access) override {
    return PrinterLibApi::OpenPrinter(name.empty() ? kMarginsPrinter : name, settings, access);
  }
};

class EnvelopePdfJobs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::remove(QR_PDF_MANIFEST); }
  void SetUp() override { Print_Init(); }
  void TearDown() override { Print_Free(); }
};

// Sender (600, 300) and addressee (10, 5): at true size 1 inch and 1/2 inch, and the
// addressee at 2748/600 and 990/600 inch, on the 300-dpi and the 600-dpi printer alike;
// in dots the sender stands 600 printer dots (2 inches) in.
TEST_F(EnvelopePdfJobs, TrueSizeLandsOnTheSamePointsAtEveryResolution) {
  const std::string token = RunToken();
  const double senderAscent = AscentPoints(kPrinter, "Arial", 12);
  const double addresseeAscent = AscentPoints(kPrinter, "Arial", 16);
  std::string first;
  for (int dpi : {300, 600}) {
    SetResolution(kPrinter, dpi);
    const std::string name = "ACME Truesize " + token + " " + std::to_string(dpi);
    ASSERT_EQ(PrintOne(kPrinter, Book(name, Placement::kTrueSize)).decision, PrintDecision::kPrint);
    const std::string title = JobName(name);
    const std::string sameAs = first.empty() ? "" : "\tnear=" + first;
    Record(title, "Alden", 72.0, 36.0 + senderAscent, sameAs);
    Record(title, "ACME", 2748 * kPointsPerFigure, 990 * kPointsPerFigure + addresseeAscent,
           sameAs);
    if (first.empty()) first = title;
  }
  SetResolution(kPrinter, 300);
  const std::string name = "ACME Dots " + token;
  ASSERT_EQ(PrintOne(kPrinter, Book(name, Placement::kDots)).decision, PrintDecision::kPrint);
  Record(JobName(name), "Alden", 144.0, 72.0 + senderAscent);
}

// Every size comes out as its own page in landscape, and a book with positions 0 puts the
// addressee at the size's base point, inside the page.
TEST_F(EnvelopePdfJobs, EverySizeIsItsOwnLandscapePage) {
  const std::string token = RunToken();
  SetResolution(kSizesPrinter, 300);
  const double ascent = AscentPoints(kSizesPrinter, "Arial", 16);
  int n = 0;
  for (const EnvelopeSize& size : EnvelopeSizes()) {
    const std::string name = "ACME Size " + token + " " + std::to_string(++n);
    EnvelopeInputs in = Book(name, Placement::kTrueSize);
    for (std::string* position :
         {&in.senderHorizontal, &in.senderVertical, &in.addresseeHorizontal, &in.addresseeVertical})
      position->assign(1, '0');
    in.size = size;
    ASSERT_EQ(PrintOne(kSizesPrinter, in).decision, PrintDecision::kPrint) << size.name;
    const FigurePoint base = AddresseeBasePoint(size);
    Record(JobName(name), "ACME", base.x * kPointsPerFigure, base.y * kPointsPerFigure + ascent,
           PageOption(size) + "\tinside=1");
  }
}

TEST_F(EnvelopePdfJobs, ASizeThePrinterDoesNotOfferIsRefused) {
  EnvelopeInputs in = Book("ACME Refused " + RunToken(), Placement::kTrueSize);
  in.size = FindEnvelopeSize("C6");  // the stock description has no C6 page
  EXPECT_EQ(PrintOne(kPrinter, in).decision, PrintDecision::kSizeRefused);
}

// The numbers of the alignment envelope stand right of their inch marks along the top
// and below them along the left edge, whole inches from the paper's edges, and the marks
// are there.
TEST_F(EnvelopePdfJobs, AlignmentNumbersStandAtTheirInchMarks) {
  SetResolution(kPrinter, 300);
  const double ascent = AscentPoints(kPrinter, std::string(kAlignmentFontFace), kAlignmentFontSize);
  PrinterLibApi api;
  EnvelopeInputs in = Book("ACME Alignment", Placement::kTrueSize);
  ASSERT_EQ(PrintAlignmentEnvelope(api, kPrinter, in).decision, PrintDecision::kPrint);
  const std::string title(kAlignmentJobName);
  const double gap = 15 * kPointsPerFigure, inset = 120 * kPointsPerFigure;
  for (int inch = 1; inch <= 9; ++inch) {
    Record(title, std::to_string(inch), 72.0 * inch + gap, inset + ascent,
           "\tink=" + std::to_string(72 * inch) + ",10");
  }
  for (int inch = 1; inch <= 4; ++inch) {
    Record(title, std::to_string(inch), inset, 72.0 * inch + gap + ascent,
           "\tink=10," + std::to_string(72 * inch));
  }
}

// True size on the margin printer: the leftmost and lowest ink of a band of the preview on
// the paper (a pixel a point) are the PDF's. (A 684-pixel printable area put NY 3 pt low.)
TEST_F(EnvelopePdfJobs, TrueSizePreviewOnAMarginPrinterShowsThePaper) {
  EnvelopeInputs in = Book("Hal Northam " + RunToken(), Placement::kTrueSize);
  in.addresseeCity.clear();
  in.fonts.addressee.size = "20";
  ASSERT_EQ(PrintOne(kMarginsPrinter, in).decision, PrintDecision::kPrint);
  MarginsPrinterAsDefault api;
  PreviewPlacement at;
  const std::optional<image::RgbImage> picture = Image_Pixels(DrawPreview(api, in, &at));
  ASSERT_TRUE(picture && at.x > 0 && at.y > 0);
  const std::tuple<const char*, int, int, int> bands[] = {
      {"Alden", 60, 30, 49}, {"Hal", 320, 110, 140}, {"NY", 320, 160, 200}};
  for (const auto& [word, x0, y0, y1] : bands) {
    int left = kPreviewWidth, bottom = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < at.x + picture->width; ++x)
        if (picture->Pixel(x - at.x, y - at.y)[1] < 128) left = std::min(left, x), bottom = y + 1;
    Record(JobName(in.addresseeName), word, left, bottom, "\tinkleft=1");
  }
}

}  // namespace
}  // namespace qr
