// Cut, Copy and Paste of a form: they act on the whole text of the one-line edit field
// of `form` that has the keyboard focus, and do nothing when no such field has it.
#pragma once

#include <windows.h>

namespace qr {

void CutFocusedField(HWND form);
void CopyFocusedField(HWND form);
void PasteIntoFocusedField(HWND form);

}  // namespace qr
