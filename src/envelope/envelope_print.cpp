#include "envelope/envelope_print.h"

#include "base/number.h"

namespace qr {
namespace {

constexpr std::int32_t kFontAngle = 0;
constexpr std::int32_t kDesiredAccess = 0;

}  // namespace

void DrawEnvelope(PrinterApi& api, const EnvelopeLayout& layout) {
  api.SetFont(layout.senderFont.face, layout.senderFont.size, layout.senderFont.style, kFontAngle);
  {
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
    const PointF at = layout.senderOrigin;
    api.Text(at.x, at.y, layout.senderMeasureSize.x, layout.senderMeasureSize.y, layout.senderText,
             kTextFormatMeasure, &left, &top, &width, &height);
    api.Text(at.x, at.y, width, height, layout.senderText, kTextFormatDraw, nullptr, nullptr,
             nullptr, nullptr);
  }

  if (layout.logoInUse) {
    const RectF& r = layout.logoRect;
    api.Image(layout.logoImage, r.x, r.y, r.width, r.height);
  }

  api.SetFont(layout.addresseeFont.face, layout.addresseeFont.size, layout.addresseeFont.style,
              kFontAngle);
  {
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
    const PointF at = layout.addresseeMeasureOrigin;
    api.Text(at.x, at.y, layout.addresseeMeasureSize.x, layout.addresseeMeasureSize.y,
             layout.addresseeText, kTextFormatMeasure, &left, &top, &width, &height);
    api.Text(left + layout.addresseeDrawShift.x, top + layout.addresseeDrawShift.y, width, height,
             layout.addresseeText, kTextFormatDraw, nullptr, nullptr, nullptr, nullptr);
  }
}

std::string JobName(std::string_view addresseeName) {
  std::string name = "Quarrane - ";
  name += addresseeName;
  return name;
}

std::int32_t ReadCopies(std::string_view copiesText) {
  // A count too large for 32 signed bits is no count at all, like text without digits.
  return ReadFittingNumber32(copiesText).value_or(0);
}

PrintDecision DecidePrint(std::string_view printer_name, std::int32_t copies) {
  if (copies <= 0) return PrintDecision::kNothing;
  if (printer_name.empty()) return PrintDecision::kNoPrinterMessage;
  return PrintDecision::kPrint;
}

PrintOutcome PrintEnvelope(PrinterApi& api, const std::string& printer_name,
                           std::string_view copies_text,
                           const std::function<EnvelopeInputs()>& gather) {
  PrintOutcome outcome;
  const std::int32_t copies = ReadCopies(copies_text);
  outcome.decision = DecidePrint(printer_name, copies);
  if (outcome.decision != PrintDecision::kPrint) return outcome;

  std::string last_name;
  for (std::int32_t copy = 1; copy <= copies; ++copy) {
    const EnvelopeInputs inputs = gather();
    const EnvelopeLayout layout = ComposeEnvelopeLayout(inputs, EnvelopeTarget::kPrint);
    last_name = inputs.addresseeName;

    api.OpenPrinter(printer_name, PageSettingsText(), kDesiredAccess);
    api.SetUnit(kUnitDevicePixels);
    // A job that cannot be started draws nothing but is still ended; the next copy is
    // tried all the same.
    if (api.StartPrinting(JobName(layout.addresseeName), std::string()) != 0) {
      DrawEnvelope(api, layout);
    }
    api.StopPrinting();
    ++outcome.jobs;
  }
  outcome.storeAddressee = !last_name.empty();
  return outcome;
}

std::int32_t DrawPreview(PrinterApi& api, const EnvelopeInputs& inputs) {
  const EnvelopeLayout layout = ComposeEnvelopeLayout(inputs, EnvelopeTarget::kPreview);
  api.OpenPrinter(std::string(), PageSettingsText(), kDesiredAccess);
  api.SetUnit(kUnitDevicePixels);
  if (api.StartPreview(kPreviewWidth) != 0) DrawEnvelope(api, layout);
  api.StopPreview();
  return api.GetPreviewImage(0);
}

}  // namespace qr
