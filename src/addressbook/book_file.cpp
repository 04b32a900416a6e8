#include "addressbook/book_file.h"

#include <array>

#include "base/code_page.h"

namespace qr {

std::vector<std::string_view> SplitBookLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  const std::size_t size = bytes.size();
  while (i < size) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n' && c != '\0') {
      ++i;
      continue;
    }
    lines.push_back(bytes.substr(start, i - start));
    ++i;
    if (c == '\r' && i < size && bytes[i] == '\n') ++i;
    start = i;
  }
  if (start < size) lines.push_back(bytes.substr(start));
  return lines;
}

AddressEntry ParseBookLine(std::string_view line) {
  AddressEntry entry;
  const std::array<std::string*, 8> fields = {&entry.name,   &entry.street, &entry.suite,
                                              &entry.city,   &entry.state,  &entry.zip,
                                              &entry.number, &entry.listed};
  for (std::string* field : fields) {
    const std::size_t sep = line.find('^');
    if (sep == std::string_view::npos) {
      field->assign(line);
      break;
    }
    field->assign(line.substr(0, sep));
    line.remove_prefix(sep + 1);
  }
  return entry;
}

std::vector<AddressEntry> ParseBookFile(std::string_view bytes) {
  const std::string text = DecodeTextFile(bytes);
  std::vector<AddressEntry> entries;
  for (std::string_view line : SplitBookLines(text)) entries.push_back(ParseBookLine(line));
  return entries;
}

std::size_t AppendBookLines(std::string& out, std::span<const AddressEntry> entries,
                            std::size_t number) {
  std::size_t size = out.size();
  for (const AddressEntry& e : entries) {
    size += e.name.size() + e.street.size() + e.suite.size() + e.city.size() + e.state.size() +
            e.zip.size() + e.listed.size() + 17;
  }
  out.reserve(size);
  for (const AddressEntry& e : entries) {
    if (e.name.empty()) continue;
    for (const std::string* field : {&e.name, &e.street, &e.suite, &e.city, &e.state, &e.zip}) {
      out += *field;
      out += '^';
    }
    out += std::to_string(number++);
    out += '^';
    out += e.listed;
    out += "\r\n";
  }
  return number;
}

std::string FormatBookFile(std::span<const AddressEntry> entries) {
  std::string text;
  AppendBookLines(text, entries, 0);
  return EncodeTextFile(text);
}

AddressEntry EntryFromForm(const AddresseeForm& form) {
  return AddressEntry{form.name,  form.street, form.suite, form.city,
                      form.state, form.zip,    "0",        "1"};
}

std::string WithBookExtension(std::string_view fileName) {
  std::string name(fileName);
  if (name.find(".adb") == std::string::npos) name += ".adb";
  return name;
}

std::string BookBaseName(std::string_view bookFileName) {
  return std::string(bookFileName.substr(0, bookFileName.find(".adb")));
}

std::string BackupFileName(std::string_view bookFileName) {
  return BookBaseName(bookFileName) + ".bak";
}

std::string CompanionFileName(std::string_view bookFileName) {
  return BookBaseName(bookFileName) + ".inf";
}

}  // namespace qr
