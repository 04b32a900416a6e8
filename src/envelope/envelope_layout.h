// What goes on the envelope and where: the sender block, the optional logo and the
// addressee block, for the printer and for the preview.
//
// Printing and the preview draw with the same routine (envelope_print.h); they differ
// only in the values that ComposeEnvelopeLayout() puts into `EnvelopeLayout`.
//
// The layout's figures (positions as typed, the addressee's base point and steps, the
// logo's 250 / 272 / 5, the measuring boxes) are dots. In dots placement they go to the
// printer as they are, and the preview has figures of its own; at true size they are
// 1/600 inch from the paper's edge on the printer and in the preview alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "envelope/envelope_size.h"

namespace qr {

// Style bits of the printer library's font command.
inline constexpr std::int32_t kFontStyleBold = 0x100;
inline constexpr std::int32_t kFontStyleItalic = 0x200;

// The three stored texts that describe one font: face name, size in whole points as
// decimal text, and the style text written by the font selection.
struct FontValues {
  std::string face;
  std::string size;
  std::string style;

  bool operator==(const FontValues&) const = default;
};

// The two stored fonts of an envelope ("Return Font/Size/Style" and
// "Address Font/Size/Style" of the book settings).
struct EnvelopeFonts {
  FontValues sender;
  FontValues addressee;
};

// Fills the empty face and size values the way printing and the preview do before
// they draw: "Arial" and "12" for the sender, "Arial" and "16" for the addressee.
// Styles stay as they are. Returns true when a value was filled in (the print
// command then stores the values and saves the book settings).
bool ApplyEnvelopeFontDefaults(EnvelopeFonts& fonts);

// Turns a style text into font style bits by three case-sensitive substring tests,
// each later match replacing the earlier value: "Bold" gives 0x100, "Italic" 0x200,
// "Bold & Italic" 0x300. Anything else ("None", "Regular", empty) gives 0.
std::int32_t StyleFlags(std::string_view style_text);

// The logo as the envelope code needs it (the logo state is kept by logo.h's owner).
struct EnvelopeLogo {
  bool inUse = false;      // "Yes": a real logo is loaded
  std::int32_t image = 0;  // image store number of the 100-pixel-wide logo
  float aspect = 0.0f;     // height / width of the file as loaded, before scaling
};

// Everything the layout is made from, as the main window and the book settings hold
// it when the print or preview command runs. Positions are the fields' texts.
struct EnvelopeInputs {
  std::string senderName;
  std::string senderStreet;
  std::string senderCityStateZip;
  std::string addresseeName;
  std::string addresseeStreet;  // "Street Address/Attn:"
  std::string addresseeSuite;   // "Optional Suite, Apt"
  std::string addresseeCity;
  std::string addresseeState;
  std::string addresseeZip;
  std::string senderHorizontal;
  std::string senderVertical;
  std::string addresseeHorizontal;
  std::string addresseeVertical;
  EnvelopeFonts fonts;
  EnvelopeLogo logo;
  Placement placement = Placement::kDots;
  EnvelopeSize size = DefaultEnvelopeSize();
};

// Where the envelope is drawn: the printer, or the 684-pixel-wide preview image.
enum class EnvelopeTarget { kPrint, kPreview };

// Width of the preview image in pixels.
inline constexpr std::int32_t kPreviewWidth = 684;

struct PointF {
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const PointF&) const = default;
};

struct RectF {
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
  bool operator==(const RectF&) const = default;
};

// A font as handed to the printer library: face, size in points, style bits.
struct EnvelopeFont {
  std::string face;
  std::int32_t size = 0;
  std::int32_t style = 0;
  bool operator==(const EnvelopeFont&) const = default;
};

// One envelope, ready to draw on one target.
struct EnvelopeLayout {
  std::string addresseeName;  // as typed; names the print job
  std::string senderText;
  std::string addresseeText;
  EnvelopeFont senderFont;
  EnvelopeFont addresseeFont;
  // The sender text is measured in a box of `senderMeasureSize` at this point and
  // drawn there with its measured size.
  PointF senderOrigin;
  PointF senderMeasureSize;
  // Drawn after the sender text when `logoInUse`.
  bool logoInUse = false;
  std::int32_t logoImage = 0;
  RectF logoRect;
  // The addressee text is measured at `addresseeMeasureOrigin` in a box of
  // `addresseeMeasureSize`, then drawn at the measured top-left corner moved by
  // `addresseeDrawShift`.
  PointF addresseeMeasureOrigin;
  PointF addresseeMeasureSize;
  PointF addresseeDrawShift;
};

// Sender name, LF, street, LF, city-state-zip: always three lines, nothing trimmed.
std::string ComposeSenderText(const EnvelopeInputs& in);

// Name, LF, street, LF, [suite as typed, LF,] last line. The suite line is left out
// when the suite is blank after trimming spaces. The last line is the city followed by
// ", " when the city is not the empty text (a city of blanks still gets the comma),
// then the state, one blank, the zip.
std::string ComposeAddresseeText(const EnvelopeInputs& in);

// Logo height for a 250-dot width: aspect x 250 truncated toward zero. A non-finite or
// out-of-range aspect (a logo that did not load) gives 0, so nothing is drawn.
std::int32_t LogoHeightDots(float aspect);

// The logo rectangle on the target (only meaningful when a logo is in use).
RectF LogoRect(EnvelopeTarget target, std::int32_t senderHorizontal, std::int32_t senderVertical,
               float aspect);

// Gathers the whole layout for one target from the inputs. Empty font faces and sizes
// fall back to the defaults of ApplyEnvelopeFontDefaults(); positions are read with
// qr::ReadNumber32 (no digits give 0, negative values move a block up or left).
//
// In dots placement, or on a printer without `printerScale` (one that reports no
// resolution), the figures are the target's own units. At true size they go through
// `printerScale`: the printer's when printing, the preview page's (TrueSizePreviewPage)
// in the preview, where PreviewScale() serves a printer that tells no page.
EnvelopeLayout ComposeEnvelopeLayout(const EnvelopeInputs& in, EnvelopeTarget target,
                                     const std::optional<FigureScale>& printerScale = {});

}  // namespace qr
