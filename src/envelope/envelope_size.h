// Envelope sizes and how an envelope is placed on the printer's page.
//
// Every envelope is printed in landscape. A size is kept in micrometres, so that inch
// sizes and millimetre sizes are both exact; "width" is the long side (the landscape
// page's width), "height" the short one.
//
// Placement: in dots every figure of the layout goes to the printer as it is, so the
// envelope looks right only on the resolution it was set up for. At true size every
// figure is 1/600 inch from the paper's edge and is turned into device pixels with the
// printer's own resolution and unprintable margin.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qr {

struct EnvelopeSize {
  std::string_view name;      // the menu item's text and the stored "Envelope" value
  std::int16_t paperCode;     // the Windows paper code, 0 when there is none
  std::int32_t widthMicron;   // long side
  std::int32_t heightMicron;  // short side

  bool operator==(const EnvelopeSize&) const = default;
};

// The sizes in menu order; the first, No. 10, is the default.
std::span<const EnvelopeSize> EnvelopeSizes();
const EnvelopeSize& DefaultEnvelopeSize();
// The size whose name is `name` exactly; No. 10 for an empty or unknown name.
const EnvelopeSize& FindEnvelopeSize(std::string_view name);

// Paper code of a user-defined size (DMPAPER_USER).
inline constexpr std::int16_t kUserPaperCode = 256;

// The keyword settings text that asks the printer for the envelope in landscape: its
// paper code, or a user-defined size in tenths of a millimetre (paper width the short
// side, paper length the long one). No. 10 gives "Orientation=2,Papersize=20".
std::string PageSettingsText(const EnvelopeSize& size = DefaultEnvelopeSize());
// The same with another paper code of the driver's own (see MatchDriverPaper).
std::string PageSettingsText(std::int32_t paperCode);

// Whether the printer's page (PHYSICALWIDTH x PHYSICALHEIGHT device pixels at dpiX x
// dpiY) is `size` in landscape, within 1/16 inch. A printer that reports no size or no
// resolution cannot be judged and passes.
bool PageIsEnvelope(const EnvelopeSize& size, std::int32_t pageWidth, std::int32_t pageHeight,
                    std::int32_t dpiX, std::int32_t dpiY);

// A paper the driver offers: its code and its size in tenths of a millimetre, portrait.
struct DriverPaper {
  std::int32_t code = 0;
  std::int32_t width = 0;
  std::int32_t length = 0;
};

// The code of a driver paper that has the envelope's size within 1/16 inch (either way
// round), the closest one when several do; nullopt when none does. The user-defined
// paper code itself never matches: it names no fixed size.
std::optional<std::int32_t> MatchDriverPaper(std::span<const DriverPaper> papers,
                                             const EnvelopeSize& size);

// The addressee's base point in figures: (2508, 900) on a No. 10 envelope, scaled with
// the envelope's width and height, rounded to whole figures.
struct FigurePoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  bool operator==(const FigurePoint&) const = default;
};
FigurePoint AddresseeBasePoint(const EnvelopeSize& size);

enum class Placement { kDots, kTrueSize };

// "True Size" and "Dots", the stored "Placement" values; any other text reads as dots.
inline constexpr std::string_view kPlacementTrueSize = "True Size";
inline constexpr std::string_view kPlacementDots = "Dots";
Placement ParsePlacement(std::string_view text);
std::string_view PlacementText(Placement placement);

// round(value x numerator / denominator), halves away from zero, formed in 64 bits
// without an intermediate product that could overflow for the layout's figures. The
// denominator must be positive.
std::int64_t MulDivRound(std::int64_t value, std::int64_t numerator, std::int64_t denominator);

// How figures (1/600 inch from the paper's edge) become device pixels along one axis:
// a position gives round(figure x numerator / denominator) - offset, a length the same
// without the offset.
struct AxisScale {
  std::int64_t numerator = 1;
  std::int64_t denominator = 1;
  std::int64_t offset = 0;

  std::int64_t Position(std::int64_t figure) const;
  std::int64_t Length(std::int64_t figure) const;
};

struct FigureScale {
  AxisScale x;
  AxisScale y;
};

// The scale of a printer with LOGPIXELSX/Y and PHYSICALOFFSETX/Y; nullopt when it
// reports a resolution of 0 or less (that job is placed in dots).
std::optional<FigureScale> PrinterScale(std::int32_t dpiX, std::int32_t dpiY, std::int32_t offsetX,
                                        std::int32_t offsetY);
// The preview's scale: the envelope's width is `previewWidth` pixels, the same on both
// axes.
FigureScale PreviewScale(const EnvelopeSize& size, std::int32_t previewWidth);

// The printer's page as its device capabilities give it, in device pixels.
struct PrinterPage {
  std::int32_t physicalWidth = 0;    // PHYSICALWIDTH: the whole paper
  std::int32_t physicalHeight = 0;   // PHYSICALHEIGHT
  std::int32_t offsetX = 0;          // PHYSICALOFFSETX: the printable area's corner
  std::int32_t offsetY = 0;          // PHYSICALOFFSETY
  std::int32_t printableWidth = 0;   // HORZRES
  std::int32_t printableHeight = 0;  // VERTRES
  std::int32_t dpiX = 0;             // LOGPIXELSX
  std::int32_t dpiY = 0;             // LOGPIXELSY
};

// A true-size preview of that page: the whole paper is `paperWidth` x `paperHeight`
// pixels (`previewWidth` wide, square pixels), and the printable area, the only part the
// printer library's preview draws, is a picture `pictureWidth` pixels wide that stands
// at (pictureX, pictureY) on it, where PHYSICALOFFSET puts it. `scale` turns figures
// into pixels of that picture, so that a block lands where the paper gets it and its
// text has the size the paper gets.
struct PreviewPage {
  std::int32_t paperWidth = 0;
  std::int32_t paperHeight = 0;
  std::int32_t pictureWidth = 0;
  std::int32_t pictureX = 0;
  std::int32_t pictureY = 0;
  FigureScale scale;
};
// nullopt when the printer reports no paper or no resolution, implausibly large values,
// or a printable area that does not lie on the paper.
std::optional<PreviewPage> TrueSizePreviewPage(const PrinterPage& page, std::int32_t previewWidth);

}  // namespace qr
