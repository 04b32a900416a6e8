#include "envelope/envelope_size.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace qr {
namespace {

constexpr std::int32_t kMicronPerInch = 25400;
constexpr std::int32_t kFiguresPerInch = 600;

constexpr std::int32_t Inches(std::int32_t eighths) { return eighths * kMicronPerInch / 8; }
constexpr std::int32_t Millimetres(std::int32_t mm) { return mm * 1000; }

constexpr std::array<EnvelopeSize, 11> kSizes = {{
    {"No. 10", 20, Inches(76), Inches(33)},  // 9 1/2 x 4 1/8 in
    {"No. 9", 19, Inches(71), Inches(31)},   // 8 7/8 x 3 7/8 in
    {"No. 6 3/4", 38, Inches(52), Inches(29)},
    {"Monarch", 37, Inches(60), Inches(31)},
    {"A2", 0, Inches(46), Inches(35)},  // 5 3/4 x 4 3/8 in
    {"A7", 0, Inches(58), Inches(42)},  // 7 1/4 x 5 1/4 in
    {"6 x 9", 0, Inches(72), Inches(48)},
    {"9 x 12", 0, Inches(96), Inches(72)},
    {"DL", 27, Millimetres(220), Millimetres(110)},
    {"C5", 28, Millimetres(229), Millimetres(162)},
    {"C6", 31, Millimetres(162), Millimetres(114)},
}};

// The layout's addressee base point was made for a No. 10 envelope.
constexpr std::int64_t kBaseX = 2508;
constexpr std::int64_t kBaseY = 900;

// A page or paper may differ from the envelope by this much: drivers round sizes to
// their own units (points, tenths of a millimetre, device pixels).
constexpr std::int64_t kToleranceDenominator = 16;  // 1/16 inch

std::int32_t TenthsOfMillimetre(std::int32_t micron) {
  return static_cast<std::int32_t>(MulDivRound(micron, 1, 100));
}

// Whether `pixels` at `dpi` is `micron` long within the tolerance.
bool PixelsMatch(std::int32_t pixels, std::int32_t micron, std::int32_t dpi) {
  // Compared in micrometres x dpi so that nothing is rounded.
  const std::int64_t found = std::int64_t{pixels} * kMicronPerInch;
  const std::int64_t wanted = std::int64_t{micron} * dpi;
  return std::llabs(found - wanted) * kToleranceDenominator <= std::int64_t{kMicronPerInch} * dpi;
}

bool TenthsMatch(std::int32_t tenths, std::int32_t micron) {
  return std::llabs(std::int64_t{tenths} * 100 - micron) * kToleranceDenominator <= kMicronPerInch;
}

}  // namespace

std::span<const EnvelopeSize> EnvelopeSizes() { return kSizes; }

const EnvelopeSize& DefaultEnvelopeSize() { return kSizes.front(); }

const EnvelopeSize& FindEnvelopeSize(std::string_view name) {
  for (const EnvelopeSize& size : kSizes) {
    if (size.name == name) return size;
  }
  return DefaultEnvelopeSize();
}

std::string PageSettingsText(const EnvelopeSize& size) {
  if (size.paperCode != 0) return PageSettingsText(size.paperCode);
  return PageSettingsText(kUserPaperCode) +
         ",Paperwidth=" + std::to_string(TenthsOfMillimetre(size.heightMicron)) +
         ",Paperlength=" + std::to_string(TenthsOfMillimetre(size.widthMicron));
}

std::string PageSettingsText(std::int32_t paperCode) {
  return "Orientation=2,Papersize=" + std::to_string(paperCode);
}

bool PageIsEnvelope(const EnvelopeSize& size, std::int32_t pageWidth, std::int32_t pageHeight,
                    std::int32_t dpiX, std::int32_t dpiY) {
  if (pageWidth <= 0 || pageHeight <= 0 || dpiX <= 0 || dpiY <= 0) return true;
  return PixelsMatch(pageWidth, size.widthMicron, dpiX) &&
         PixelsMatch(pageHeight, size.heightMicron, dpiY);
}

std::optional<std::int32_t> MatchDriverPaper(std::span<const DriverPaper> papers,
                                             const EnvelopeSize& size) {
  std::optional<std::int32_t> best;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (const DriverPaper& paper : papers) {
    if (paper.code == kUserPaperCode) continue;
    const std::int32_t shortSide = std::min(paper.width, paper.length);
    const std::int32_t longSide = std::max(paper.width, paper.length);
    if (!TenthsMatch(shortSide, size.heightMicron) || !TenthsMatch(longSide, size.widthMicron))
      continue;
    const std::int64_t distance = std::llabs(std::int64_t{shortSide} * 100 - size.heightMicron) +
                                  std::llabs(std::int64_t{longSide} * 100 - size.widthMicron);
    if (distance < bestDistance) {
      best = paper.code;
      bestDistance = distance;
    }
  }
  return best;
}

