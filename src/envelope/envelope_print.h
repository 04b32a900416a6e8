// Printing an envelope and drawing its preview through qr::PrinterApi.
//
// One routine, DrawEnvelope(), puts the envelope on whatever page the printer library
// has open; the print command wraps it in a print job per copy, the preview wraps it in
// an off-screen preview page. The two differ only in the EnvelopeLayout values.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "envelope/envelope_layout.h"
#include "envelope/printer_api.h"

namespace qr {

// Message box shown when copies are asked for but no printer is chosen (one OK button).
inline constexpr std::string_view kNoPrinterTitle = "Error! No Printer Selected";
inline constexpr std::string_view kNoPrinterText =
    "No printer selected, please use the drop down to select a printer";

// Message box shown instead of printing when the printer gives another page than the
// book's envelope size (one OK button).
inline constexpr std::string_view kSizeRefusedTitle = "Envelope Size";
std::string SizeRefusedText(std::string_view printer_name, const EnvelopeSize& size);

// Draws one envelope on the page the library has open, in this order: sender font,
// sender text (measured, then drawn at its origin with the measured size), the logo when
// in use, addressee font, addressee text (measured, then drawn at the measured corner
// moved by the layout's draw shift). The unit must be device pixels.
void DrawEnvelope(PrinterApi& api, const EnvelopeLayout& layout);

// "Quarrane - " followed by the addressee name as typed.
std::string JobName(std::string_view addresseeName);

// The "Number Copies" field as a number (qr::ReadNumber's syntax): no digits, or a
// number that does not fit 32 signed bits, give 0.
std::int32_t ReadCopies(std::string_view copies_text);

enum class PrintDecision {
  kPrint,             // a printer is chosen and copies > 0
  kNoPrinterMessage,  // copies > 0 but the printer name is empty: show kNoPrinter*
  kNothing,           // copies <= 0: nothing printed, nothing shown, form kept
  kSizeRefused,       // the printer gives another page: show kSizeRefused*, form kept
};

PrintDecision DecidePrint(std::string_view printer_name, std::int32_t copies);

struct PrintOutcome {
  PrintDecision decision = PrintDecision::kNothing;
  std::int32_t jobs = 0;  // print jobs made (one per copy, started or not)
  // True after printing when the addressee name field is not the empty text (a name of
  // blanks counts): the caller stores the addressee by the address book's
  // save-after-print rule, empties the six addressee fields, clears newEntryFlag, leaves
  // no entry current and puts the focus on the name field.
  bool storeAddressee = false;
};

// Runs the printing part of the print command. Before calling it the caller clears the
// status line, takes `printer_name` from the Printer drop-down, fills empty font values
// with ApplyEnvelopeFontDefaults() and saves the book settings; afterwards it shows the
// message or stores the addressee as the outcome says.
//
// For each copy (no upper limit) the inputs are gathered afresh with `gather`, and the
// library gets: OpenEnvelopePage(), SetUnit(0), at true size the printer's resolution
// and margin, StartPrinting(job name, ""), the drawing of DrawEnvelope() unless
// StartPrinting returned 0, StopPrinting(). The result of StopPrinting is not examined.
// A page that is not the envelope stops the command before its job is started.
PrintOutcome PrintEnvelope(PrinterApi& api, const std::string& printer_name,
                           std::string_view copies_text,
                           const std::function<EnvelopeInputs()>& gather);

// The preview window: its picture is kPreviewWidth pixels wide (a 100 % zoom of the
// 684-pixel image area), inner size 700 x 360, placed 25 pixels left of and 10 pixels
// above the recorded main window position.
inline constexpr std::string_view kPreviewTitle = "Print Preview";
inline constexpr std::string_view kPreviewNote =
    "Actual Placement on Printed envelopes may vary from this preview";
inline constexpr std::int32_t kPreviewWindowDx = -25;
inline constexpr std::int32_t kPreviewWindowDy = -10;

// Where the preview's page picture stands in the 684-pixel image area, and how far the
// paper under it reaches (a paper of 0 x 0: the picture is the whole paper).
struct PreviewPlacement {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t paperWidth = 0;
  std::int32_t paperHeight = 0;
};

// Draws the preview page: OpenEnvelopePage("" = default printer; a page that is not the
// envelope is shown as it is), SetUnit(0), StartPreview(684), the drawing of
// DrawEnvelope() unless StartPreview returned 0, StopPreview(), GetPreviewImage(0).
// At true size the printer's page is read first (ReadPrinterPage) and the whole paper
// is 684 pixels wide: StartPreview gets the printable area's width on that scale, and
// `placement` (when given) says where the picture stands on the paper; a printer that
// tells no usable page is previewed as before, the envelope's width 684 pixels.
// Returns the image number of the page to show, 0 when there is nothing to show.
// Stores and saves nothing; the caller fills empty font values in memory with
// ApplyEnvelopeFontDefaults() first.
std::int32_t DrawPreview(PrinterApi& api, const EnvelopeInputs& inputs,
                         PreviewPlacement* placement = nullptr);

// The open printer's page: PHYSICALWIDTH/HEIGHT, PHYSICALOFFSETX/Y, HORZRES, VERTRES,
// LOGPIXELSX/Y.
PrinterPage ReadPrinterPage(PrinterApi& api);

// Opens `printer_name` (empty: the default printer) for one envelope of `size` in
// landscape with desired access 0. No. 10 is opened with its paper code and taken as
// it comes. Any other size is checked against the page the printer reports; when that
// is another size, the envelope is asked for once more with a paper of the driver's
// own that has its dimensions, if there is one. Returns whether the page is the
// envelope.
bool OpenEnvelopePage(PrinterApi& api, const std::string& printer_name, const EnvelopeSize& size);

// The open printer's resolution and unprintable margin as a scale for true size;
// nullopt when it reports a resolution of 0.
std::optional<FigureScale> ReadPrinterScale(PrinterApi& api);

}  // namespace qr
