// The ZIP code database: "envelope.dat" in the program folder, read once at start-up,
// and the look-up that fills City and State from a ZIP code.
//
// The file is a header line (skipped, whatever it holds) followed by one Base64 record
// per line; a decoded record is "zip^city^state" (further fields ignored, missing ones
// empty). Entries go into ten buckets by the first character of their ZIP and keep the
// order of the file; a look-up scans one bucket and the first equal ZIP wins.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qr {

class FileSystem;

// The database's file name, looked for in the program folder.
inline constexpr std::string_view kZipDatabaseFileName = "envelope.dat";

// The message box shown once at start-up when the database is missing (OK button only).
// The text breaks its two sentences with a CR alone.
inline constexpr std::string_view kZipDatabaseMissingTitle = "Error";
inline constexpr std::string_view kZipDatabaseMissingText =
    "You do not have the zipcode database installed\r"
    "Auto-fill of City, State based on zipcode disabled";

// How many characters of the Zip field a look-up uses: a ZIP+4 code searches for its
// first five digits.
inline constexpr std::size_t kZipLookupLength = 5;

// One record as decoded, without trimming or validation.
struct ZipEntry {
  std::string zip;
  std::string city;
  std::string state;
};

// Ten buckets, one per first digit of the ZIP; entries in file order. Buckets grow as
// needed and records of any length are kept whole.
struct ZipDatabase {
  std::array<std::vector<ZipEntry>, 10> buckets;
};

// City and state found for a ZIP code.
struct ZipPlace {
  std::string city;
  std::string state;
};

// Decodes Base64 leniently: "+" or "-" is 62, "/" or "_" is 63; CR, LF and tab are
// skipped where a group of four would start; "=" as the third or fourth character of a
// group shortens that group's output; any other character outside the alphabet counts
// as 0; characters left over that do not make a full group are ignored. Never fails.
std::string DecodeBase64(std::string_view text);

// Splits a decoded record at "^" into zip, city and state.
ZipEntry SplitZipRecord(std::string_view record);

// The bucket for a ZIP text: the value of its first character when that is a digit,
// otherwise (or for an empty text) 0.
int ZipBucketIndex(std::string_view zip);

// Builds the database from the bytes of "envelope.dat". Lines end at CR, LF, CR LF or
// NUL; the first line is dropped and every further line becomes one entry.
ZipDatabase LoadZipDatabase(std::string_view file_bytes);

enum class ZipDatabaseStatus {
  kLoaded,
  kMissing,     // no "envelope.dat" in the folder: show the "Error" message
  kUnreadable,  // the file is there but could not be read; the database stays empty
};

// Loads "envelope.dat" from `program_folder` (ending in a separator, or empty for the
// current folder) into `database`, which is emptied first.
ZipDatabaseStatus LoadZipDatabase(FileSystem& fs, const std::string& program_folder,
                                  ZipDatabase* database);

// The first entry whose ZIP equals the first five characters of `zip_field_text`
// (all of it when shorter), or null. An empty text finds nothing.
const ZipEntry* FindZipEntry(const ZipDatabase& database, std::string_view zip_field_text);

// City and state for the text of the Zip field, or nothing when no entry matches.
std::optional<ZipPlace> LookupZip(const ZipDatabase& database, std::string_view zip_field_text);

// What leaving the Zip field does to the City and State fields. Nothing (no change at
// all) when the look-up is disabled or City or State holds anything but spaces;
// otherwise the fields' new contents: the place found, or both empty when none is.
std::optional<ZipPlace> ZipAutoFill(const ZipDatabase& database, bool lookup_disabled,
                                    std::string_view zip_field_text, std::string_view city,
                                    std::string_view state);

}  // namespace qr
