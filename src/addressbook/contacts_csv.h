// Contacts as CSV (RFC 4180: quoted fields, doubled quotes, line breaks inside quotes,
// CR LF or LF): reading the exports of other programs, whose first line names the
// columns, and writing the book in the plain shape "Name,Street,Suite,City,State,Zip".
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/book_file.h"
#include "addressbook/contact.h"

namespace qr {

struct CsvReadResult {
  bool columnsKnown = false;  // the header names a name column and an address column
  // When they are not known: the header's first names (at most a dozen, each cut to 40
  // characters), for the message.
  std::vector<std::string> columnsFound;
  std::size_t incomplete = 0;  // a last record cut off inside a quoted field
};

// Reads the header and then every record, handing each to `sink` (nameless ones
// included; blank lines are skipped). Columns are found by their header names, without
// regard to letter case and surrounding blanks:
//  - the name: "Name", else "First Name" and "Last Name" joined;
//  - the address: "Street" / "Address 1 - Street" / "Home Street", "Suite" /
//    "Address 1 - Extended Address" / "Home Street 2" (else "Address 1 - PO Box"),
//    "City" / "Address 1 - City" / "Home City", "State" / "Address 1 - Region" /
//    "Home State", "Zip" / "Address 1 - Postal Code" / "Home Postal Code"; where all of
//    those are empty, the "Business ..." columns of the same names.
// Text after a UTF-8 mark is UTF-8; without it, the program's code page. One quote mark
// before "=", "+", "-", "@", a tab or a CR (after any more quote marks) is taken off:
// ContactsCsv put it there.
CsvReadResult ReadCsvContacts(std::string_view bytes, const ContactSink& sink);

// The book as CSV: a UTF-8 mark, the header "Name,Street,Suite,City,State,Zip", one
// record per entry that has a name, fields quoted where they hold a comma, a quote or a
// line break, every line ending in CR LF. A field that starts with "=", "+", "-", "@", a
// tab or a CR (after any quote marks) gets a quote mark before it, so that a spreadsheet
// opening the file runs no formula of it.
std::string ContactsCsv(std::span<const AddressEntry> entries);

}  // namespace qr
