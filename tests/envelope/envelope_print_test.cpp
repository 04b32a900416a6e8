// The print command and the preview, checked call by call against a recording
// stand-in of the printer library.
#include "envelope/envelope_print.h"
#include "envelope/envelope_batch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "envelope/alignment.h"
#include "recording_printer.h"

namespace qr {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::RecordingPrinter;

EnvelopeInputs SampleInputs(bool with_logo) {
  EnvelopeInputs in;
  in.senderName = "Jane Roe";
  in.senderStreet = "1 Elm St";
  in.senderCityStateZip = "Springfield, IL 62701";
  in.addresseeName = "ACME Corp";
  in.addresseeStreet = "PO Box 9";
  in.addresseeCity = "Albany";
  in.addresseeState = "NY";
  in.addresseeZip = "12207";
  in.senderHorizontal = "100";
  in.senderVertical = "40";
  in.addresseeHorizontal = "10";
  in.addresseeVertical = "5";
  in.fonts.sender = {"Times New Roman", "11", "Bold"};
  in.fonts.addressee = {"Arial", "16", "Bold & Italic"};
  in.logo = EnvelopeLogo{with_logo, 3, 0.25f};  // a 400 x 100 logo
  return in;
}

const char kSender[] = "\"Jane Roe|1 Elm St|Springfield, IL 62701\"";
const char kAddressee[] = "\"ACME Corp|PO Box 9|Albany, NY 12207\"";

std::vector<std::string> OneCopy(bool with_logo) {
  std::vector<std::string> calls = {
      "OpenPrinter(\"PDF\", \"Orientation=2,Papersize=20\", 0)",
      "SetUnit(0)",
      "StartPrinting(\"Quarrane - ACME Corp\", \"\")",
      "SetFont(\"Times New Roman\", 11, 0x100, 0)",
  };
  // The sender text moves 272 dots right when a logo stands at its left; it is measured
  // in a 100 x 100 box and drawn at the same point with its measured size (21 characters
  // wide, three lines).
  const std::string x = with_logo ? "372" : "100";
  calls.push_back("Text(" + x + ", 40, 100, 100, " + kSender + ", 1024)");
  calls.push_back("Text(" + x + ", 40, 210, 60, " + kSender + ", 0)");
  // 400 x 100 logo: 62 dots high, centred in the 250-dot band plus 5: 40 + 99.
  if (with_logo) calls.push_back("Image(3, 100, 139, 250, 62)");
  calls.push_back("SetFont(\"Arial\", 16, 0x300, 0)");
  // Measured at 2508 + 12 x 10, 900 + 9 x 5, then moved by the same step again.
  calls.push_back(std::string("Text(2628, 945, 80, 100, ") + kAddressee + ", 1024)");
  calls.push_back(std::string("Text(2748, 990, 160, 60, ") + kAddressee + ", 0)");
  calls.push_back("StopPrinting()");
  return calls;
}

TEST(PrintEnvelopeTest, EachCopyIsAJobOfItsOwnWithTheWholeEnvelope) {
  for (bool with_logo : {true, false}) {
    SCOPED_TRACE(with_logo ? "with logo" : "without logo");
    RecordingPrinter printer;
    int gathered = 0;
    const PrintOutcome outcome = PrintEnvelope(printer, "PDF", "2", [&] {
      ++gathered;
      return SampleInputs(with_logo);
    });
    std::vector<std::string> expected = OneCopy(with_logo);
    const std::vector<std::string> copy = expected;
    expected.insert(expected.end(), copy.begin(), copy.end());
    EXPECT_THAT(printer.calls, ElementsAreArray(expected));
    EXPECT_EQ(gathered, 2) << "the layout is gathered afresh for every copy";
    EXPECT_EQ(outcome.decision, PrintDecision::kPrint);
    EXPECT_EQ(outcome.jobs, 2);
    EXPECT_TRUE(outcome.storeAddressee);
  }
}

TEST(PrintEnvelopeTest, CopyCountsBelowOneAndMissingPrinterPrintNothing) {
  struct Case {
    const char* printer;
    const char* copies;
    PrintDecision decision;
  };
  const Case cases[] = {
      {"PDF", "0", PrintDecision::kNothing},       {"PDF", "", PrintDecision::kNothing},
      {"PDF", "-1", PrintDecision::kNothing},      {"PDF", "abc", PrintDecision::kNothing},
      {"", "0", PrintDecision::kNothing},  // no copies asked: no message either
      {"", "1", PrintDecision::kNoPrinterMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("printer \"") + c.printer + "\", copies \"" + c.copies + "\"");
    RecordingPrinter printer;
    int gathered = 0;
    const PrintOutcome outcome = PrintEnvelope(printer, c.printer, c.copies, [&] {
      ++gathered;
      return SampleInputs(false);
    });
    EXPECT_EQ(outcome.decision, c.decision);
    EXPECT_THAT(printer.calls, IsEmpty());
    EXPECT_EQ(gathered, 0);
    EXPECT_EQ(outcome.jobs, 0);
    EXPECT_FALSE(outcome.storeAddressee) << "the addressee stays in the form";
  }
}

TEST(PrintEnvelopeTest, CopyCountIsReadAsANumber) {
  RecordingPrinter printer;
  const PrintOutcome outcome =
      PrintEnvelope(printer, "PDF", " 3 copies", [] { return SampleInputs(false); });
  EXPECT_EQ(outcome.jobs, 3);
  EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(),
                       "OpenPrinter(\"PDF\", \"Orientation=2,Papersize=20\", 0)"),
            3);
}

