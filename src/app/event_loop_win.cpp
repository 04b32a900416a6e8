#include "app/event_loop_win.h"

#include "app/commands.h"
#include "app/commands/commands_win.h"
#include "app/main_window_win.h"
#include "app/startup_marks_win.h"
#include "wingui/clipboard_win.h"
#include "wingui/modal_win.h"

namespace qr {

namespace {

UiEvent::Action ActionFromNotification(int code) {
  switch (code) {
    case BN_CLICKED:
      return UiEvent::Action::kLeftClick;  // also STN_CLICKED
    case EN_CHANGE:
      return UiEvent::Action::kTextChange;
    case EN_SETFOCUS:  // also BN_SETFOCUS (6) is handled below
      return UiEvent::Action::kFocusReceived;
    case EN_KILLFOCUS:
      return UiEvent::Action::kFocusLost;
    default:
      return UiEvent::Action::kNone;
  }
}

void ShowHint(Shell& shell) {
  SetControlText(shell, ctl::kHintLine, std::string(HintText(shell.hints.shownHint)));
}

void ToggleZipLookup(Shell& shell) {
  CheckMenuItem(GetMenu(shell.mainWindow), kCmdDisableZipLookup,
                MF_BYCOMMAND | (shell.hints.zipLookupDisabled ? MF_CHECKED : MF_UNCHECKED));
}

void ToggleBlueHints(Shell& shell) {
  shell.blueHintsShown = !shell.blueHintsShown;
  for (int id = ctl::kBlueHintName; id <= ctl::kBlueHintCityStateZip; ++id)
    ShowWindow(GetDlgItem(shell.mainWindow, id), shell.blueHintsShown ? SW_SHOW : SW_HIDE);
}

void Carry(Shell& shell, ShellAction action, const UiEvent& event) {
  switch (action) {
    case ShellAction::kRecomputeNewEntryFlag:
      RecomputeNewEntryFlag(shell);
      break;
    case ShellAction::kSaveBookSettings:
      SaveBookSettingsFromWindow(shell);
      break;
    case ShellAction::kShowHint:
      ShowHint(shell);
      break;
    case ShellAction::kClearHint:
      SetControlText(shell, ctl::kHintLine, "");
      break;
    case ShellAction::kChooseSenderFont:
      ChooseSenderFontCommand(shell);
      break;
    case ShellAction::kChooseAddresseeFont:
      ChooseAddresseeFontCommand(shell);
      break;
    case ShellAction::kToggleZipLookup:
      ToggleZipLookup(shell);
      break;
    case ShellAction::kZipAutoFill:
      ZipAutoFillCommand(shell);
      break;
    case ShellAction::kSaveAddressee:
      SaveAddresseeCommand(shell);
      break;
    case ShellAction::kClearAddressee:
      ClearAddresseeCommand(shell);
      break;
    case ShellAction::kPrint:
      PrintCommand(shell);
      break;
    case ShellAction::kLookupAddressee:
      LookupAddresseeCommand(shell);
      break;
    case ShellAction::kChangeLogo:
      ChangeLogoCommand(shell);
      SaveBookSettingsFromWindow(shell);
      break;
    case ShellAction::kDeleteRecord:
      DeleteRecordCommand(shell);
      break;
    case ShellAction::kLoadBook:
      LoadBookCommand(shell);
      break;
    case ShellAction::kNewBook:
      NewBookCommand(shell);
      break;
    case ShellAction::kImportContacts:
      ImportContactsCommand(shell);
      break;
    case ShellAction::kExportContacts:
      ExportContactsCommand(shell);
      break;
    case ShellAction::kPrintPreview:
      PrintPreviewCommand(shell);
      break;
    case ShellAction::kTogglePlacement:
      TogglePlacementCommand(shell);
      break;
    case ShellAction::kChooseEnvelopeSize:
      ChooseEnvelopeSizeCommand(shell, event.number - kCmdEnvelopeSizeFirst);
      break;
    case ShellAction::kPrintAlignment:
      PrintAlignmentCommand(shell);
      break;
    case ShellAction::kChooseLabelSheet:
      ChooseLabelSheetCommand(shell, event.number - kCmdLabelSheetFirst);
      break;
    case ShellAction::kPrintReturnLabels:
      PrintReturnLabelsCommand(shell);
      break;
    case ShellAction::kCut:
      CutFocusedField(shell.mainWindow);
      break;
    case ShellAction::kCopy:
      CopyFocusedField(shell.mainWindow);
      break;
    case ShellAction::kPaste:
      PasteIntoFocusedField(shell.mainWindow);
      break;
    case ShellAction::kCheckForUpdates:
      CheckForUpdatesCommand(shell);
      break;
    case ShellAction::kAbout:
      RunAboutWindow(shell);
      break;
    case ShellAction::kToggleBlueHints:
      ToggleBlueHints(shell);
      break;
    case ShellAction::kQuit:
      shell.quit = true;
      break;
  }
}

// Whether a message belongs to the main window or one of its controls.
bool IsForMainWindow(const Shell& shell, HWND hwnd) {
  return hwnd && shell.mainWindow && (hwnd == shell.mainWindow || IsChild(shell.mainWindow, hwnd));
}

}  // namespace

UiEvent EventFromCommand(const Shell& shell, WPARAM wp, LPARAM lp) {
  const int number = LOWORD(wp);
  const int code = HIWORD(wp);
  HWND from = reinterpret_cast<HWND>(lp);
  // Menu items (code 0), accelerators (code 1) and toolbar buttons are commands.
  if (!from || from == shell.toolbar) return UiEvent::Command(number);
  UiEvent::Action action = ActionFromNotification(code);
  if (code == BN_SETFOCUS) action = UiEvent::Action::kFocusReceived;
  if (code == BN_KILLFOCUS) action = UiEvent::Action::kFocusLost;
  if (code == CBN_SETFOCUS && number == ctl::kPrinterCombo)
    action = UiEvent::Action::kFocusReceived;
  if (code == CBN_KILLFOCUS && number == ctl::kPrinterCombo) action = UiEvent::Action::kFocusLost;
  // The logo box is a static control: its double click arrives as STN_DBLCLK.
  if (code == STN_DBLCLK && number == ctl::kLogoBox) action = UiEvent::Action::kDoubleClick;
  return UiEvent::Control(number, action);
}

void HandleEvent(Shell& shell, const UiEvent& event) {
  // While a window with its own loop is open the main window does nothing.
  if (ModalWindowOpen()) return;
  for (ShellAction a : DecideActions(event, shell.hints, GetTickCount())) {
    Carry(shell, a, event);
    if (!shell.mainWindow) break;  // a book change closed the window mid-way
  }
}

void RunEventLoop(Shell& shell) {
  MSG msg;
  while (!shell.quit) {
    // The timing build notes when start-up's messages (the first paint) are all handled.
    if (StartupMarksPending() && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      StartupMark("idle");
      WriteStartupMarks();
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;  // WM_QUIT or an error: nothing more will arrive
    // Every event of the main window counts for the hint's lifetime.
    if (!ModalWindowOpen() && IsForMainWindow(shell, msg.hwnd))
      HandleEvent(shell, UiEvent::Other());
    if (shell.accelerators &&
        TranslateAcceleratorW(shell.mainWindow, shell.accelerators.get(), &msg))
      continue;
    if (IsDialogMessageW(shell.mainWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace qr
