// The address-book commands of the main window: save, clear, delete, load and new, and
// the ZIP auto-fill. The rules live in the platform-free store; this file reads and
// fills the form, runs the file dialog and shows the messages.
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "addressbook/book_form_win.h"
#include "addressbook/book_location.h"
#include "app/file_dialog_win.h"
#include "app/main_window_win.h"
#include "app/settings.h"
#include "app/shell_commands_win.h"

namespace qr {

namespace {

void AfterStoreSucceeded(Shell& shell) {
  EmptyAddresseeForm(shell);
  SetFocus(GetDlgItem(shell.mainWindow, ctl::kAddresseeName));
  shell.book.currentRecord = -1;
  shell.book.newEntryFlag = false;
}

// The open-file dialog of Load and New. Returns the chosen path, or "" when cancelled.
// A name that does not exist yet is accepted, in a folder that does.
std::string AskForBookFile(Shell& shell, const std::string& startFolder) {
  return AskOpenFileName(shell, kBookDialogTitle, kBookDialogFilter, startFolder,
                         OFN_PATHMUSTEXIST);
}

// Makes `location` the open book in the shell's names.
void AdoptBook(Shell& shell, const BookLocation& location) {
  StartupState& s = shell.startup;
  s.book.bookFolder = location.directory;
  s.bookFileName = location.fileName;
  s.bookName = BookBaseName(location.fileName);
  s.companionName = CompanionFileName(location.fileName);
}

// Rebuilds the main window for the open book and fills it from its settings.
void ReopenWindow(Shell& shell) {
  BuildMainWindow(shell, MainWindowTitle(shell.startup), shell.startup.book.windowX,
                  shell.startup.book.windowY);
  FillMainWindow(shell);
  ShowLogo(shell);
}

// Load steps 6 to 10: remember the book in "qr.inf", read or create its settings,
// rebuild the window and read the book.
void OpenChosenBook(Shell& shell, const BookLocation& location) {
  FileSystem& fs = SystemFileSystem();
  const StartupState& s = shell.startup;
  const std::string appSettings = s.dataFolder + "qr.inf";
  AdoptBook(shell, location);
  if (fs.FileExistsInFolder(s.dataFolder, "qr.inf")) {
    fs.Copy(appSettings, s.dataFolder + "qr.bak");
    if (shell.prefs->Open(appSettings)) {
      shell.prefs->SelectGroup(kAppGroup);
      shell.prefs->WriteText(kVersionKey, kProgramVersion);
      shell.prefs->WriteText(kCurrentAddressbookKey, s.bookName);
      shell.prefs->WriteText(kCurrentAddressbookDirectoryKey, location.directory);
      shell.prefs->Close();
    }
  }
  const std::string companion = location.directory + s.companionName;
  if (fs.FileExistsInFolder(location.directory, s.companionName)) {
    LoadBookSettings(*shell.prefs, companion, s.bookFileName, shell.startup.book);
    // A book moved (or copied) away from a folder that is gone still names that folder
    // in its settings: it is opened where the dialog found it, not as an empty book in
    // a place every save would fail to write.
    std::string& folder = shell.startup.book.bookFolder;
    if (folder.empty() || !fs.FolderExists(folder)) folder = location.directory;
  } else {
    WriteDefaultBookSettings(*shell.prefs, companion, s.bookFileName, shell.startup.book, false);
  }
  ReopenWindow(shell);
  shell.book.entries.clear();
  const StoreResult read =
      OpenAddressbook(fs, shell.book, {shell.startup.book.bookFolder, s.bookFileName});
  if (!read.ok)
    ShowMessage(shell, std::string(kNotSavedTitle), read.reason, MB_OK | MB_ICONWARNING);
}

}  // namespace

void RecomputeNewEntryFlag(Shell& shell) {
  NameChanged(shell.book, AddresseeFormFromWindow(shell));
}

void ApplySaveResult(Shell& shell, const SaveResult& r) {
  switch (r.outcome) {
    case SaveOutcome::Saved:
      AfterStoreSucceeded(shell);
      if (!r.text.empty()) ShowMessage(shell, r.title, r.text, MB_OK | MB_ICONWARNING);
      break;
    case SaveOutcome::InvalidName:
      ShowMessage(shell, r.title, r.text, MB_OK);
      break;
    case SaveOutcome::InvalidCharacter:
    case SaveOutcome::SaveFailed:
      ShowMessage(shell, r.title, r.text, MB_OK | MB_ICONERROR);
      break;
    case SaveOutcome::NothingToSave:
      break;
  }
}

void SaveAddresseeCommand(Shell& shell) {
  ApplySaveResult(shell,
                  SaveAddressee(SystemFileSystem(), shell.book, AddresseeFormFromWindow(shell)));
}

void ClearAddresseeCommand(Shell& shell) {
  ClearAddressee(shell.book);
  AfterStoreSucceeded(shell);
}

void DeleteRecordCommand(Shell& shell) {
  const DeleteResult r = DeleteCurrentRecord(SystemFileSystem(), shell.book);
  switch (r.outcome) {
    case DeleteOutcome::Deleted:
      AfterStoreSucceeded(shell);
      break;
    case DeleteOutcome::NoCurrentRecord:
      break;
    case DeleteOutcome::DeleteFailed:
      ShowMessage(shell, r.title, r.text, MB_OK | MB_ICONERROR);
      break;
  }
}

void LoadBookCommand(Shell& shell) {
  SaveBookSettingsFromWindow(shell);
  CloseMainWindow(shell);
  const BookLocation current{shell.startup.book.bookFolder, shell.startup.bookFileName};
  const BookChoice choice = ChooseBook(AskForBookFile(shell, current.directory), current);
  OpenChosenBook(shell, choice.location);
}

void NewBookCommand(Shell& shell) {
  // The new book starts with the layout and window position of the current one.
  SaveBookSettingsFromWindow(shell);
  CloseMainWindow(shell);
  const BookLocation current{shell.startup.book.bookFolder, shell.startup.bookFileName};
  const BookChoice choice = ChooseBook(AskForBookFile(shell, current.directory), current);
  if (choice.cancelled) {
    OpenChosenBook(shell, current);
    return;
  }
  FileSystem& fs = SystemFileSystem();
  StartupState& s = shell.startup;
  AdoptBook(shell, choice.location);
  if (fs.FileExistsInFolder(s.dataFolder, "qr.inf") && shell.prefs->Open(s.dataFolder + "qr.inf")) {
    shell.prefs->SelectGroup(kAppGroup);
    shell.prefs->WriteText(kCurrentAddressbookKey, s.bookName);
    shell.prefs->WriteText(kCurrentAddressbookDirectoryKey, choice.location.directory);
    shell.prefs->Close();
  }
  WriteDefaultBookSettings(*shell.prefs, choice.location.directory + s.companionName,
                           s.bookFileName, s.book, true);
  ReopenWindow(shell);
  const StoreResult made = CreateAddressbook(fs, shell.book, choice.location);
  if (!made.ok) {
    // The new book could not be written, so the open book is still the previous one:
    // reopen it, so that the window and the settings name the book saves go into.
    ShowMessage(shell, std::string(kNotSavedTitle), made.reason, MB_OK | MB_ICONERROR);
    CloseMainWindow(shell);
    OpenChosenBook(shell, current);
    return;
  }
  FillMainWindow(shell);
}

void ZipAutoFillCommand(Shell& shell) {
  const auto place = ZipAutoFill(
      shell.zip, shell.hints.zipLookupDisabled, ControlText(shell, ctl::kAddresseeZip),
      ControlText(shell, ctl::kAddresseeCity), ControlText(shell, ctl::kAddresseeState));
  if (!place) return;
  SetControlText(shell, ctl::kAddresseeCity, place->city);
  SetControlText(shell, ctl::kAddresseeState, place->state);
}

}  // namespace qr
