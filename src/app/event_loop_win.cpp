#include "app/event_loop_win.h"

#include "app/commands.h"
#include "app/commands/commands_win.h"
#include "app/main_window_win.h"
#include "wingui/clipboard_win.h"
#include "wingui/modal_win.h"

namespace qr {

namespace {

UiEvent::Action ActionFromNotification(int code) {
  switch (code) {
    case BN_CLICKED:
      return UiEvent::Action::LeftClick;  // also STN_CLICKED
    case EN_CHANGE:
      return UiEvent::Action::TextChange;
    case EN_SETFOCUS:  // also BN_SETFOCUS (6) is handled below
      return UiEvent::Action::FocusReceived;
    case EN_KILLFOCUS:
      return UiEvent::Action::FocusLost;
    default:
      return UiEvent::Action::None;
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

void Carry(Shell& shell, ShellAction action) {
  switch (action) {
    case ShellAction::RecomputeNewEntryFlag:
      RecomputeNewEntryFlag(shell);
      break;
    case ShellAction::SaveBookSettings:
      SaveBookSettingsFromWindow(shell);
      break;
    case ShellAction::ShowHint:
      ShowHint(shell);
      break;
    case ShellAction::ClearHint:
      SetControlText(shell, ctl::kHintLine, "");
      break;
    case ShellAction::ChooseSenderFont:
      ChooseSenderFontCommand(shell);
      break;
    case ShellAction::ChooseAddresseeFont:
      ChooseAddresseeFontCommand(shell);
      break;
    case ShellAction::ToggleZipLookup:
      ToggleZipLookup(shell);
      break;
    case ShellAction::ZipAutoFill:
      ZipAutoFillCommand(shell);
      break;
    case ShellAction::SaveAddressee:
      SaveAddresseeCommand(shell);
      break;
    case ShellAction::ClearAddressee:
      ClearAddresseeCommand(shell);
      break;
    case ShellAction::Print:
      PrintCommand(shell);
      break;
    case ShellAction::LookupAddressee:
      LookupAddresseeCommand(shell);
      break;
    case ShellAction::ChangeLogo:
      ChangeLogoCommand(shell);
      SaveBookSettingsFromWindow(shell);
      break;
    case ShellAction::DeleteRecord:
      DeleteRecordCommand(shell);
      break;
    case ShellAction::LoadBook:
      LoadBookCommand(shell);
      break;
    case ShellAction::NewBook:
      NewBookCommand(shell);
      break;
    case ShellAction::PrintPreview:
      PrintPreviewCommand(shell);
      break;
    case ShellAction::Cut:
      CutFocusedField(shell.mainWindow);
      break;
    case ShellAction::Copy:
      CopyFocusedField(shell.mainWindow);
      break;
    case ShellAction::Paste:
      PasteIntoFocusedField(shell.mainWindow);
      break;
    case ShellAction::CheckForUpdates:
      CheckForUpdatesCommand(shell);
      break;
    case ShellAction::About:
      RunAboutWindow(shell);
      break;
    case ShellAction::ToggleBlueHints:
      ToggleBlueHints(shell);
      break;
    case ShellAction::Quit:
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
  if (code == BN_SETFOCUS) action = UiEvent::Action::FocusReceived;
  if (code == BN_KILLFOCUS) action = UiEvent::Action::FocusLost;
  if (code == CBN_SETFOCUS && number == ctl::kPrinterCombo) action = UiEvent::Action::FocusReceived;
  if (code == CBN_KILLFOCUS && number == ctl::kPrinterCombo) action = UiEvent::Action::FocusLost;
  // The logo box is a static control: its double click arrives as STN_DBLCLK.
  if (code == STN_DBLCLK && number == ctl::kLogoBox) action = UiEvent::Action::DoubleClick;
  return UiEvent::Control(number, action);
}

void HandleEvent(Shell& shell, const UiEvent& event) {
  // While a window with its own loop is open the main window does nothing.
  if (ModalWindowOpen()) return;
  for (ShellAction a : DecideActions(event, shell.hints, GetTickCount())) {
    Carry(shell, a);
    if (!shell.mainWindow) break;  // a book change closed the window mid-way
  }
}

void RunEventLoop(Shell& shell) {
  MSG msg;
  while (!shell.quit) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) break;  // WM_QUIT or an error: nothing more will arrive
    // Every event of the main window counts for the hint's lifetime.
    if (!ModalWindowOpen() && IsForMainWindow(shell, msg.hwnd))
      HandleEvent(shell, UiEvent::Other());
    if (shell.accelerators &&
        TranslateAcceleratorA(shell.mainWindow, shell.accelerators.get(), &msg))
      continue;
    if (IsDialogMessageA(shell.mainWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace qr
