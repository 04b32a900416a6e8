// Cut, Copy and Paste act on the whole text of the one-line field that has the focus.
#pragma once

#include "app/shell_win.h"

namespace qr {

void CutFocusedField(Shell& shell);
void CopyFocusedField(Shell& shell);
void PasteIntoFocusedField(Shell& shell);

}  // namespace qr
