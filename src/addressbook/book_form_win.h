// The six addressee fields of the main window as one form.
#pragma once

#include "addressbook/book_file.h"
#include "app/shell_win.h"

namespace qr {

AddresseeForm AddresseeFormFromWindow(const Shell& shell);
void ShowAddresseeForm(const Shell& shell, const AddresseeForm& form);
void EmptyAddresseeForm(const Shell& shell);

// Shows the current logo in the logo box (envelope subsystem).
void ShowLogo(Shell& shell);

}  // namespace qr
