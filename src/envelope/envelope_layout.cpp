#include "envelope/envelope_layout.h"

#include <cmath>

#include "base/number.h"

namespace qr {
namespace {

constexpr char kLineBreak = '\n';  // one byte 10 between the lines of a block

// Print: the sender text starts this many dots right of the logo's left edge; the
// preview shows the same gap scaled to its pixels.
constexpr std::int64_t kPrintLogoShift = 272;
constexpr std::int64_t kPreviewLogoShift = 33;
constexpr std::int32_t kLogoBand = 250;  // the printed logo is 250 dots wide
constexpr std::int32_t kLogoTopGap = 5;  // a wide logo starts 5 dots below the sender's top

// How far each step of the two addressee position numbers moves the printed block
// (its base point is AddresseeBasePoint()). The block is measured at one step and moved
// by the same step again when drawn, so one step of the stored positions moves the
// printed block 24 / 18 dots.
constexpr std::int64_t kPrintStepX = 12;
constexpr std::int64_t kPrintStepY = 9;
constexpr double kPreviewAddresseeLeft = 297.0;
constexpr double kPreviewAddresseeTop = 132.5;

bool IsBlankAfterTrimmingSpaces(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

void FillEmpty(std::string& value, const char* fallback) {
  if (value.empty()) value = fallback;
}

EnvelopeFont ToEnvelopeFont(FontValues values, const char* default_size) {
  FillEmpty(values.face, "Arial");
  FillEmpty(values.size, default_size);
  return EnvelopeFont{values.face, ReadNumber32(values.size), StyleFlags(values.style)};
}

// Positions are whole numbers of 32 bits; sums are formed in 64 bits so that no typed
// number can overflow, then handed on as floats like every library coordinate.
float F(std::int64_t value) { return static_cast<float>(value); }

struct FigureRect {
  std::int64_t x, y, width, height;
};

// The printed logo: 250 dots wide and h high at the sender's position, a logo wider
// than tall centred in a 250-dot band that starts 5 dots below the sender's top.
FigureRect PrintLogoFigures(std::int64_t senderHorizontal, std::int64_t senderVertical,
                            std::int32_t h) {
  const std::int32_t offset = h >= kLogoBand ? 0 : (kLogoBand - h) / 2 + kLogoTopGap;
  return {senderHorizontal, senderVertical + offset, kLogoBand, h};
}

}  // namespace

bool ApplyEnvelopeFontDefaults(EnvelopeFonts& fonts) {
  bool changed = false;
  auto fill = [&changed](std::string& value, const char* fallback) {
    if (value.empty()) {
      value = fallback;
      changed = true;
    }
  };
  fill(fonts.sender.face, "Arial");
  fill(fonts.sender.size, "12");
  fill(fonts.addressee.face, "Arial");
  fill(fonts.addressee.size, "16");
  return changed;
}

std::int32_t StyleFlags(std::string_view style_text) {
  std::int32_t flags = 0;
  if (style_text.find("Bold") != std::string_view::npos) flags = kFontStyleBold;
  if (style_text.find("Italic") != std::string_view::npos) flags = kFontStyleItalic;
  if (style_text.find("Bold & Italic") != std::string_view::npos) {
    flags = kFontStyleBold | kFontStyleItalic;
  }
  return flags;
}

std::string ComposeSenderText(const EnvelopeInputs& in) {
  std::string text = in.senderName;
  text += kLineBreak;
  text += in.senderStreet;
  text += kLineBreak;
  text += in.senderCityStateZip;
  return text;
}

std::string ComposeAddresseeText(const EnvelopeInputs& in) {
  std::string last_line;
  if (!in.addresseeCity.empty()) last_line = in.addresseeCity + ", ";
  last_line += in.addresseeState;
  last_line += ' ';
  last_line += in.addresseeZip;

  std::string text = in.addresseeName;
  text += kLineBreak;
  text += in.addresseeStreet;
  text += kLineBreak;
  if (!IsBlankAfterTrimmingSpaces(in.addresseeSuite)) {
    text += in.addresseeSuite;
    text += kLineBreak;
  }
  text += last_line;
  return text;
}

std::int32_t LogoHeightDots(float aspect) {
  const float height = aspect * static_cast<float>(kLogoBand);
  // A logo that failed to load has no usable aspect (0/0, x/0): draw nothing rather
  // than convert a value that does not fit an integer.
  if (!std::isfinite(height) || height < 0.0f || height >= 2147483648.0f) return 0;
  return static_cast<std::int32_t>(height);
}

RectF LogoRect(EnvelopeTarget target, std::int32_t senderHorizontal, std::int32_t senderVertical,
               float aspect) {
  const std::int32_t h = LogoHeightDots(aspect);
  if (target == EnvelopeTarget::kPrint) {
    const FigureRect r = PrintLogoFigures(senderHorizontal, senderVertical, h);
    return RectF{F(r.x), F(r.y), F(r.width), F(r.height)};
  }
  // The preview is one eighth of the printed size and keeps the half pixel of the
  // centring before it adds the gap and divides.
  std::int64_t offset = 0;
  if (h < kLogoBand) {
    const double centred = (kLogoBand - h) / 2.0;
    offset = static_cast<std::int64_t>((centred + kLogoTopGap) / 8.0);
  }
  return RectF{F(senderHorizontal), F(senderVertical + offset), kLogoBand / 8.0f,
               static_cast<float>(h) / 8.0f};
}

EnvelopeLayout ComposeEnvelopeLayout(const EnvelopeInputs& in, EnvelopeTarget target,
                                     const std::optional<FigureScale>& printerScale) {
  const bool print = target == EnvelopeTarget::kPrint;
  const std::int32_t sender_h = ReadNumber32(in.senderHorizontal);
  const std::int32_t sender_v = ReadNumber32(in.senderVertical);
  const std::int64_t addressee_h = ReadNumber32(in.addresseeHorizontal);
  const std::int64_t addressee_v = ReadNumber32(in.addresseeVertical);

  EnvelopeLayout layout;
  layout.addresseeName = in.addresseeName;
  layout.senderText = ComposeSenderText(in);
  layout.addresseeText = ComposeAddresseeText(in);
  layout.senderFont = ToEnvelopeFont(in.fonts.sender, "12");
  layout.addresseeFont = ToEnvelopeFont(in.fonts.addressee, "16");
  layout.logoInUse = in.logo.inUse;
  if (in.logo.inUse) layout.logoImage = in.logo.image;

  std::optional<FigureScale> scale;
  if (in.placement == Placement::kTrueSize) {
    scale = (print || printerScale) ? printerScale : PreviewScale(in.size, kPreviewWidth);
  }
  const FigurePoint base = AddresseeBasePoint(in.size);
  const std::int64_t step_x = kPrintStepX * addressee_h;
  const std::int64_t step_y = kPrintStepY * addressee_v;

  if (scale) {
    // The printed layout's figures, each turned into device pixels once. The addressee
    // is drawn at its measured corner moved by the difference of the two points, so that
    // it lands on the rounded position of its own figure.
    const AxisScale& x = scale->x;
    const AxisScale& y = scale->y;
    const std::int64_t logo_shift = in.logo.inUse ? kPrintLogoShift : 0;
    layout.senderOrigin = PointF{F(x.Position(sender_h + logo_shift)), F(y.Position(sender_v))};
    layout.senderMeasureSize = PointF{F(x.Length(100)), F(y.Length(100))};
    if (in.logo.inUse) {
      const FigureRect r = PrintLogoFigures(sender_h, sender_v, LogoHeightDots(in.logo.aspect));
      layout.logoRect = RectF{F(x.Position(r.x)), F(y.Position(r.y)), F(x.Length(r.width)),
                              F(y.Length(r.height))};
    }
    const std::int64_t measure_x = x.Position(base.x + step_x);
    const std::int64_t measure_y = y.Position(base.y + step_y);
    layout.addresseeMeasureOrigin = PointF{F(measure_x), F(measure_y)};
    layout.addresseeMeasureSize = PointF{F(x.Length(80)), F(y.Length(100))};
    layout.addresseeDrawShift = PointF{F(x.Position(base.x + 2 * step_x) - measure_x),
                                       F(y.Position(base.y + 2 * step_y) - measure_y)};
    return layout;
  }

  const std::int64_t logo_shift = in.logo.inUse ? (print ? kPrintLogoShift : kPreviewLogoShift) : 0;
  layout.senderOrigin = PointF{F(sender_h + logo_shift), F(sender_v)};
  layout.senderMeasureSize = PointF{100.0f, 100.0f};
  if (in.logo.inUse) layout.logoRect = LogoRect(target, sender_h, sender_v, in.logo.aspect);

  if (print) {
    layout.addresseeMeasureOrigin = PointF{F(base.x + step_x), F(base.y + step_y)};
    layout.addresseeMeasureSize = PointF{80.0f, 100.0f};
    layout.addresseeDrawShift = PointF{F(step_x), F(step_y)};
  } else {
    layout.addresseeMeasureOrigin =
        PointF{static_cast<float>(static_cast<double>(addressee_h) + kPreviewAddresseeLeft),
               static_cast<float>(static_cast<double>(addressee_v) + kPreviewAddresseeTop)};
    layout.addresseeMeasureSize = PointF{0.0f, 0.0f};
    layout.addresseeDrawShift = PointF{0.0f, 0.0f};
  }
  return layout;
}

}  // namespace qr
