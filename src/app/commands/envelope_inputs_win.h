// What the print and preview commands read from the main window and the book settings.
#pragma once

#include "addressbook/book_file.h"
#include "envelope/envelope_layout.h"

namespace qr {

struct Shell;

// The fonts stored in the book settings.
EnvelopeFonts StoredEnvelopeFonts(const Shell& shell);
// Fills empty font faces and sizes in the book settings (in memory) the way printing
// and the preview do; true when a value was filled in.
bool ApplyStoredFontDefaults(Shell& shell);

// The sender lines, the addressee fields, the four position fields' texts, the stored
// fonts and the logo state, as they are now.
EnvelopeInputs GatherEnvelopeInputs(const Shell& shell);

// `common` with the addressee fields of `entry`: one envelope or label of a batch.
EnvelopeInputs WithAddressee(EnvelopeInputs common, const AddressEntry& entry);

}  // namespace qr
