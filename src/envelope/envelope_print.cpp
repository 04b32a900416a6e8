#include "envelope/envelope_print.h"

#include "base/number.h"

namespace qr {
namespace {

constexpr std::int32_t kFontAngle = 0;
constexpr std::int32_t kDesiredAccess = 0;

}  // namespace

void DrawEnvelope(PrinterApi& api, const EnvelopeLayout& layout) {
  api.SetFont(layout.sender_font.face, layout.sender_font.size, layout.sender_font.style,
              kFontAngle);
  {
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
    const PointF at = layout.sender_origin;
    api.Text(at.x, at.y, layout.sender_measure_size.x, layout.sender_measure_size.y,
             layout.sender_text, kTextFormatMeasure, &left, &top, &width, &height);
    api.Text(at.x, at.y, width, height, layout.sender_text, kTextFormatDraw, nullptr, nullptr,
             nullptr, nullptr);
  }

  if (layout.logo_in_use) {
    const RectF& r = layout.logo_rect;
    api.Image(layout.logo_image, r.x, r.y, r.width, r.height);
  }

  api.SetFont(layout.addressee_font.face, layout.addressee_font.size, layout.addressee_font.style,
              kFontAngle);
  {
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
    const PointF at = layout.addressee_measure_origin;
    api.Text(at.x, at.y, layout.addressee_measure_size.x, layout.addressee_measure_size.y,
             layout.addressee_text, kTextFormatMeasure, &left, &top, &width, &height);
    api.Text(left + layout.addressee_draw_shift.x, top + layout.addressee_draw_shift.y, width,
             height, layout.addressee_text, kTextFormatDraw, nullptr, nullptr, nullptr, nullptr);
  }
}

std::string JobName(std::string_view addressee_name) {
  std::string name = "Quarrane - ";
  name += addressee_name;
  return name;
}

std::int32_t ReadCopies(std::string_view copies_text) { return ReadNumber32(copies_text); }

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
    last_name = inputs.addressee_name;

    api.OpenPrinter(printer_name, PageSettingsText(), kDesiredAccess);
    api.SetUnit(kUnitDevicePixels);
    // A job that cannot be started draws nothing but is still ended; the next copy is
    // tried all the same.
    if (api.StartPrinting(JobName(layout.addressee_name), std::string()) != 0) {
      DrawEnvelope(api, layout);
    }
    api.StopPrinting();
    ++outcome.jobs;
  }
  outcome.store_addressee = !last_name.empty();
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