TEST(PrintEnvelopeTest, AJobThatDoesNotStartIsStillEndedAndTheAddresseeStored) {
  RecordingPrinter printer;
  printer.start_printing_result = 0;
  const PrintOutcome outcome =
      PrintEnvelope(printer, "PDF", "2", [] { return SampleInputs(true); });
  const std::vector<std::string> one = {
      "OpenPrinter(\"PDF\", \"Orientation=2,Papersize=20\", 0)", "SetUnit(0)",
      "StartPrinting(\"Quarrane - ACME Corp\", \"\")", "StopPrinting()"};
  std::vector<std::string> expected = one;
  expected.insert(expected.end(), one.begin(), one.end());
  EXPECT_THAT(printer.calls, ElementsAreArray(expected));
  EXPECT_TRUE(outcome.storeAddressee);
}

TEST(PrintEnvelopeTest, OnlyAnEmptyNameSkipsStoringTheAddressee) {
  struct Case {
    const char* name;
    bool store;
  };
  for (const Case& c : {Case{"", false}, Case{"   ", true}, Case{"ACME Corp", true}}) {
    SCOPED_TRACE(std::string("name \"") + c.name + "\"");
    RecordingPrinter printer;
    const PrintOutcome outcome = PrintEnvelope(printer, "PDF", "1", [&] {
      EnvelopeInputs in = SampleInputs(false);
      in.addresseeName = c.name;
      return in;
    });
    EXPECT_EQ(outcome.jobs, 1) << "the envelope is printed in every case";
    EXPECT_EQ(outcome.storeAddressee, c.store);
    EXPECT_EQ(printer.calls[2], "StartPrinting(\"Quarrane - " + std::string(c.name) + "\", \"\")");
  }
}

