// The address-book commands of the main window: save, clear, delete, load and new, the
// lookup and the ZIP auto-fill. The rules live in the platform-free store; this file
// reads and fills the form, runs the dialogs and shows the messages.
// clang-format off
#include <windows.h>
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include <optional>
#include <string>

#include "addressbook/book_location.h"
#include "addressbook/lookup_window_win.h"
#include "app/commands/addressee_form_win.h"
#include "app/commands/commands_win.h"
#include "app/main_window_win.h"
#include "app/settings.h"
#include "wingui/file_dialog_win.h"

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
  return AskOpenFileName(shell.mainWindow, kBookDialogTitle, kBookDialogFilter, startFolder,
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
  FinishMainWindow(shell);
  FillMainWindow(shell);
  ShowLogo(shell);
}

// Opens `location` as the chosen book: remembers it in "qr.inf", reads (or creates) its
// settings, rebuilds the window and reads the book.
void OpenChosenBook(Shell& shell, const BookLocation& location) {
  FileSystem& fs = SystemFileSystem();
  const StartupState& s = shell.startup;
  AdoptBook(shell, location);
  RememberCurrentBook(fs, *shell.prefs, s.dataFolder, s.bookName, location.directory,
                      BookChange::kLoad);
  const std::string companion = location.directory + s.companionName;
  if (fs.FileExistsInFolder(location.directory, s.companionName)) {
    LoadBookSettings(*shell.prefs, companion, s.bookFileName, shell.startup.book);
    std::string& folder = shell.startup.book.bookFolder;
    folder = BookFolderAfterLoad(fs, folder, location.directory);
  } else {
    WriteDefaultBookSettings(*shell.prefs, companion, s.bookFileName, shell.startup.book, false);
  }
  ReopenWindow(shell);
  shell.book.entries.clear();
  const StoreResult read =
      OpenAddressbook(fs, shell.book, {shell.startup.book.bookFolder, s.bookFileName});
  if (!read.ok)
    ShowMessage(shell, std::string(StoreFailureTitle(read)), read.reason, MB_OK | MB_ICONWARNING);
}

}  // namespace

void RecomputeNewEntryFlag(Shell& shell) {
  NameChanged(shell.book, AddresseeFormFromWindow(shell));
}

void ApplySaveResult(Shell& shell, const SaveResult& r) {
  switch (r.outcome) {
    case SaveOutcome::kSaved:
      AfterStoreSucceeded(shell);
      if (!r.text.empty()) ShowMessage(shell, r.title, r.text, MB_OK | MB_ICONWARNING);
      break;
    case SaveOutcome::kInvalidName:
      ShowMessage(shell, r.title, r.text, MB_OK);
      break;
    case SaveOutcome::kInvalidCharacter:
    case SaveOutcome::kSaveFailed:
      ShowMessage(shell, r.title, r.text, MB_OK | MB_ICONERROR);
      break;
    case SaveOutcome::kNothingToSave:
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
    case DeleteOutcome::kDeleted:
      AfterStoreSucceeded(shell);
      if (!r.text.empty()) ShowMessage(shell, r.title, r.text, MB_OK | MB_ICONWARNING);
      break;
    case DeleteOutcome::kNoCurrentRecord:
      break;
    case DeleteOutcome::kDeleteFailed:
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
  RememberCurrentBook(fs, *shell.prefs, s.dataFolder, s.bookName, choice.location.directory,
                      BookChange::kNew);
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

// Runs the lookup window to its end: Cancel leaves no record current, a choice fills
// the addressee form with the chosen entry and makes it the current record.
void LookupAddresseeCommand(Shell& shell) {
  SetControlText(shell, ctl::kHintLine, "");
  // The file is the master copy: list what it holds now, in file order. Should it not
  // be readable, the entries already in memory are listed.
  RereadAddressbook(SystemFileSystem(), shell.book);
  const PrintSelectedFn printSelected = [&shell](HWND lookup, const std::vector<int>& positions) {
    std::vector<AddressEntry> picked;
    for (int position : positions) picked.push_back(shell.book.entries[position]);
    PrintEntriesCommand(shell, lookup, picked);
  };
  const PrintSelectedFn printLabels = [&shell](HWND lookup, const std::vector<int>& positions) {
    std::vector<AddressEntry> picked;
    for (int position : positions) picked.push_back(shell.book.entries[position]);
    PrintLabelsCommand(shell, lookup, picked);
  };
  const std::optional<int> chosen =
      RunLookupWindow(shell.mainWindow, shell.book.entries, ControlText(shell, ctl::kAddresseeName),
                      printSelected, printLabels);
  if (!chosen) {
    shell.book.currentRecord = -1;
    return;
  }
  const std::optional<AddresseeForm> form = SelectRecord(shell.book, *chosen);
  if (!form) return;
  ShowAddresseeForm(shell, *form);
  // Filling the Name field counts as a change of it: an entry with nothing but a name
  // is saved as a new addressee.
  NameChanged(shell.book, *form);
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
