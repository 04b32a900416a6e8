// What each command does with the main window. The event loop calls these; each takes
// the shell and does its whole job, messages included.
#pragma once

#include <vector>

#include "addressbook/book_file.h"
#include "app/shell_win.h"

namespace qr {

// Address books (book_commands_win.cpp).
void RecomputeNewEntryFlag(Shell& shell);
void SaveAddresseeCommand(Shell& shell);
void ClearAddresseeCommand(Shell& shell);
void DeleteRecordCommand(Shell& shell);
void LoadBookCommand(Shell& shell);
void NewBookCommand(Shell& shell);
void LookupAddresseeCommand(Shell& shell);
void ZipAutoFillCommand(Shell& shell);
// Contacts from and to other programs' files (contacts_commands_win.cpp).
void ImportContactsCommand(Shell& shell);
void ExportContactsCommand(Shell& shell);
// Envelopes (print_commands_win.cpp, font_commands_win.cpp, logo_commands_win.cpp).
void PrintCommand(Shell& shell);
void PrintPreviewCommand(Shell& shell);
// Prints one envelope per entry (times the copies count) as one job, with a progress
// window owned by `owner`; the book is not changed.
void PrintEntriesCommand(Shell& shell, HWND owner, const std::vector<AddressEntry>& entries);
void ChooseSenderFontCommand(Shell& shell);
void ChooseAddresseeFontCommand(Shell& shell);
void ChangeLogoCommand(Shell& shell);
// Shows the book's logo (or the placeholder) in the logo box.
void ShowLogo(Shell& shell);
// Options > Place at True Size and Options > Envelope Size (sizeIndex in the order of
// EnvelopeSizes()), each stored in the book's settings at once; File > Print Alignment
// Envelope (envelope_setup_commands_win.cpp).
void TogglePlacementCommand(Shell& shell);
void ChooseEnvelopeSizeCommand(Shell& shell, int sizeIndex);
void PrintAlignmentCommand(Shell& shell);
// Labels (label_commands_win.cpp): Options > Label Sheet (sheetIndex in the order of
// LabelSheets()), stored in the book's settings at once; the entries as address labels,
// from the label the user chooses in a dialog owned by `owner`, as one job with a progress
// window; File > Print Return Labels, a sheet of the sender block. The book is not changed.
void ChooseLabelSheetCommand(Shell& shell, int sheetIndex);
void PrintLabelsCommand(Shell& shell, HWND owner, const std::vector<AddressEntry>& entries);
void PrintReturnLabelsCommand(Shell& shell);
// Puts the radio mark on the book's sheet in Options > Label Sheet.
void ShowLabelSheetChoice(const Shell& shell);
// The update check (update_commands_win.cpp): from Help > Check for Updates, over the
// main window, and from the start-up question, centred on the screen. When an
// installer has been started the program ends there and the call does not return.
void CheckForUpdatesCommand(Shell& shell);
void CheckForUpdatesAtStartup(Shell& shell, const std::string& version);

// The About window (about_win.cpp).
void RunAboutWindow(Shell& shell);

}  // namespace qr
