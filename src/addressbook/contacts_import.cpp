#include "addressbook/contacts_import.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "addressbook/contacts_csv.h"
#include "addressbook/contacts_vcard.h"
#include "base/code_page.h"

namespace qr {

namespace {

void Clean(std::string& field) {
  for (char& c : field) {
    if (c == '^' || c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  const std::size_t end = field.find_last_not_of(" \t");
  field.erase(end == std::string::npos ? 0 : end + 1);
  field.erase(0, field.find_first_not_of(" \t"));
}

// Name and street folded to one letter case, without surrounding blanks.
std::string DuplicateKey(std::string_view name, std::string_view street) {
  std::string key;
  name = TrimField(name);
  street = TrimField(street);
  key.reserve(name.size() + street.size() + 1);
  key = UpperCaseText(name);
  key += '\0';  // a cleaned field holds no NUL
  key += UpperCaseText(street);
  return key;
}

std::string Count(std::size_t n, std::string_view thing) {
  return std::to_string(n) + " " + std::string(thing) + (n == 1 ? "" : "s");
}

ImportResult Refused(std::string text) { return {ImportOutcome::kRefused, std::move(text), {}}; }

std::string UnknownColumnsText(const std::string& path, const std::vector<std::string>& found) {
  std::string text = path + " has no columns for a name and an address. Its columns are ";
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (i > 0) text += ", ";
    text += "\"" + found[i] + "\"";
  }
  return text + ".";
}

}  // namespace

ContactMerger::ContactMerger(std::span<const AddressEntry> existing) {
  for (const AddressEntry& e : existing) keys_.insert(DuplicateKey(e.name, e.street));
}

void ContactMerger::Add(Contact contact) {
  AddresseeForm& f = contact.fields;
  for (std::string* field : {&f.name, &f.street, &f.suite, &f.city, &f.state, &f.zip}) {
    Clean(*field);
  }
  if (f.name.empty()) {
    ++report_.withoutName;
    return;
  }
  if (!keys_.insert(DuplicateKey(f.name, f.street)).second) {
    ++report_.duplicates;
    return;
  }
  ++report_.imported;
  added_.push_back(AddressEntry{std::move(f.name), std::move(f.street), std::move(f.suite),
                                std::move(f.city), std::move(f.state), std::move(f.zip), "0", "1"});
}

std::string ImportReportText(const ImportReport& r, std::string_view bookFileName) {
  std::string text =
      "Imported " + Count(r.imported, "contact") + " into " + std::string(bookFileName) + ".";
  std::vector<std::string> why;
  if (r.withoutName > 0) why.push_back(std::to_string(r.withoutName) + " without a name");
  if (r.duplicates > 0) why.push_back(std::to_string(r.duplicates) + " already in the book");
  if (r.incomplete > 0) {
    why.push_back(std::to_string(r.incomplete) + " cut off before " +
                  (r.incomplete == 1 ? "its" : "their") + " end");
  }
  if (!why.empty()) {
    text += "\nSkipped " + std::to_string(r.withoutName + r.duplicates + r.incomplete) + ": ";
    for (std::size_t i = 0; i < why.size(); ++i) text += (i > 0 ? ", " : "") + why[i];
    text += ".";
  }
  return text;
}

ImportResult ImportContacts(FileSystem& fs, AddressBook& book, const std::string& path,
                            LockClock& clock) {
  std::string bytes;
  switch (fs.ReadFileUpTo(path, kImportSizeLimit, &bytes)) {
    case FileSystem::LimitedRead::kRead:
      break;
    case FileSystem::LimitedRead::kUnreadable:
      return Refused(path + " could not be read.");
    case FileSystem::LimitedRead::kTooLarge:
      return Refused(path + " is larger than 64 MiB and was not imported.");
  }
  const std::string neither = path + " is neither a vCard nor a CSV file.";
  const bool vCard = LooksLikeVCard(bytes);
  if (!vCard && bytes.find('\0') != std::string::npos) return Refused(neither);

  // The contacts are merged into the book file as it is now, under its lock, so that an
  // entry another window stored meanwhile counts as being in the book. Nothing new: the
  // book file stays as it is, without a backup.
  std::optional<ImportResult> refused;
  ImportReport report;
  const AddEntriesResult stored = AddEntries(
      fs, book,
      [&](std::span<const AddressEntry> current) {
        ContactMerger merger(current);
        const ContactSink sink = [&merger](Contact&& c) { merger.Add(std::move(c)); };
        if (vCard) {
          merger.report().incomplete = ReadVCards(bytes, sink).incomplete;
        } else {
          const CsvReadResult csv = ReadCsvContacts(bytes, sink);
          if (!csv.columnsKnown) {
            refused = Refused(
                csv.columnsFound.empty() ? neither : UnknownColumnsText(path, csv.columnsFound));
            return std::vector<AddressEntry>{};
          }
          merger.report().incomplete = csv.incomplete;
        }
        report = std::move(merger.report());
        return merger.added();
      },
      clock);
  if (refused) return std::move(*refused);
  if (!stored.written && !stored.result.ok) {
    if (stored.result.inUse) return {ImportOutcome::kInUse, std::string(kInUseText), {}};
    return {ImportOutcome::kNotSaved,
            "The address book could not be saved, so nothing was imported. " + stored.result.reason,
            {}};
  }
  ImportResult result{ImportOutcome::kImported, ImportReportText(report, book.fileName),
                      std::move(report)};
  if (!stored.result.ok) {
    result.text += "\nThe address book could not be read back. " + stored.result.reason;
  }
  return result;
}

ExportResult ExportContacts(FileSystem& fs, const AddressBook& book, const std::string& path) {
  const std::size_t count = std::count_if(book.entries.begin(), book.entries.end(),
                                          [](const AddressEntry& e) { return !e.name.empty(); });
  if (!WriteFileAtomically(fs, path, ContactsCsv(book.entries))) {
    return {false, path + " could not be written."};
  }
  return {true, "Exported " + Count(count, "contact") + " to " + path + "."};
}

}  // namespace qr
