#include "envelope/envelope_batch.h"

namespace qr {

std::string BatchJobName(std::int64_t envelopes) {
  return "Quarrane - " + std::to_string(envelopes) + " envelopes";
}

std::string BatchProgressText(std::int64_t envelope, std::int64_t envelopes) {
  return "Printing envelope " + std::to_string(envelope) + " of " + std::to_string(envelopes);
}

std::string BatchCancelledText(std::int64_t sent, std::int64_t envelopes) {
  return "Printing was cancelled after " + std::to_string(sent) + " of " +
         std::to_string(envelopes) + " envelopes. The print job was stopped.";
}

std::string BatchFailedText(std::int64_t printed, std::int64_t envelopes) {
  return "The printer reported an error after " + std::to_string(printed) + " of " +
         std::to_string(envelopes) +
         " envelopes had been printed. The rest were not printed, and the print job was "
         "stopped.";
}

BatchOutcome PrintBatch(PrinterApi& api, const std::string& printerName,
                        std::string_view copiesText, const std::vector<EnvelopeInputs>& envelopes,
                        BatchProgress& progress) {
  BatchOutcome outcome;
  const std::int32_t copies = ReadCopies(copiesText);
  if (envelopes.empty()) return outcome;
  outcome.decision = DecidePrint(printerName, copies);
  if (outcome.decision != PrintDecision::kPrint) return outcome;
  outcome.envelopes = static_cast<std::int64_t>(envelopes.size()) * copies;

  // Every envelope of a batch has the book's size and placement: the first one's.
  const EnvelopeInputs& first = envelopes.front();
  if (!OpenEnvelopePage(api, printerName, first.size)) {
    outcome.decision = PrintDecision::kSizeRefused;
    return outcome;
  }
  api.SetUnit(kUnitDevicePixels);
  std::optional<FigureScale> scale;
  if (first.placement == Placement::kTrueSize) scale = ReadPrinterScale(api);
  const auto stop = [&](bool cancelled) {
    api.AbortPrinting();
    (cancelled ? outcome.cancelled : outcome.failed) = true;
    return outcome;
  };
  if (api.StartPrinting(BatchJobName(outcome.envelopes), std::string()) == 0) return stop(false);
  std::int64_t page = 0;
  for (const EnvelopeInputs& inputs : envelopes) {
    const EnvelopeLayout layout = ComposeEnvelopeLayout(inputs, EnvelopeTarget::kPrint, scale);
    for (std::int32_t copy = 0; copy < copies; ++copy) {
      if (!progress.BeforeEnvelope(page + 1, outcome.envelopes)) return stop(true);
      if (page > 0 && api.NewPage() == 0) return stop(false);
      DrawEnvelope(api, layout);
      outcome.sent = ++page;
    }
  }
  // A job whose end failed is over all the same: there is nothing left to abort.
  outcome.failed = api.StopPrinting() == 0;
  return outcome;
}

}  // namespace qr
