// The commands the event loop hands to the other subsystems. Each takes the shell and
// does its whole job, messages included.
#pragma once

#include "app/shell_win.h"

namespace qr {

// Address books.
void RecomputeNewEntryFlag(Shell& shell);
void SaveAddresseeCommand(Shell& shell);
void ClearAddresseeCommand(Shell& shell);
void DeleteRecordCommand(Shell& shell);
void LoadBookCommand(Shell& shell);
void NewBookCommand(Shell& shell);
void LookupAddresseeCommand(Shell& shell);
void ZipAutoFillCommand(Shell& shell);
// Envelopes.
void PrintCommand(Shell& shell);
void PrintPreviewCommand(Shell& shell);
void ChooseSenderFontCommand(Shell& shell);
void ChooseAddresseeFontCommand(Shell& shell);
void ChangeLogoCommand(Shell& shell);
// The About window.
void RunAboutWindow(Shell& shell);

}  // namespace qr