// A batch: every picked entry, each copy after the other, as the pages of one job; a
// cancel before a page aborts the job after the pages already sent.
TEST(PrintBatchTest, OneJobWithAPagePerEnvelopeAndCancelAborts) {
  struct Progress final : BatchProgress {
    std::int64_t cancelBefore = 0;  // 0: never
    std::vector<std::string> shown;
    bool BeforeEnvelope(std::int64_t envelope, std::int64_t envelopes) override {
      shown.push_back(BatchProgressText(envelope, envelopes));
      return envelope != cancelBefore;
    }
  };
  EnvelopeInputs second = SampleInputs(false);
  second.addresseeName = "Bolt Works";
  const std::vector<EnvelopeInputs> picked = {SampleInputs(false), second};
  const auto pageOf = [](const std::vector<std::string>& calls, const std::string& name) {
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
      return c.starts_with("Text(") && c.find(name) != std::string::npos && c.ends_with(", 0)");
    });
  };

  RecordingPrinter printer;
  Progress progress;
  const BatchOutcome done = PrintBatch(printer, "PDF", "2", picked, progress);
  EXPECT_EQ(done.decision, PrintDecision::kPrint);
  EXPECT_EQ(done.sent, 4);
  EXPECT_FALSE(done.cancelled || done.failed);
  EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(),
                       "StartPrinting(\"Quarrane - 4 envelopes\", \"\")"),
            1);
  EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "NewPage()"), 3);
  EXPECT_EQ(printer.calls.back(), "StopPrinting()");
  EXPECT_EQ(pageOf(printer.calls, "ACME Corp"), 2);
  EXPECT_EQ(pageOf(printer.calls, "Bolt Works"), 2);
  // Pages in list order: both copies of the first entry come before the second.
  const auto firstBolt =
      std::find_if(printer.calls.begin(), printer.calls.end(),
                   [](const std::string& c) { return c.find("Bolt") != std::string::npos; });
  EXPECT_EQ(std::count(printer.calls.begin(), firstBolt, "NewPage()"), 2);
  EXPECT_THAT(progress.shown, ElementsAre("Printing envelope 1 of 4", "Printing envelope 2 of 4",
                                          "Printing envelope 3 of 4", "Printing envelope 4 of 4"));

  RecordingPrinter cancelled;
  Progress stop;
  stop.cancelBefore = 3;
  const BatchOutcome part = PrintBatch(cancelled, "PDF", "2", picked, stop);
  EXPECT_TRUE(part.cancelled);
  EXPECT_EQ(part.sent, 2);
  EXPECT_EQ(cancelled.calls.back(), "AbortPrinting()");
  EXPECT_EQ(std::count(cancelled.calls.begin(), cancelled.calls.end(), "StopPrinting()"), 0);
  EXPECT_EQ(BatchCancelledText(part.sent, part.envelopes),
            "Printing was cancelled after 2 of 4 envelopes. The print job was stopped.");

  // The printer's first failure stops the batch and aborts the job: at its start, at the
  // third page; a failed end leaves nothing to abort. {start, failing NewPage, stop}.
  const struct {
    std::int32_t start, newPage, stop, printed;
    const char* last;
  } failures[] = {{0, 0, 1, 0, "AbortPrinting()"},
                  {7, 2, 1, 2, "AbortPrinting()"},
                  {7, 0, 0, 4, "StopPrinting()"}};
  for (const auto& f : failures) {
    RecordingPrinter failing;
    failing.start_printing_result = f.start;
    failing.failing_new_page = f.newPage;
    failing.stop_printing_result = f.stop;
    const BatchOutcome failed = PrintBatch(failing, "PDF", "2", picked, progress);
    EXPECT_TRUE(failed.failed && !failed.cancelled);
    EXPECT_EQ(failed.sent, f.printed);
    EXPECT_EQ(pageOf(failing.calls, "ACME Corp") + pageOf(failing.calls, "Bolt Works"), f.printed);
    EXPECT_EQ(failing.calls.back(), f.last);
  }
  EXPECT_EQ(BatchFailedText(2, 4),
            "The printer reported an error after 2 of 4 envelopes had been printed. The rest "
            "were not printed, and the print job was stopped.");

  // A copy count that is no count, or no printer, prints nothing as for one envelope.
  for (const char* copies : {"abc", "0", "4294967297"}) {
    RecordingPrinter none;
    EXPECT_EQ(PrintBatch(none, "PDF", copies, picked, progress).decision, PrintDecision::kNothing);
    EXPECT_THAT(none.calls, IsEmpty());
  }
  RecordingPrinter noPrinter;
  EXPECT_EQ(PrintBatch(noPrinter, "", "1", picked, progress).decision,
            PrintDecision::kNoPrinterMessage);
  EXPECT_THAT(noPrinter.calls, IsEmpty());
}

// A 300-dpi printer with an unprintable margin of 10 and 20 dots.
std::map<std::int32_t, std::int32_t> Caps300WithMargin() {
  return {{kCapsLogPixelsX, 300},
          {kCapsLogPixelsY, 300},
          {kCapsPhysicalOffsetX, 10},
          {kCapsPhysicalOffsetY, 20}};
}

TEST(PrintEnvelopeTest, ATrueSizeJobIsPlacedWithThePrintersResolutionAndMargin) {
  RecordingPrinter printer;
  printer.caps = Caps300WithMargin();
  PrintEnvelope(printer, "PDF", "1", [] {
    EnvelopeInputs in = SampleInputs(true);
    in.placement = Placement::kTrueSize;
    return in;
  });
  EXPECT_THAT(printer.calls,
              ElementsAre("OpenPrinter(\"PDF\", \"Orientation=2,Papersize=20\", 0)", "SetUnit(0)",
                          "GetDeviceCaps(88)", "GetDeviceCaps(90)", "GetDeviceCaps(112)",
                          "GetDeviceCaps(113)", "StartPrinting(\"Quarrane - ACME Corp\", \"\")",
                          "SetFont(\"Times New Roman\", 11, 0x100, 0)",
                          // (100 + 272, 40) figures: (186, 20) dots less the margin.
                          std::string("Text(176, 0, 50, 50, ") + kSender + ", 1024)",
                          std::string("Text(176, 0, 210, 60, ") + kSender + ", 0)",
                          // (100, 40 + 99) figures, 250 x 62: 69.5 and 31 go up.
                          "Image(3, 40, 50, 125, 31)", "SetFont(\"Arial\", 16, 0x300, 0)",
                          // Measured at 2628 / 945 figures, drawn at 2748 / 990.
                          std::string("Text(1304, 453, 40, 50, ") + kAddressee + ", 1024)",
                          std::string("Text(1364, 475, 160, 60, ") + kAddressee + ", 0)",
                          "StopPrinting()"));
}

