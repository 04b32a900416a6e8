// The six addressee fields of the main window as one form.
#pragma once

#include "addressbook/address_book.h"
#include "addressbook/book_file.h"
#include "app/shell_win.h"

namespace qr {

AddresseeForm AddresseeFormFromWindow(const Shell& shell);
void ShowAddresseeForm(const Shell& shell, const AddresseeForm& form);
void EmptyAddresseeForm(const Shell& shell);

// Carries out a save's result: on success the six fields are emptied, the Name field
// gets the focus and no record is current; otherwise the message is shown and the form
// keeps what the user typed.
void ApplySaveResult(Shell& shell, const SaveResult& result);

}  // namespace qr
