// File > Import Contacts and File > Export Contacts: the file dialogs and the messages.
// Reading, merging and writing are the platform-free core's (addressbook/contacts_*).
// clang-format off
#include <windows.h>
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include <string>

#include "addressbook/contacts_import.h"
#include "app/commands/commands_win.h"
#include "wingui/file_dialog_win.h"

namespace qr {

void ImportContactsCommand(Shell& shell) {
  // No start folder: the dialog opens where the user last took a file from.
  const std::string path = AskOpenFileName(shell.mainWindow, kImportTitle, kImportFilter, "",
                                           OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  if (path.empty()) return;
  const ImportResult r = ImportContacts(SystemFileSystem(), shell.book, path);
  if (r.outcome == ImportOutcome::kInUse) {
    ShowMessage(shell, std::string(kNotSavedTitle), r.text, MB_OK | MB_ICONERROR);
    return;
  }
  // The record the form showed is gone from the book: the form is emptied, as after a
  // delete, so that F4 and F8 do not act on what is no longer there.
  if (r.clearForm) ClearAddresseeCommand(shell);
  UINT icon = MB_ICONINFORMATION;
  if (r.outcome == ImportOutcome::kRefused) icon = MB_ICONWARNING;
  if (r.outcome == ImportOutcome::kNotSaved) icon = MB_ICONERROR;
  ShowMessage(shell, std::string(kImportTitle), r.text, MB_OK | icon);
}

void ExportContactsCommand(Shell& shell) {
  const std::string path = AskSaveFileName(shell.mainWindow, kExportTitle, kExportFilter, "",
                                           BookBaseName(shell.book.fileName) + ".csv", "csv");
  if (path.empty()) return;
  const ExportResult r = ExportContacts(SystemFileSystem(), shell.book, path);
  ShowMessage(shell, std::string(kExportTitle), r.text,
              MB_OK | (r.ok ? MB_ICONINFORMATION : MB_ICONERROR));
}

}  // namespace qr