// Every size but No. 10 is checked against the page the printer reports; a size the
// printer does not give is asked for once more by a paper of the driver's own with its
// dimensions, or refused before any job starts.
TEST(PrintEnvelopeTest, ThePageMustBeTheEnvelopeSize) {
  const std::string dl = "Orientation=2,Papersize=27";
  const std::string no9 = "Orientation=2,Papersize=19";
  const std::string a2 = "Orientation=2,Papersize=256,Paperwidth=1111,Paperlength=1461";
  const std::string own = "Orientation=2,Papersize=280";
  const std::map<std::int32_t, std::int32_t> a4 = {{110, 3508}, {111, 2479}, {88, 300}, {90, 300}};
  const std::map<std::int32_t, std::int32_t> a2Page = {
      {110, 1725}, {111, 1312}, {88, 300}, {90, 300}};
  struct Case {
    const char* size;
    std::map<std::string, std::map<std::int32_t, std::int32_t>> pages;
    std::vector<DriverPaper> papers;
    std::vector<std::string> opened;
    PrintDecision decision;
  } cases[] = {
      {"DL",
       {{dl, {{110, 2600}, {111, 1300}, {88, 300}, {90, 300}}}},
       {},
       {dl},
       PrintDecision::kPrint},
      {"No. 9", {{no9, a4}}, {{9, 2100, 2970}}, {no9}, PrintDecision::kSizeRefused},
      {"A2",
       {{a2, a4}, {own, a2Page}},
       {{9, 2100, 2970}, {280, 1111, 1460}},
       {a2, own},
       PrintDecision::kPrint},
      {"A2", {{a2, a4}, {own, a4}}, {{280, 1111, 1460}}, {a2, own}, PrintDecision::kSizeRefused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    RecordingPrinter printer;
    printer.caps_after_open = c.pages;
    printer.papers = c.papers;
    const PrintOutcome outcome = PrintEnvelope(printer, "PDF", "2", [&c] {
      EnvelopeInputs in = SampleInputs(false);
      in.size = FindEnvelopeSize(c.size);
      return in;
    });
    std::vector<std::string> opened;
    for (const std::string& call : printer.calls) {
      if (call.starts_with("OpenPrinter")) opened.push_back(call);
    }
    std::vector<std::string> expected;
    const int copies = c.decision == PrintDecision::kPrint ? 2 : 1;
    for (int copy = 0; copy < copies; ++copy) {
      for (const std::string& text : c.opened)
        expected.push_back("OpenPrinter(\"PDF\", \"" + text + "\", 0)");
    }
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(outcome.decision, c.decision);
    const bool refused = c.decision == PrintDecision::kSizeRefused;
    EXPECT_EQ(outcome.jobs, refused ? 0 : 2);
    EXPECT_EQ(outcome.storeAddressee, !refused) << "a refused envelope keeps the form";
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "StopPrinting()"),
              refused ? 0 : 2);
  }
  EXPECT_EQ(SizeRefusedText("PDF", FindEnvelopeSize("A2")),
            "The printer \"PDF\" cannot print on A2 envelopes, so nothing was printed. Choose "
            "another printer, or another size in Options > Envelope Size.");
}

TEST(PrintAlignmentTest, MarksAtTrueSizeAndAFrameRoundEachBlock) {
  RecordingPrinter printer;
  printer.caps = Caps300WithMargin();
  EnvelopeInputs in = SampleInputs(true);  // dots: the frames stand where dots put them
  const PrintOutcome outcome = PrintAlignmentEnvelope(printer, "PDF", in);
  EXPECT_EQ(outcome.decision, PrintDecision::kPrint);
  EXPECT_FALSE(outcome.storeAddressee);
  const std::vector<std::string>& calls = printer.calls;
  ASSERT_GE(calls.size(), 9u);
  EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 9),
              ElementsAre("OpenPrinter(\"PDF\", \"Orientation=2,Papersize=20\", 0)", "SetUnit(0)",
                          "GetDeviceCaps(88)", "GetDeviceCaps(90)", "GetDeviceCaps(112)",
                          "GetDeviceCaps(113)", "StartPrinting(\"Quarrane - Alignment\", \"\")",
                          "SetLineWidth(2)",          // 3 figures: 1.5 dots
                          "Line(65, -20, 65, 30)"));  // 1/4 inch, less the margin
  const auto has = [&calls](const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  };
  // The number 1 right of the first inch mark, 1/5 inch down: (615, 120) figures.
  EXPECT_TRUE(has("Text(298, 40, 0, 0, \"1\", 1024)"));
  // The sender text measured at (372, 40) dots, framed 210 x 60.
  EXPECT_TRUE(has("Line(372, 40, 582, 40)"));
  // The logo's rectangle and the addressee drawn at (2748, 990) with 160 x 60.
  EXPECT_TRUE(has("Line(100, 139, 350, 139)"));
  EXPECT_TRUE(has("Line(2748, 990, 2908, 990)"));
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& c) { return c.starts_with("Line("); }),
            53 + 3 * 4);
  EXPECT_EQ(calls.back(), "StopPrinting()");

  RecordingPrinter none;
  EXPECT_EQ(PrintAlignmentEnvelope(none, "", in).decision, PrintDecision::kNoPrinterMessage);
  EXPECT_THAT(none.calls, IsEmpty());
}

