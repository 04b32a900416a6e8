#include "envelope/label_sheet.h"

#include <array>

namespace qr {
namespace {

constexpr std::int32_t kInch = 96;             // units per inch of the inch sheets
constexpr std::int32_t kPerInchMetric = 2540;  // 1/100 mm

constexpr std::array<LabelSheet, 6> kSheets = {{
    // name, menu text, paper, columns, rows, unit, width, height, left, top, pitch x, y
    {"5160", "Avery 5160 (30 per sheet, 2 5/8 x 1 in)", SheetPaper::kLetter, 3, 10, kInch, 252, 96,
     18, 48, 264, 96},
    {"5161", "Avery 5161 (20 per sheet, 4 x 1 in)", SheetPaper::kLetter, 2, 10, kInch, 384, 96, 15,
     48, 402, 96},
    {"5162", "Avery 5162 (14 per sheet, 4 x 1 1/3 in)", SheetPaper::kLetter, 2, 7, kInch, 384, 128,
     15, 80, 402, 128},
    {"5163", "Avery 5163 (10 per sheet, 4 x 2 in)", SheetPaper::kLetter, 2, 5, kInch, 384, 192, 15,
     48, 402, 192},
    {"L7160", "Avery L7160 (21 per sheet, 63.5 x 38.1 mm)", SheetPaper::kA4, 3, 7, kPerInchMetric,
     6350, 3810, 725, 1515, 6600, 3810},
    {"L7163", "Avery L7163 (14 per sheet, 99.1 x 38.1 mm)", SheetPaper::kA4, 2, 7, kPerInchMetric,
     9910, 3810, 465, 1515, 10160, 3810},
}};

// Portrait papers in micrometres, as envelope sizes are kept (long side first).
constexpr EnvelopeSize kLetter = {"Letter", 1, 279400, 215900};
constexpr EnvelopeSize kA4 = {"A4", 9, 297000, 210000};

const EnvelopeSize& PaperSize(SheetPaper paper) {
  return paper == SheetPaper::kLetter ? kLetter : kA4;
}

constexpr std::int32_t kTenthInchDenominator = 10;  // the text's 0.1 inch inset

}  // namespace

std::span<const LabelSheet> LabelSheets() { return kSheets; }

const LabelSheet& FindLabelSheet(std::string_view name) {
  for (const LabelSheet& sheet : kSheets) {
    if (sheet.name == name) return sheet;
  }
  return kSheets.front();
}

std::string_view PaperName(SheetPaper paper) { return PaperSize(paper).name; }

std::string SheetSettingsText(const LabelSheet& sheet) {
  return SheetSettingsText(PaperSize(sheet.paper).paperCode);
}

std::string SheetSettingsText(std::int32_t paperCode) {
  return "Orientation=1,Papersize=" + std::to_string(paperCode);
}

bool PageIsSheetPaper(const LabelSheet& sheet, std::int32_t pageWidth, std::int32_t pageHeight,
                      std::int32_t dpiX, std::int32_t dpiY) {
  // The envelope check takes the long side across; a portrait page has it down.
  return PageIsEnvelope(PaperSize(sheet.paper), pageHeight, pageWidth, dpiY, dpiX);
}

std::optional<std::int32_t> MatchSheetPaper(std::span<const DriverPaper> papers,
                                            const LabelSheet& sheet) {
  return MatchDriverPaper(papers, PaperSize(sheet.paper));
}

LabelRect PaperRect(const LabelSheet& sheet) {
  const EnvelopeSize& paper = PaperSize(sheet.paper);
  constexpr std::int64_t kMicronPerInch = 25400;
  return {0, 0, MulDivRound(paper.heightMicron, sheet.unitsPerInch, kMicronPerInch),
          MulDivRound(paper.widthMicron, sheet.unitsPerInch, kMicronPerInch)};
}

LabelRect SheetLabelRect(const LabelSheet& sheet, std::int32_t index) {
  const std::int64_t left = sheet.left + std::int64_t{index % sheet.columns} * sheet.pitchX;
  const std::int64_t top = sheet.top + std::int64_t{index / sheet.columns} * sheet.pitchY;
  return {left, top, left + sheet.width, top + sheet.height};
}

FigureScale SheetScale(const LabelSheet& sheet, std::int32_t dpiX, std::int32_t dpiY,
                       std::int32_t offsetX, std::int32_t offsetY) {
  return {{dpiX, sheet.unitsPerInch, offsetX}, {dpiY, sheet.unitsPerInch, offsetY}};
}

LabelRect ToDevice(const LabelRect& rect, const FigureScale& scale) {
  return {scale.x.Position(rect.left), scale.y.Position(rect.top), scale.x.Position(rect.right),
          scale.y.Position(rect.bottom)};
}

LabelSlot PlaceLabel(const LabelSheet& sheet, std::int32_t start, std::int64_t k) {
  const std::int64_t slot = std::int64_t{start} - 1 + k;
  return {slot / sheet.Count(), static_cast<std::int32_t>(slot % sheet.Count())};
}

std::optional<std::int32_t> ReadStartLabel(std::string_view text, const LabelSheet& sheet) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > sheet.Count()) return std::nullopt;  // also keeps long digit runs in range
  }
  if (value < 1) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t FitLabelFont(std::int32_t points, const BlockExtent& room,
                          const MeasureBlock& measure) {
  for (; points > kMinLabelPoints; --points) {
    const BlockExtent block = measure(points);
    if (block.width <= room.width && block.height <= room.height) break;
  }
  return points;
}

BlockExtent LabelTextRoom(const LabelRect& label, std::int32_t dpiX, std::int32_t dpiY) {
  const std::int64_t insetX = MulDivRound(dpiX, 1, kTenthInchDenominator);
  const std::int64_t insetY = MulDivRound(dpiY, 1, kTenthInchDenominator);
  return {label.right - label.left - 2 * insetX, label.bottom - label.top - 2 * insetY};
}

DevicePoint LabelTextOrigin(const LabelRect& label, const BlockExtent& block, std::int32_t dpiX) {
  return {label.left + MulDivRound(dpiX, 1, kTenthInchDenominator),
          label.top + (label.bottom - label.top - block.height) / 2};
}

std::string LabelJobName(std::int64_t labels) {
  return "Quarrane - " + std::to_string(labels) + " labels";
}

std::string LabelProgressText(std::int64_t label, std::int64_t labels) {
  return "Printing label " + std::to_string(label) + " of " + std::to_string(labels);
}

std::string LabelCancelledText(std::int64_t sent, std::int64_t labels) {
  return "Printing was cancelled after " + std::to_string(sent) + " of " + std::to_string(labels) +
         " labels. The print job was stopped.";
}

std::string StartLabelRangeText(const LabelSheet& sheet) {
  return "Start at label: enter a whole number from 1 to " + std::to_string(sheet.Count()) +
         ", the labels of one sheet.";
}

std::string PaperRefusedText(std::string_view printer, const LabelSheet& sheet) {
  std::string text = "The printer \"";
  text += printer;
  text += "\" cannot print on ";
  text += PaperName(sheet.paper);
  text +=
      " paper, so nothing was printed. Choose another printer, or another sheet in "
      "Options > Label Sheet.";
  return text;
}

}  // namespace qr
