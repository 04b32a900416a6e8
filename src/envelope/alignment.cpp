#include "envelope/alignment.h"

namespace qr {
namespace {

constexpr std::int64_t kFiguresPerInch = 600;
constexpr std::int64_t kMicronPerInch = 25400;
constexpr std::int64_t kTickStep = kFiguresPerInch / 4;
constexpr std::int64_t kInchTick = 240;
constexpr std::int64_t kHalfTick = 150;
constexpr std::int64_t kQuarterTick = 100;
constexpr std::int64_t kLabelGap = 15;     // between a tick and its number
constexpr std::int64_t kLabelInset = 120;  // from the edge to the number
constexpr std::int64_t kLineWidth = 3;     // a thin line: 1/200 inch

std::int64_t TickLength(std::int64_t k) {
  if (k % 4 == 0) return kInchTick;
  return k % 2 == 0 ? kHalfTick : kQuarterTick;
}

// Whether the figure lies inside a side of `micron` (compared without rounding).
bool Inside(std::int64_t figure, std::int32_t micron) {
  return figure * kMicronPerInch < std::int64_t{micron} * kFiguresPerInch;
}

struct DeviceMap {
  const std::optional<FigureScale>& scale;
  float X(std::int64_t figure) const {
    return static_cast<float>(scale ? scale->x.Position(figure) : figure);
  }
  float Y(std::int64_t figure) const {
    return static_cast<float>(scale ? scale->y.Position(figure) : figure);
  }
  float Length(std::int64_t figure) const {
    return static_cast<float>(scale ? scale->x.Length(figure) : figure);
  }
};

void Frame(PrinterApi& api, float x, float y, float w, float h) {
  api.Line(x, y, x + w, y);
  api.Line(x + w, y, x + w, y + h);
  api.Line(x + w, y + h, x, y + h);
  api.Line(x, y + h, x, y);
}

// Measures `text` as DrawEnvelope() does and frames the box it would be drawn in.
void FrameText(PrinterApi& api, const EnvelopeFont& font, const std::string& text, PointF at,
               PointF measure, PointF shift) {
  api.SetFont(font.face, font.size, font.style, 0);
  float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
  api.Text(at.x, at.y, measure.x, measure.y, text, kTextFormatMeasure, &left, &top, &width,
           &height);
  Frame(api, left + shift.x, top + shift.y, width, height);
}

}  // namespace

AlignmentMarks ComposeAlignmentMarks(const EnvelopeSize& size) {
  AlignmentMarks marks;
  for (std::int64_t k = 1; Inside(k * kTickStep, size.widthMicron); ++k) {
    const std::int64_t x = k * kTickStep;
    marks.ticks.push_back({x, 0, x, TickLength(k)});
    if (k % 4 == 0) marks.labels.push_back({std::to_string(k / 4), x + kLabelGap, kLabelInset});
  }
  for (std::int64_t k = 1; Inside(k * kTickStep, size.heightMicron); ++k) {
    const std::int64_t y = k * kTickStep;
    marks.ticks.push_back({0, y, TickLength(k), y});
    if (k % 4 == 0) marks.labels.push_back({std::to_string(k / 4), kLabelInset, y + kLabelGap});
  }
  return marks;
}

void DrawAlignmentEnvelope(PrinterApi& api, const EnvelopeLayout& layout,
                           const AlignmentMarks& marks, const std::optional<FigureScale>& scale) {
  const DeviceMap map{scale};
  api.SetLineWidth(map.Length(kLineWidth));
  for (const FigureLine& t : marks.ticks)
    api.Line(map.X(t.x1), map.Y(t.y1), map.X(t.x2), map.Y(t.y2));
  api.SetFont(std::string(kAlignmentFontFace), kAlignmentFontSize, 0, 0);
  for (const FigureLabel& l : marks.labels) {
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
    api.Text(map.X(l.x), map.Y(l.y), 0.0f, 0.0f, l.text, kTextFormatMeasure, &left, &top, &width,
             &height);
    api.Text(left, top, width, height, l.text, kTextFormatDraw, nullptr, nullptr, nullptr, nullptr);
  }

  FrameText(api, layout.senderFont, layout.senderText, layout.senderOrigin,
            layout.senderMeasureSize, PointF{});
  if (layout.logoInUse) {
    const RectF& r = layout.logoRect;
    Frame(api, r.x, r.y, r.width, r.height);
  }
  FrameText(api, layout.addresseeFont, layout.addresseeText, layout.addresseeMeasureOrigin,
            layout.addresseeMeasureSize, layout.addresseeDrawShift);
}

PrintOutcome PrintAlignmentEnvelope(PrinterApi& api, const std::string& printer_name,
                                    const EnvelopeInputs& inputs) {
  PrintOutcome outcome;
  outcome.decision = DecidePrint(printer_name, 1);
  if (outcome.decision != PrintDecision::kPrint) return outcome;
  if (!OpenEnvelopePage(api, printer_name, inputs.size)) {
    outcome.decision = PrintDecision::kSizeRefused;
    return outcome;
  }
  api.SetUnit(kUnitDevicePixels);
  const std::optional<FigureScale> scale = ReadPrinterScale(api);
  const EnvelopeLayout layout = ComposeEnvelopeLayout(inputs, EnvelopeTarget::kPrint, scale);
  if (api.StartPrinting(std::string(kAlignmentJobName), std::string()) != 0) {
    DrawAlignmentEnvelope(api, layout, ComposeAlignmentMarks(inputs.size), scale);
  }
  api.StopPrinting();
  outcome.jobs = 1;
  return outcome;
}

}  // namespace qr
