#include "addressbook/zip_database.h"

#include <cstdint>

#include "base/file_system.h"

namespace qr {
namespace {

// Value of one Base64 character; -1 marks "=", which only matters as padding.
// Everything outside the alphabet, including bytes above 0x7F, counts as 0.
int Base64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+' || c == '-') return 62;
  if (c == '/' || c == '_') return 63;
  return 0;
}

bool IsSkippedBetweenGroups(char c) { return c == '\r' || c == '\n' || c == '\t'; }

// Calls `on_line` for every line of `bytes`. A line ends at CR, LF, CR LF or NUL; a
// last line without a terminator counts, and a file ending in a terminator gives no
// extra empty line.
template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine on_line) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n' || c == '\0') {
      on_line(bytes.substr(start, i - start));
      ++i;
      if (c == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) on_line(bytes.substr(start));
}

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsSkippedBetweenGroups(text[i])) {
      ++i;
      continue;
    }
    if (text.size() - i < 4) break;  // a trailing partial group is ignored
    const std::string_view group = text.substr(i, 4);
    i += 4;
    std::uint32_t bits = 0;
    for (char c : group) bits = (bits << 6) | Base64Value(static_cast<unsigned char>(c));
    out.push_back(static_cast<char>((bits >> 16) & 0xFF));
    if (group[2] == '=') continue;
    out.push_back(static_cast<char>((bits >> 8) & 0xFF));
    if (group[3] == '=') continue;
    out.push_back(static_cast<char>(bits & 0xFF));
  }
  return out;
}

ZipEntry SplitZipRecord(std::string_view record) {
  ZipEntry entry;
  std::string* fields[] = {&entry.zip, &entry.city, &entry.state};
  std::size_t start = 0;
  for (std::string* field : fields) {
    const std::size_t end = record.find('^', start);
    if (end == std::string_view::npos) {
      field->assign(record.substr(start));
      break;
    }
    field->assign(record.substr(start, end - start));
    start = end + 1;
  }
  return entry;
}

int ZipBucketIndex(std::string_view zip) {
  if (zip.empty() || zip.front() < '0' || zip.front() > '9') return 0;
  return zip.front() - '0';
}

ZipDatabase LoadZipDatabase(std::string_view file_bytes) {
  ZipDatabase database;
  bool header = true;
  ForEachLine(file_bytes, [&](std::string_view line) {
    if (header) {
      header = false;
      return;
    }
    ZipEntry entry = SplitZipRecord(DecodeBase64(line));
    database.buckets[ZipBucketIndex(entry.zip)].push_back(std::move(entry));
  });
  return database;
}

ZipDatabaseStatus LoadZipDatabase(FileSystem& fs, const std::string& program_folder,
                                  ZipDatabase* database) {
  *database = ZipDatabase{};
  const std::string name(kZipDatabaseFileName);
  if (!fs.FileExistsInFolder(program_folder, name)) return ZipDatabaseStatus::kMissing;
  std::string bytes;
  if (!fs.ReadFile(program_folder + name, &bytes)) return ZipDatabaseStatus::kUnreadable;
  *database = LoadZipDatabase(bytes);
  return ZipDatabaseStatus::kLoaded;
}

const ZipEntry* FindZipEntry(const ZipDatabase& database, std::string_view zip_field_text) {
  const std::string_view zip = zip_field_text.substr(0, kZipLookupLength);
  if (zip.empty()) return nullptr;
  for (const ZipEntry& entry : database.buckets[ZipBucketIndex(zip)]) {
    if (entry.zip == zip) return &entry;
  }
  return nullptr;
}

std::optional<ZipPlace> LookupZip(const ZipDatabase& database, std::string_view zip_field_text) {
  const ZipEntry* entry = FindZipEntry(database, zip_field_text);
  if (entry == nullptr) return std::nullopt;
  return ZipPlace{entry->city, entry->state};
}

std::optional<ZipPlace> ZipAutoFill(const ZipDatabase& database, bool lookup_disabled,
                                    std::string_view zip_field_text, std::string_view city,
                                    std::string_view state) {
  if (lookup_disabled) return std::nullopt;
  if (!TrimSpaces(city).empty() || !TrimSpaces(state).empty()) return std::nullopt;
  return LookupZip(database, zip_field_text).value_or(ZipPlace{});
}

}  // namespace qr
