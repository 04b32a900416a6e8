// The print command: the envelope printed in as many copies as asked on the printer of
// the drop-down, then the addressee stored in the open book and the form emptied. The
// preview command: the same envelope drawn into the preview window. The alignment
// envelope, and the two Options items that decide the envelope's size and placement.
#include <windows.h>

#include "addressbook/address_book.h"
#include "app/commands/addressee_form_win.h"
#include "app/commands/commands_win.h"
#include "app/commands/envelope_inputs_win.h"
#include "app/main_window_win.h"
#include "base/file_system.h"
#include "envelope/alignment.h"
#include "envelope/batch_progress_win.h"
#include "envelope/envelope_batch.h"
#include "envelope/envelope_print.h"
#include "envelope/preview_window_win.h"
#include "envelope/printer_api_win.h"
#include "wingui/modal_win.h"

namespace qr {

EnvelopeFonts StoredEnvelopeFonts(const Shell& shell) {
  const BookSettings& b = shell.startup.book;
  return {{b.returnFont, b.returnSize, b.returnStyle},
          {b.addressFont, b.addressSize, b.addressStyle}};
}

bool ApplyStoredFontDefaults(Shell& shell) {
  EnvelopeFonts fonts = StoredEnvelopeFonts(shell);
  if (!ApplyEnvelopeFontDefaults(fonts)) return false;
  BookSettings& b = shell.startup.book;
  b.returnFont = fonts.sender.face;
  b.returnSize = fonts.sender.size;
  b.addressFont = fonts.addressee.face;
  b.addressSize = fonts.addressee.size;
  return true;
}

EnvelopeInputs WithAddressee(EnvelopeInputs common, const AddressEntry& entry) {
  common.addresseeName = entry.name;
  common.addresseeStreet = entry.street;
  common.addresseeSuite = entry.suite;
  common.addresseeCity = entry.city;
  common.addresseeState = entry.state;
  common.addresseeZip = entry.zip;
  return common;
}

EnvelopeInputs GatherEnvelopeInputs(const Shell& shell) {
  EnvelopeInputs in;
  in.senderName = ControlText(shell, ctl::kSenderName);
  in.senderStreet = ControlText(shell, ctl::kSenderStreet);
  in.senderCityStateZip = ControlText(shell, ctl::kSenderCityStateZip);
  in.addresseeName = ControlText(shell, ctl::kAddresseeName);
  in.addresseeStreet = ControlText(shell, ctl::kAddresseeStreet);
  in.addresseeSuite = ControlText(shell, ctl::kAddresseeSuite);
  in.addresseeCity = ControlText(shell, ctl::kAddresseeCity);
  in.addresseeState = ControlText(shell, ctl::kAddresseeState);
  in.addresseeZip = ControlText(shell, ctl::kAddresseeZip);
  in.senderHorizontal = ControlText(shell, ctl::kSenderHorizontal);
  in.senderVertical = ControlText(shell, ctl::kSenderVertical);
  in.addresseeHorizontal = ControlText(shell, ctl::kAddresseeHorizontal);
  in.addresseeVertical = ControlText(shell, ctl::kAddresseeVertical);
  in.fonts = StoredEnvelopeFonts(shell);
  in.logo = {shell.logoInUse, shell.logoImage, shell.logoAspect};
  in.placement = ParsePlacement(shell.startup.book.placement);
  in.size = FindEnvelopeSize(shell.startup.book.envelope);
  return in;
}

namespace {

// Keeps the wait cursor up while the jobs are spooled.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// The message of a print or alignment job that did not go to the printer.
void ShowRefusal(Shell& shell, const PrintOutcome& outcome, const std::string& printer) {
  if (outcome.decision == PrintDecision::kNoPrinterMessage) {
    ShowMessage(shell, std::string(kNoPrinterTitle), std::string(kNoPrinterText), MB_OK);
  } else if (outcome.decision == PrintDecision::kSizeRefused) {
    ShowMessage(shell, std::string(kSizeRefusedTitle),
                SizeRefusedText(printer, FindEnvelopeSize(shell.startup.book.envelope)),
                MB_OK | MB_ICONWARNING);
  }
}

}  // namespace

void PrintCommand(Shell& shell) {
  SetControlText(shell, ctl::kHintLine, "");
  shell.hints.shownHint = 0;
  const std::string printer = ControlText(shell, ctl::kPrinterCombo);
  ApplyStoredFontDefaults(shell);
  SaveBookSettingsFromWindow(shell);

  PrinterLibApi api;
  PrintOutcome outcome;
  {
    WaitCursor wait;
    outcome = PrintEnvelope(api, printer, ControlText(shell, ctl::kCopies),
                            [&shell] { return GatherEnvelopeInputs(shell); });
  }
  switch (outcome.decision) {
    case PrintDecision::kPrint:
      // The addressee goes into the book by the save-after-printing rule. Only when it
      // is stored is the form emptied: a failed save keeps the fields, nothing is lost.
      if (outcome.storeAddressee) {
        ApplySaveResult(shell, SaveAfterPrinting(SystemFileSystem(), shell.book,
                                                 AddresseeFormFromWindow(shell)));
      }
      break;
    case PrintDecision::kNoPrinterMessage:
    case PrintDecision::kSizeRefused:
      ShowRefusal(shell, outcome, printer);
      break;
    case PrintDecision::kNothing:
      break;
  }
}

void PrintPreviewCommand(Shell& shell) {
  // Empty font values get their defaults in memory only; nothing is saved here.
  ApplyStoredFontDefaults(shell);
  const EnvelopeInputs inputs = GatherEnvelopeInputs(shell);
  RunPreviewWindow(shell.instance, shell.startup.book.windowX, shell.startup.book.windowY,
                   [&](PreviewPlacement& placement) {
                     PrinterLibApi api;
                     return DrawPreview(api, inputs, &placement);
                   });
  if (shell.mainWindow) SetForegroundWindow(shell.mainWindow);
}

void PrintEntriesCommand(Shell& shell, HWND owner, const std::vector<AddressEntry>& entries) {
  const std::string printer = ControlText(shell, ctl::kPrinterCombo);
  ApplyStoredFontDefaults(shell);
  SaveBookSettingsFromWindow(shell);
  // Each envelope: the sender, positions, fonts and logo of the window, and the entry
  // as the addressee.
  std::vector<EnvelopeInputs> envelopes;
  const EnvelopeInputs common = GatherEnvelopeInputs(shell);
  for (const AddressEntry& entry : entries) {
    envelopes.push_back(WithAddressee(common, entry));
  }
  PrinterLibApi api;
  BatchOutcome outcome;
  {
    BatchProgressWindow progress(owner);
    WaitCursor wait;
    outcome = PrintBatch(api, printer, ControlText(shell, ctl::kCopies), envelopes, progress);
  }
  if (outcome.decision == PrintDecision::kNoPrinterMessage) {
    ShowMessageBox(owner, std::string(kNoPrinterTitle), std::string(kNoPrinterText), MB_OK);
  } else if (outcome.decision == PrintDecision::kSizeRefused) {
    ShowMessageBox(owner, std::string(kSizeRefusedTitle),
                   SizeRefusedText(printer, FindEnvelopeSize(shell.startup.book.envelope)),
                   MB_OK | MB_ICONWARNING);
  } else if (outcome.cancelled) {
    ShowMessageBox(owner, std::string(kPrintSelectedTitle),
                   BatchCancelledText(outcome.sent, outcome.envelopes), MB_OK);
  } else if (outcome.failed) {
    ShowMessageBox(owner, std::string(kPrintSelectedTitle),
                   BatchFailedText(outcome.sent, outcome.envelopes), MB_OK | MB_ICONERROR);
  }
}

void PrintAlignmentCommand(Shell& shell) {
  const std::string printer = ControlText(shell, ctl::kPrinterCombo);
  // As the preview: empty font values get their defaults in memory only.
  ApplyStoredFontDefaults(shell);
  PrinterLibApi api;
  PrintOutcome outcome;
  {
    WaitCursor wait;
    outcome = PrintAlignmentEnvelope(api, printer, GatherEnvelopeInputs(shell));
  }
  ShowRefusal(shell, outcome, printer);
}

void TogglePlacementCommand(Shell& shell) {
  std::string& placement = shell.startup.book.placement;
  const bool trueSize = ParsePlacement(placement) == Placement::kTrueSize;
  placement = PlacementText(trueSize ? Placement::kDots : Placement::kTrueSize);
  ShowEnvelopeChoices(shell);
  SaveBookSettingsFromWindow(shell);
}

void ChooseEnvelopeSizeCommand(Shell& shell, int sizeIndex) {
  const auto sizes = EnvelopeSizes();
  if (sizeIndex < 0 || static_cast<std::size_t>(sizeIndex) >= sizes.size()) return;
  shell.startup.book.envelope = std::string(sizes[static_cast<std::size_t>(sizeIndex)].name);
  ShowEnvelopeChoices(shell);
  SaveBookSettingsFromWindow(shell);
}

}  // namespace qr
