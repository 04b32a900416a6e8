// The address book file: one addressee per line, eight fields separated by "^",
// every line ending in CR LF, and the names of the files that live beside it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qr {

// One addressee as stored in a book file line, fields in file order.
struct AddressEntry {
  std::string name;
  std::string street;
  std::string suite;
  std::string city;
  std::string state;
  std::string zip;
  std::string number;  // record number, decimal; equals the line position in every written file
  std::string listed;  // "1" for entries the program created or updated

  bool operator==(const AddressEntry&) const = default;
};

// The six addressee fields of the main window's form.
struct AddresseeForm {
  std::string name;
  std::string street;
  std::string suite;
  std::string city;
  std::string state;
  std::string zip;

  bool operator==(const AddresseeForm&) const = default;
};

// Splits file bytes into lines. A line ends at CR, LF, CR LF or NUL; the terminator is
// not kept. A last line without a terminator counts; a terminator at the very end
// yields no extra empty line.
std::vector<std::string_view> SplitBookLines(std::string_view bytes);

// Splits one line into its eight fields, byte for byte: missing fields are empty,
// fields after the eighth are ignored.
AddressEntry ParseBookLine(std::string_view line);

// Every line of a book file as an entry, in file order, with the stored numbers. The
// file is UTF-8 when it begins with the UTF-8 mark and in the code page otherwise.
std::vector<AddressEntry> ParseBookFile(std::string_view bytes);

// The bytes of a book file holding `entries` in order. Entries with an empty name are
// left out; the others are numbered 0, 1, 2... by the line they land on. The file is in
// the code page when every character has a byte there, else UTF-8 after the mark.
std::string FormatBookFile(std::span<const AddressEntry> entries);

// Appends the lines of `entries` to the text `out` (UTF-8, before the file's encoding)
// as FormatBookFile does, numbering them from `firstNumber` on. Returns the number the
// next line would get.
std::size_t AppendBookLines(std::string& out, std::span<const AddressEntry> entries,
                            std::size_t firstNumber);

// The entry a save stores for the form: the six fields as typed, listed.
AddressEntry EntryFromForm(const AddresseeForm& form);

// File names. A book file name always contains ".adb" (matched with exact letter case).
// Appends ".adb" to a chosen name that does not contain it.
std::string WithBookExtension(std::string_view fileName);
// The part of the book file name before its first ".adb" ("my.adb.old.adb" -> "my").
std::string BookBaseName(std::string_view bookFileName);
// baseName + ".bak": the copy of the book file as it was before the last rewrite.
std::string BackupFileName(std::string_view bookFileName);
// baseName + ".inf": the book's own settings file.
std::string CompanionFileName(std::string_view bookFileName);

}  // namespace qr