FigurePoint AddresseeBasePoint(const EnvelopeSize& size) {
  const EnvelopeSize& no10 = DefaultEnvelopeSize();
  return {MulDivRound(kBaseX, size.widthMicron, no10.widthMicron),
          MulDivRound(kBaseY, size.heightMicron, no10.heightMicron)};
}

Placement ParsePlacement(std::string_view text) {
  return text == kPlacementTrueSize ? Placement::kTrueSize : Placement::kDots;
}

std::string_view PlacementText(Placement placement) {
  return placement == Placement::kTrueSize ? kPlacementTrueSize : kPlacementDots;
}

std::int64_t MulDivRound(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  // value = q x denominator + r, with q and r of value's sign; only r x numerator needs
  // dividing, and it stays below denominator x numerator.
  const std::int64_t q = value / denominator;
  const std::int64_t r = value % denominator;
  const std::int64_t part = r * numerator;
  std::int64_t whole = part / denominator;
  const std::int64_t rest = part % denominator;
  if (2 * std::llabs(rest) >= denominator) whole += part < 0 ? -1 : 1;
  return q * numerator + whole;
}

std::int64_t AxisScale::Position(std::int64_t figure) const {
  return MulDivRound(figure, numerator, denominator) - offset;
}

std::int64_t AxisScale::Length(std::int64_t figure) const {
  return MulDivRound(figure, numerator, denominator);
}

std::optional<FigureScale> PrinterScale(std::int32_t dpiX, std::int32_t dpiY, std::int32_t offsetX,
                                        std::int32_t offsetY) {
  if (dpiX <= 0 || dpiY <= 0) return std::nullopt;
  return FigureScale{{dpiX, kFiguresPerInch, offsetX}, {dpiY, kFiguresPerInch, offsetY}};
}

FigureScale PreviewScale(const EnvelopeSize& size, std::int32_t previewWidth) {
  // previewWidth pixels for widthMicron: a figure is
  // previewWidth x 25400 / (600 x widthMicron) pixels.
  const AxisScale axis{std::int64_t{previewWidth} * kMicronPerInch,
                       std::int64_t{kFiguresPerInch} * size.widthMicron, 0};
  return {axis, axis};
}

std::optional<PreviewPage> TrueSizePreviewPage(const PrinterPage& page, std::int32_t previewWidth) {
  // Bounds that no real printer reaches keep every product below exact doubles and the
  // scale's MulDivRound within 64 bits.
  constexpr std::int32_t kMaxDpi = 1 << 16;
  constexpr std::int32_t kMaxPixels = 1 << 24;
  const auto within = [](std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
  };
  if (!within(previewWidth, 1, kMaxPixels) || !within(page.dpiX, 1, kMaxDpi) ||
      !within(page.dpiY, 1, kMaxDpi) || !within(page.physicalWidth, 1, kMaxPixels) ||
      !within(page.physicalHeight, 1, kMaxPixels) ||
      !within(page.printableWidth, 1, page.physicalWidth) ||
      !within(page.printableHeight, 1, page.physicalHeight) ||
      !within(page.offsetX, 0, page.physicalWidth - page.printableWidth) ||
      !within(page.offsetY, 0, page.physicalHeight - page.printableHeight)) {
    return std::nullopt;
  }
  // Preview pixels per device pixel: previewWidth / physicalWidth across; down, the same
  // length in inches, so dpiX / dpiY times that.
  const double across = static_cast<double>(previewWidth) / page.physicalWidth;
  const double down = across * page.dpiX / page.dpiY;
  const auto round = [](double value) { return static_cast<std::int32_t>(std::llround(value)); };
  PreviewPage preview;
  preview.paperWidth = previewWidth;
  preview.paperHeight = round(page.physicalHeight * down);
  preview.pictureWidth = round(page.printableWidth * across);
  preview.pictureX = round(page.offsetX * across);
  preview.pictureY = round(page.offsetY * down);
  // A figure is 1/600 inch; an inch is previewWidth x dpiX / physicalWidth pixels.
  const std::int64_t numerator = std::int64_t{previewWidth} * page.dpiX;
  const std::int64_t denominator = std::int64_t{kFiguresPerInch} * page.physicalWidth;
  preview.scale = {{numerator, denominator, preview.pictureX},
                   {numerator, denominator, preview.pictureY}};
  return preview;
}

}  // namespace qr
