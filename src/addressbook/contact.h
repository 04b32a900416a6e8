// One contact read from another program's export (a vCard or a CSV file): the six
// fields an address book entry takes, as UTF-8 text, and the text helpers both readers
// share.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "addressbook/book_file.h"

namespace qr {

struct Contact {
  AddresseeForm fields;  // as the file gives them; the import cleans and trims

  bool operator==(const Contact&) const = default;
};

// Receives each contact as soon as it is read, so that a file of many contacts is
// never held as a list of them.
using ContactSink = std::function<void(Contact&&)>;

// How the bytes of a text are to be read.
enum class TextEncoding {
  kCodePage,     // the system's code page
  kUtf8,         // UTF-8, kept exactly (a malformed sequence reads as U+FFFD)
  kWindows1252,  // a declared Western charset
};

// `text` as UTF-8, every character kept.
std::string DecodeContactText(std::string_view text, TextEncoding encoding);

// `text` without the blanks and tabs at either end.
std::string_view TrimField(std::string_view text);

// The name of a person given in parts: the trimmed parts that are not empty, joined by
// one blank ("Ann" and "Lee" give "Ann Lee").
std::string JoinNameParts(std::string_view first, std::string_view last);

// Whether `text` starts with `prefix` without regard to letter case (ASCII).
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace qr
