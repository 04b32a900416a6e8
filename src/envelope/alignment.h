// The alignment envelope: one envelope of the book's size with marks every 1/4 inch
// along its top and left edges, numbered every inch, and a thin frame where each block
// of the envelope lands with the current settings. Fed once, it shows how far the
// printer's idea of the paper's edge is off and which positions to type.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "envelope/envelope_layout.h"
#include "envelope/envelope_print.h"
#include "envelope/printer_api.h"

namespace qr {

inline constexpr std::string_view kAlignmentJobName = "Quarrane - Alignment";

// The numbers are set in this font (face, points).
inline constexpr std::string_view kAlignmentFontFace = "Arial";
inline constexpr std::int32_t kAlignmentFontSize = 8;

// Marks in figures (1/600 inch from the paper's edge).
struct FigureLine {
  std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const FigureLine&) const = default;
};
struct FigureLabel {
  std::string text;
  std::int64_t x = 0, y = 0;  // top-left corner of the text
  bool operator==(const FigureLabel&) const = default;
};
struct AlignmentMarks {
  std::vector<FigureLine> ticks;
  std::vector<FigureLabel> labels;
};

// Ticks every 1/4 inch that lie inside the envelope, from the top edge down and from
// the left edge in: 1/6 inch long, 1/4 inch at the half inches, 2/5 inch at the whole
// inches. Each whole inch n is numbered "n" just right of its top tick and just below
// its left tick, 1/5 inch in from the edge.
AlignmentMarks ComposeAlignmentMarks(const EnvelopeSize& size);

// Draws the marks and their numbers at true size (in dots when `scale` is absent), then
// a frame round the sender block, the logo and the addressee block as `layout` places
// them, each text measured with its font. The unit must be device pixels.
void DrawAlignmentEnvelope(PrinterApi& api, const EnvelopeLayout& layout,
                           const AlignmentMarks& marks, const std::optional<FigureScale>& scale);

// File > Print Alignment Envelope: one job named kAlignmentJobName on `printer_name`
// with the inputs' size, placement, positions, texts, fonts and logo. Decides like one
// copy of the print command: no printer gives kNoPrinterMessage, a page that is not
// the envelope kSizeRefused; the addressee is never stored.
PrintOutcome PrintAlignmentEnvelope(PrinterApi& api, const std::string& printer_name,
                                    const EnvelopeInputs& inputs);

}  // namespace qr