TEST(DrawPreviewTest, DrawsTheSameEnvelopeInPreviewPixelsOnTheDefaultPrinter) {
  RecordingPrinter printer;
  EXPECT_EQ(DrawPreview(printer, SampleInputs(true)), 42);
  EXPECT_THAT(printer.calls,
              ElementsAre("OpenPrinter(\"\", \"Orientation=2,Papersize=20\", 0)", "SetUnit(0)",
                          "StartPreview(684)", "SetFont(\"Times New Roman\", 11, 0x100, 0)",
                          std::string("Text(133, 40, 100, 100, ") + kSender + ", 1024)",
                          std::string("Text(133, 40, 210, 60, ") + kSender + ", 0)",
                          // 62 / 8 high; offset ((250 - 62) / 2 + 5) / 8 = 12.375 -> 12.
                          "Image(3, 100, 52, 31.25, 7.75)", "SetFont(\"Arial\", 16, 0x300, 0)",
                          // One pixel per step; 137.5 rounds to the even neighbour 138.
                          std::string("Text(307, 137.5, 0, 0, ") + kAddressee + ", 1024)",
                          std::string("Text(307, 138, 160, 60, ") + kAddressee + ", 0)",
                          "StopPreview()", "GetPreviewImage(0)"));
}

TEST(DrawPreviewTest, ATrueSizePreviewOfAnotherSize) {
  RecordingPrinter printer;
  EnvelopeInputs in = SampleInputs(false);
  in.placement = Placement::kTrueSize;
  in.size = FindEnvelopeSize("DL");
  printer.caps = {{110, 2600}, {111, 1300}, {88, 300}, {90, 300}, {10, 1300}};
  DrawPreview(printer, in);
  // A printable area off the paper (1300 high, 600 down) is no page: 684 pixels for 220 mm.
  // The addressee's figures: base (2287, 945) plus 120 / 45, then 240 / 90.
  EXPECT_THAT(
      printer.calls,
      ElementsAre("OpenPrinter(\"\", \"Orientation=2,Papersize=27\", 0)", "GetDeviceCaps(110)",
                  "GetDeviceCaps(111)", "GetDeviceCaps(88)", "GetDeviceCaps(90)", "SetUnit(0)",
                  "GetDeviceCaps(110)", "GetDeviceCaps(111)", "GetDeviceCaps(112)",
                  "GetDeviceCaps(113)", "GetDeviceCaps(8)", "GetDeviceCaps(10)",
                  "GetDeviceCaps(88)", "GetDeviceCaps(90)", "StartPreview(684)",
                  "SetFont(\"Times New Roman\", 11, 0x100, 0)",
                  std::string("Text(13, 5, 13, 13, ") + kSender + ", 1024)",
                  std::string("Text(13, 5, 210, 60, ") + kSender + ", 0)",
                  "SetFont(\"Arial\", 16, 0x300, 0)",
                  std::string("Text(317, 130, 11, 13, ") + kAddressee + ", 1024)",
                  std::string("Text(333, 136, 160, 60, ") + kAddressee + ", 0)", "StopPreview()",
                  "GetPreviewImage(0)"));
}

TEST(DrawPreviewTest, APreviewThatCannotStartDrawsNothing) {
  RecordingPrinter printer;
  printer.start_preview_result = 0;
  DrawPreview(printer, SampleInputs(true));
  EXPECT_THAT(printer.calls,
              ElementsAre("OpenPrinter(\"\", \"Orientation=2,Papersize=20\", 0)", "SetUnit(0)",
                          "StartPreview(684)", "StopPreview()", "GetPreviewImage(0)"));
}

}  // namespace
}  // namespace qr
