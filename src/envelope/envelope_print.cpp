#include "envelope/envelope_print.h"

#include <vector>

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

std::string SizeRefusedText(std::string_view printer_name, const EnvelopeSize& size) {
  std::string text = "The printer \"";
  text += printer_name;
  text += "\" cannot print on ";
  text += size.name;
  text +=
      " envelopes, so nothing was printed. Choose another printer, or another size in "
      "Options > Envelope Size.";
  return text;
}

bool OpenEnvelopePage(PrinterApi& api, const std::string& printer_name, const EnvelopeSize& size) {
  api.OpenPrinter(printer_name, PageSettingsText(size), kDesiredAccess);
  if (size == DefaultEnvelopeSize()) return true;
  const auto fits = [&api, &size] {
    const std::int32_t width = api.GetDeviceCaps(kCapsPhysicalWidth);
    const std::int32_t height = api.GetDeviceCaps(kCapsPhysicalHeight);
    const std::int32_t dpiX = api.GetDeviceCaps(kCapsLogPixelsX);
    const std::int32_t dpiY = api.GetDeviceCaps(kCapsLogPixelsY);
    return PageIsEnvelope(size, width, height, dpiX, dpiY);
  };
  if (fits()) return true;
  // A driver may know the size under a paper code of its own rather than the Windows
  // one, or offer it although it takes no user-defined size.
  const std::vector<DriverPaper> papers = api.Papers();
  const std::optional<std::int32_t> code = MatchDriverPaper(papers, size);
  if (!code) return false;
  api.OpenPrinter(printer_name, PageSettingsText(*code), kDesiredAccess);
  return fits();
}

std::optional<FigureScale> ReadPrinterScale(PrinterApi& api) {
  const std::int32_t dpiX = api.GetDeviceCaps(kCapsLogPixelsX);
  const std::int32_t dpiY = api.GetDeviceCaps(kCapsLogPixelsY);
  const std::int32_t offsetX = api.GetDeviceCaps(kCapsPhysicalOffsetX);
  const std::int32_t offsetY = api.GetDeviceCaps(kCapsPhysicalOffsetY);
  return PrinterScale(dpiX, dpiY, offsetX, offsetY);
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
    last_name = inputs.addresseeName;

    if (!OpenEnvelopePage(api, printer_name, inputs.size)) {
      outcome.decision = PrintDecision::kSizeRefused;
      return outcome;
    }
    api.SetUnit(kUnitDevicePixels);
    std::optional<FigureScale> scale;
    if (inputs.placement == Placement::kTrueSize) scale = ReadPrinterScale(api);
    const EnvelopeLayout layout = ComposeEnvelopeLayout(inputs, EnvelopeTarget::kPrint, scale);
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

PrinterPage ReadPrinterPage(PrinterApi& api) {
  PrinterPage page;
  page.physicalWidth = api.GetDeviceCaps(kCapsPhysicalWidth);
  page.physicalHeight = api.GetDeviceCaps(kCapsPhysicalHeight);
  page.offsetX = api.GetDeviceCaps(kCapsPhysicalOffsetX);
  page.offsetY = api.GetDeviceCaps(kCapsPhysicalOffsetY);
  page.printableWidth = api.GetDeviceCaps(kCapsHorzRes);
  page.printableHeight = api.GetDeviceCaps(kCapsVertRes);
  page.dpiX = api.GetDeviceCaps(kCapsLogPixelsX);
  page.dpiY = api.GetDeviceCaps(kCapsLogPixelsY);
  return page;
}

std::int32_t DrawPreview(PrinterApi& api, const EnvelopeInputs& inputs,
                         PreviewPlacement* placement) {
  OpenEnvelopePage(api, std::string(), inputs.size);
  api.SetUnit(kUnitDevicePixels);
  // At true size the preview image is the printable area on the scale of the whole
  // paper, so that the blocks and the text drawn into it both have their paper sizes.
  std::optional<PreviewPage> page;
  if (inputs.placement == Placement::kTrueSize) {
    page = TrueSizePreviewPage(ReadPrinterPage(api), kPreviewWidth);
  }
  if (placement) {
    *placement =
        page ? PreviewPlacement{page->pictureX, page->pictureY, page->paperWidth, page->paperHeight}
             : PreviewPlacement{};
  }
  const EnvelopeLayout layout =
      ComposeEnvelopeLayout(inputs, EnvelopeTarget::kPreview,
                            page ? std::optional<FigureScale>(page->scale) : std::nullopt);
  if (api.StartPreview(page ? page->pictureWidth : kPreviewWidth) != 0) {
    DrawEnvelope(api, layout);
  }
  api.StopPreview();
  return api.GetPreviewImage(0);
}

}  // namespace qr
