// Address labels: Options > Label Sheet, the entries picked in the lookup window printed
// as labels from the label the user chooses, and File > Print Return Labels.
#include <windows.h>

#include "app/commands.h"
#include "app/commands/commands_win.h"
#include "app/commands/envelope_inputs_win.h"
#include "app/main_window_win.h"
#include "base/number.h"
#include "envelope/batch_progress_win.h"
#include "envelope/envelope_print.h"
#include "envelope/label_dialog_win.h"
#include "envelope/label_print_win.h"
#include "wingui/modal_win.h"

namespace qr {
namespace {

const LabelSheet& BookSheet(const Shell& shell) {
  return FindLabelSheet(shell.startup.book.labelSheet);
}

LabelFont LabelFontOf(const FontValues& font) {
  return {font.face, ReadNumber32(font.size), StyleFlags(font.style)};
}

// Prints the job with a progress window owned by `owner` and tells what stopped it.
void RunLabelJob(HWND owner, const LabelJob& job, std::string_view title) {
  LabelOutcome outcome;
  {
    BatchProgressWindow progress(owner, title, LabelProgressText);
    outcome = PrintLabels(job, progress);
  }
  if (outcome.paperRefused) {
    ShowMessageBox(owner, std::string(kLabelSheetTitle), PaperRefusedText(job.printer, job.sheet),
                   MB_OK | MB_ICONWARNING);
  } else if (outcome.cancelled) {
    ShowMessageBox(owner, std::string(title), LabelCancelledText(outcome.sent, job.Labels()),
                   MB_OK);
  }
}

}  // namespace

void ShowLabelSheetChoice(const Shell& shell) {
  HMENU menu = shell.mainWindow ? GetMenu(shell.mainWindow) : nullptr;
  if (!menu) return;
  const LabelSheet& chosen = BookSheet(shell);
  int command = kCmdLabelSheetFirst;
  for (const LabelSheet& sheet : LabelSheets()) {
    if (sheet == chosen) break;
    ++command;
  }
  CheckMenuRadioItem(menu, kCmdLabelSheetFirst, kCmdLabelSheetLast, command, MF_BYCOMMAND);
}

void ChooseLabelSheetCommand(Shell& shell, int sheetIndex) {
  const auto sheets = LabelSheets();
  if (sheetIndex < 0 || static_cast<std::size_t>(sheetIndex) >= sheets.size()) return;
  shell.startup.book.labelSheet = std::string(sheets[static_cast<std::size_t>(sheetIndex)].name);
  ShowLabelSheetChoice(shell);
  SaveBookSettingsFromWindow(shell);
}

void PrintLabelsCommand(Shell& shell, HWND owner, const std::vector<AddressEntry>& entries) {
  if (entries.empty()) return;
  const std::string printer = ControlText(shell, ctl::kPrinterCombo);
  const std::int32_t copies = ReadCopies(ControlText(shell, ctl::kCopies));
  const PrintDecision decision = DecidePrint(printer, copies);
  if (decision == PrintDecision::kNoPrinterMessage) {
    ShowMessageBox(owner, std::string(kNoPrinterTitle), std::string(kNoPrinterText), MB_OK);
  }
  if (decision != PrintDecision::kPrint) return;
  ApplyStoredFontDefaults(shell);
  SaveBookSettingsFromWindow(shell);

  // Each label: the entry's addressee block as its envelope has it.
  const EnvelopeInputs common = GatherEnvelopeInputs(shell);
  LabelJob job;
  job.printer = printer;
  job.sheet = BookSheet(shell);
  job.font = LabelFontOf(common.fonts.addressee);
  job.copies = copies;
  for (const AddressEntry& entry : entries) {
    job.blocks.push_back(ComposeAddresseeText(WithAddressee(common, entry)));
  }
  const std::optional<std::int32_t> start = RunLabelStartDialog(owner, job.sheet, job.Labels());
  if (!start) return;
  job.start = *start;
  job.name = LabelJobName(job.Labels());
  RunLabelJob(owner, job, kPrintLabelsTitle);
}

void PrintReturnLabelsCommand(Shell& shell) {
  SetControlText(shell, ctl::kHintLine, "");
  shell.hints.shownHint = 0;
  ApplyStoredFontDefaults(shell);
  const EnvelopeInputs in = GatherEnvelopeInputs(shell);
  if (in.senderName.empty() && in.senderStreet.empty() && in.senderCityStateZip.empty()) {
    ShowMessage(shell, std::string(kReturnLabelsTitle), std::string(kNoReturnAddressText), MB_OK);
    return;
  }
  const std::string printer = ControlText(shell, ctl::kPrinterCombo);
  if (printer.empty()) {
    ShowMessage(shell, std::string(kNoPrinterTitle), std::string(kNoPrinterText), MB_OK);
    return;
  }
  SaveBookSettingsFromWindow(shell);
  LabelJob job;
  job.printer = printer;
  job.sheet = BookSheet(shell);
  job.font = LabelFontOf(in.fonts.sender);
  job.blocks.push_back(ComposeSenderText(in));
  job.copies = job.sheet.Count();  // one sheet, every label
  job.name = std::string(kReturnLabelsJobName);
  RunLabelJob(shell.mainWindow, job, kReturnLabelsTitle);
}

}  // namespace qr
