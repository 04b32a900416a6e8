// Many envelopes in one print job: one page per envelope, for the entries a user picked
// in the lookup window, with the book's sender, fonts, positions and logo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "envelope/envelope_layout.h"
#include "envelope/envelope_print.h"
#include "envelope/printer_api.h"

namespace qr {

inline constexpr std::string_view kPrintSelectedTitle = "Print Selected";

// "Quarrane - N envelopes": the name of a batch's one job.
std::string BatchJobName(std::int64_t envelopes);
// "Printing envelope K of N"
std::string BatchProgressText(std::int64_t envelope, std::int64_t envelopes);
// What the user is told after cancelling: how many pages were sent before the job was
// stopped.
std::string BatchCancelledText(std::int64_t sent, std::int64_t envelopes);

// What the user is told when the printer failed: how many envelopes were printed
// before it did.
std::string BatchFailedText(std::int64_t printed, std::int64_t envelopes);

// What a batch needs from the window that shows its progress.
class BatchProgress {
 public:
  virtual ~BatchProgress() = default;
  // Called before envelope `envelope` (1-based) of `envelopes` is drawn; false once the
  // user has asked to cancel, and the batch then stops before that envelope.
  virtual bool BeforeEnvelope(std::int64_t envelope, std::int64_t envelopes) = 0;
};

struct BatchOutcome {
  PrintDecision decision = PrintDecision::kNothing;
  std::int64_t envelopes = 0;  // pages the job was to have
  std::int64_t sent = 0;       // pages drawn and sent to the printer
  bool cancelled = false;      // the user cancelled: the job was aborted
  bool failed = false;         // the job did not start, a page or the job's end failed
};

// Prints every entry of `envelopes` `copies` times (the "Number Copies" field, read as
// for one envelope: a text that is no count prints nothing), each copy right after the
// other, in list order, as the pages of one job named BatchJobName(). No entries, or
// no count, print nothing; a count without a printer is kNoPrinterMessage. The page is
// opened for the envelopes' size (a printer that does not give it is kSizeRefused) and
// a true-size batch is placed by the printer's resolution, as one envelope is.
// Cancelling stops after the current page and aborts the job. So does the first failure
// of the printer (the job's start, a new page, the job's end: `failed`).
BatchOutcome PrintBatch(PrinterApi& api, const std::string& printerName,
                        std::string_view copiesText, const std::vector<EnvelopeInputs>& envelopes,
                        BatchProgress& progress);

}  // namespace qr
