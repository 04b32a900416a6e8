// The logo box of the main window: the start-up load, the change-logo command and the
// image shown in LogoBox (control 0, an SS_BITMAP static).
// clang-format off
#include <windows.h>
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include "app/commands/commands_win.h"
#include "app/main_window_win.h"
#include "envelope/logo_image_win.h"
#include "printlib/image_store_win.h"
#include "wingui/dpi_win.h"
#include "wingui/file_dialog_win.h"

namespace qr {

namespace {

// Puts `logo` into the shell's logo state (freeing the previous image) and shows it.
void AdoptLogo(Shell& shell, const LoadedLogo& logo) {
  if (shell.logoImage != 0 && shell.logoImage != logo.image) Image_Free(shell.logoImage);
  shell.logoImage = logo.image;
  shell.logoAspect = logo.aspect;
  shell.logoInUse = logo.inUse && logo.image != 0;

  // The box is 100 pixels square at 96 dpi; the picture in it is made for its DPI.
  const int box = ScaleForDpi(kLogoWidth, WindowDpi(shell.mainWindow));
  ScopedBitmap shown(logo.image != 0 ? MakeLogoBoxBitmap(logo.image, box) : nullptr);
  if (HWND box = shell.mainWindow ? GetDlgItem(shell.mainWindow, ctl::kLogoBox) : nullptr) {
    SendMessageW(box, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown.get()));
    InvalidateRect(box, nullptr, TRUE);
  }
  // The box no longer shows the previous bitmap, so it may go now.
  shell.logoBoxBitmap = std::move(shown);
}

void ApplyLogoDecision(Shell& shell, const LogoDecision& decision) {
  shell.startup.book.logoFilename = decision.fileName;
  AdoptLogo(shell, LoadLogoForDecision(decision, PlaceholderPathFor(shell.startup.programFolder)));
}

// The "Sender Logo" open-file dialog. The chosen path, or "" when cancelled.
std::string AskForLogoFile(Shell& shell) {
  return AskOpenFileName(shell.mainWindow, kLogoDialogTitle, kLogoFilter, "",
                         OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
}

}  // namespace

void ShowLogo(Shell& shell) {
  const std::string placeholder = PlaceholderPathFor(shell.startup.programFolder);
  ApplyLogoDecision(shell, DecideStartupLogo(shell.startup.book.logoFilename, placeholder));
}

void ChangeLogoCommand(Shell& shell) {
  const std::string chosen = AskForLogoFile(shell);
  shell.startup.book.logoFilename = chosen;
  const LogoDecision decision =
      DecideChosenLogo(chosen, PlaceholderPathFor(shell.startup.programFolder));
  if (decision.showUnsupported) {
    ShowMessage(shell, std::string(kUnsupportedFileTitle), std::string(kUnsupportedFileText),
                MB_OK);
  }
  ApplyLogoDecision(shell, decision);
  SaveBookSettingsFromWindow(shell);
}

}  // namespace qr
