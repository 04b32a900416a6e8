#include "addressbook/contacts_import.h"

#include <algorithm>
#include <utility>

#include "addressbook/contacts_csv.h"
#include "addressbook/contacts_vcard.h"
#include "base/code_page.h"

namespace qr {

namespace {

constexpr std::size_t kListedNames = 10;
// A name listed for a shortened field is shown up to this many bytes.
constexpr std::size_t kListedNameLength = 40;

void Clean(std::string& field) {
  for (char& c : field) {
    if (c == '^' || c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  const std::size_t end = field.find_last_not_of(" \t");
  field.erase(end == std::string::npos ? 0 : end + 1);
  field.erase(0, field.find_first_not_of(" \t"));
}

// Cuts `text` to `limit` bytes, not inside a UTF-8 character (at most three bytes
// back); whether it was longer.
bool CutTo(std::string& text, std::size_t limit) {
  if (text.size() <= limit) return false;
  std::size_t end = limit;
  for (int back = 0; back < 3 && end > 0; ++back) {
    if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) break;
    --end;
  }
  if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) end = limit;  // not UTF-8
  text.resize(end);
  return true;
}

std::string ListedName(std::string name) {
  if (CutTo(name, kListedNameLength)) name += "...";
  return name;
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

void ContactMerger::Add(Contact contact) {
  AddresseeForm& f = contact.fields;
  bool shortened = false;
  for (std::string* field : {&f.name, &f.street, &f.suite, &f.city, &f.state, &f.zip}) {
    Clean(*field);
    if (CutTo(*field, kImportFieldLimit)) {
      shortened = true;
      Clean(*field);  // no blank at the new end
    }
  }
  if (f.name.empty()) {
    ++report_.withoutName;
    return;
  }
  if (!keys_.insert(DuplicateKey(f.name, f.street)).second) {
    ++report_.duplicates;
    return;
  }
  added_.push_back(AddressEntry{std::move(f.name), std::move(f.street), std::move(f.suite),
                                std::move(f.city), std::move(f.state), std::move(f.zip), "0", "1"});
  shortened_.push_back(shortened);
}

void ContactMerger::DropKnown(std::span<const AddressEntry> book) {
  std::unordered_set<std::string> known;
  for (const AddressEntry& e : book) known.insert(DuplicateKey(e.name, e.street));
  std::size_t kept = 0;
  for (std::size_t i = 0; i < added_.size(); ++i) {
    if (known.contains(DuplicateKey(added_[i].name, added_[i].street))) {
      ++report_.duplicates;
      continue;
    }
    if (kept != i) {
      added_[kept] = std::move(added_[i]);
      shortened_[kept] = shortened_[i];
    }
    ++kept;
  }
  added_.resize(kept);
  shortened_.resize(kept);
}

ImportReport ContactMerger::Report() const {
  ImportReport r = report_;
  r.imported = added_.size();
  for (std::size_t i = 0; i < added_.size(); ++i) {
    if (shortened_[i]) {
      ++r.shortened;
      if (r.shortenedNames.size() < kListedNames) {
        r.shortenedNames.push_back(ListedName(added_[i].name));
      }
    }
  }
  return r;
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
  const auto list = [&text](std::string_view what, std::size_t count,
                            const std::vector<std::string>& names) {
    if (count == 0) return;
    text += '\n';
    text += what;
    text += Count(count, "contact") + ": ";
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i > 0) text += ", ";
      text += names[i];
    }
    if (count > names.size()) text += " and " + std::to_string(count - names.size()) + " more";
    text += ".";
  };
  list("Fields longer than 1,024 bytes were shortened in ", r.shortened, r.shortenedNames);
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

  // The whole file is parsed before the book's lock is taken, so that the lock is held
  // only for the merge and the write.
  ContactMerger merger;
  const ContactSink sink = [&merger](Contact&& c) { merger.Add(std::move(c)); };
  if (vCard) {
    merger.CountIncomplete(ReadVCards(bytes, sink).incomplete);
  } else {
    const CsvReadResult csv = ReadCsvContacts(bytes, sink);
    if (!csv.columnsKnown) {
      return Refused(csv.columnsFound.empty() ? neither
                                              : UnknownColumnsText(path, csv.columnsFound));
    }
    merger.CountIncomplete(csv.incomplete);
  }
  bytes = {};
  ImportReport report = merger.Report();
  if (merger.added().empty()) {
    return {ImportOutcome::kImported, ImportReportText(report, book.fileName), std::move(report)};
  }

  // Merged into the book file as it is now, under its lock, so that an entry another
  // window stored meanwhile counts as being in the book. Nothing new: the book file stays
  // as it is, without a backup.
  const AddEntriesResult stored = AddEntries(
      fs, book,
      [&](std::span<const AddressEntry> current) {
        merger.DropKnown(current);
        report = merger.Report();
        return merger.TakeAdded();
      },
      clock);
  if (!stored.written && !stored.result.ok) {
    if (stored.result.inUse) return {ImportOutcome::kInUse, std::string(kInUseText), {}};
    return {ImportOutcome::kNotSaved,
            "The address book could not be saved, so nothing was imported. " + stored.result.reason,
            {}};
  }
  ImportResult result{ImportOutcome::kImported, ImportReportText(report, book.fileName),
                      std::move(report), stored.recordGone};
  if (!stored.result.ok) {
    result.text += "\nThe address book could not be read back. " + stored.result.reason;
  }
  return result;
}

ExportResult ExportContacts(FileSystem& fs, const AddressBook& book, const std::string& path,
                            LockClock& clock) {
  std::vector<AddressEntry> entries;
  if (const StoreResult read = ReadBookAsItIs(fs, book, &entries, clock); !read.ok) {
    return {false, read.inUse ? read.reason : "Nothing was exported. " + read.reason};
  }
  const std::size_t count = std::count_if(entries.begin(), entries.end(),
                                          [](const AddressEntry& e) { return !e.name.empty(); });
  if (!WriteFileAtomically(fs, path, ContactsCsv(entries))) {
    return {false, path + " could not be written."};
  }
  return {true, "Exported " + Count(count, "contact") + " to " + path + "."};
}

}  // namespace qr
