// Sheets of address labels: the standard sheets the program prints on, where each label
// lies on the paper, which label of which sheet a job's K-th label goes to, how a block of
// text is fitted into a label, and the texts of the label commands.
//
// A sheet's figures are exact in its own unit: 1/96 inch for the inch sheets (every
// figure of theirs is a multiple of 1/32 or 1/6 inch), 1/100 mm for the metric ones. They
// become device pixels through an AxisScale of the printer's resolution and unprintable
// offset, so that labels always land at true size from the paper's edge.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "envelope/envelope_size.h"

namespace qr {

enum class SheetPaper { kLetter, kA4 };

struct LabelSheet {
  std::string_view name;      // the stored "Label Sheet" value: "5160", "L7163"
  std::string_view menuText;  // the Options > Label Sheet item
  SheetPaper paper;
  std::int32_t columns;
  std::int32_t rows;
  std::int32_t unitsPerInch;  // 96 or 2540 (1/100 mm): the unit of the figures below
  std::int32_t width;         // one label
  std::int32_t height;
  std::int32_t left;  // the first label's top-left corner from the paper's top-left corner
  std::int32_t top;
  std::int32_t pitchX;  // from one label to the next, across and down
  std::int32_t pitchY;

  std::int32_t Count() const { return columns * rows; }
  bool operator==(const LabelSheet&) const = default;
};

// The sheets in menu order; the first, 5160, is the default.
std::span<const LabelSheet> LabelSheets();
// The sheet whose name is `name` exactly; 5160 for an empty or unknown name.
const LabelSheet& FindLabelSheet(std::string_view name);

// "Letter" or "A4", as the paper message names it.
std::string_view PaperName(SheetPaper paper);
// The sheet's paper, portrait, as a keyword settings text: "Orientation=1,Papersize=1"
// for Letter, Papersize=9 for A4; or with another paper code of the driver's own.
std::string SheetSettingsText(const LabelSheet& sheet);
std::string SheetSettingsText(std::int32_t paperCode);
// Whether the printer's page (PHYSICALWIDTH x PHYSICALHEIGHT pixels at dpiX x dpiY) is
// the sheet's paper in portrait, within 1/16 inch; a printer that tells no size passes.
bool PageIsSheetPaper(const LabelSheet& sheet, std::int32_t pageWidth, std::int32_t pageHeight,
                      std::int32_t dpiX, std::int32_t dpiY);
// A driver paper of the sheet's size, when the driver offers one.
std::optional<std::int32_t> MatchSheetPaper(std::span<const DriverPaper> papers,
                                            const LabelSheet& sheet);

// A rectangle, right and bottom exclusive, in a sheet's units or in device pixels.
struct LabelRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool operator==(const LabelRect&) const = default;
};

// The paper, and label `index` (0-based, across then down), in the sheet's units.
LabelRect PaperRect(const LabelSheet& sheet);
LabelRect SheetLabelRect(const LabelSheet& sheet, std::int32_t index);
// The scale of a printer of dpiX x dpiY with that unprintable offset, for the sheet's units.
FigureScale SheetScale(const LabelSheet& sheet, std::int32_t dpiX, std::int32_t dpiY,
                       std::int32_t offsetX, std::int32_t offsetY);
// A rectangle in the sheet's units as device pixels.
LabelRect ToDevice(const LabelRect& rect, const FigureScale& scale);

// Where the job's label `k` (0-based) goes when the job starts at label `start` (1-based):
// the sheet (page, 0-based) and the label on it (0-based). Labels fill a sheet from
// `start` to its end, then every following sheet from its first label.
struct LabelSlot {
  std::int64_t page = 0;
  std::int32_t index = 0;
  bool operator==(const LabelSlot&) const = default;
};
LabelSlot PlaceLabel(const LabelSheet& sheet, std::int32_t start, std::int64_t k);

// The "Start at label:" field: a whole number from 1 to the sheet's count (blanks around
// it allowed); nullopt for anything else.
std::optional<std::int32_t> ReadStartLabel(std::string_view text, const LabelSheet& sheet);

// Text blocks are measured by the caller at a size in points: the widest line and the
// height of all lines, in device pixels.
struct BlockExtent {
  std::int64_t width = 0;
  std::int64_t height = 0;
};
using MeasureBlock = std::function<BlockExtent(std::int32_t points)>;

// The smallest font a label is given.
inline constexpr std::int32_t kMinLabelPoints = 6;

// The size a block is drawn at: `points` when it fits `room` (width and height), else a
// point smaller at a time until it fits, but never below kMinLabelPoints (a size already
// below that is kept).
std::int32_t FitLabelFont(std::int32_t points, const BlockExtent& room,
                          const MeasureBlock& measure);

// The room for text in a label of `label` pixels: 0.1 inch less on every side.
BlockExtent LabelTextRoom(const LabelRect& label, std::int32_t dpiX, std::int32_t dpiY);
// The top-left corner of a block of `block` in a label: 0.1 inch inside its left edge,
// centred vertically.
struct DevicePoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  bool operator==(const DevicePoint&) const = default;
};
DevicePoint LabelTextOrigin(const LabelRect& label, const BlockExtent& block, std::int32_t dpiX);

// Texts of the label commands.
inline constexpr std::string_view kPrintLabelsTitle = "Print Labels";
inline constexpr std::string_view kReturnLabelsTitle = "Print Return Labels";
inline constexpr std::string_view kLabelSheetTitle = "Label Sheet";
inline constexpr std::string_view kNoReturnAddressText =
    "There is no return address to print: the three sender lines are empty.";
inline constexpr std::string_view kReturnLabelsJobName = "Quarrane - Return labels";
// "Quarrane - N labels"
std::string LabelJobName(std::int64_t labels);
// "Printing label K of N"
std::string LabelProgressText(std::int64_t label, std::int64_t labels);
std::string LabelCancelledText(std::int64_t sent, std::int64_t labels);
// The message for a start that is not on the sheet.
std::string StartLabelRangeText(const LabelSheet& sheet);
// The message for a printer that does not give the sheet's paper.
std::string PaperRefusedText(std::string_view printer, const LabelSheet& sheet);

}  // namespace qr
