// vCard files (versions 2.1, 3.0 and 4.0): every card between BEGIN:VCARD and END:VCARD
// becomes one contact. The name is FN, else N's given and family names; the address is
// the ADR marked preferred (TYPE=pref, a bare PREF or PREF=1), else the first one.
#pragma once

#include <cstddef>
#include <string_view>

#include "addressbook/contact.h"

namespace qr {

// Whether the first line that is not blank (after a UTF-8 mark) is BEGIN:VCARD.
bool LooksLikeVCard(std::string_view bytes);

struct VCardReadResult {
  std::size_t incomplete = 0;  // cards without their END: cut off, or followed by a BEGIN
};

// Reads every card of `bytes` and hands each complete one to `sink`, nameless ones
// included. Text is UTF-8 in versions 3.0 and 4.0 and where a CHARSET says so;
// version 2.1 without a CHARSET is taken as the program's code page.
VCardReadResult ReadVCards(std::string_view bytes, const ContactSink& sink);

}  // namespace qr
