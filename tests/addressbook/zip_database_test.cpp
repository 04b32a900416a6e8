#include "addressbook/zip_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "support/memory_file_system.h"

namespace qr {
namespace {

// A plain RFC 4648 encoder, written independently of the decoder under test, to build
// database files.
std::string Encode(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t bits = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      bits = (bits << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out.push_back(k <= n ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=');
    }
  }
  return out;
}

// A database file: a header line, then the records, each Base64 on its own CR LF line.
std::string DatabaseFile(const std::vector<std::string>& records) {
  std::string file = "header\r\n";
  for (const std::string& record : records) file += Encode(record) + "\r\n";
  return file;
}

std::string Lookup(const ZipDatabase& db, std::string_view zip) {
  const std::optional<ZipPlace> place = LookupZip(db, zip);
  return place ? place->city + "|" + place->state : "(none)";
}

std::size_t EntryCount(const ZipDatabase& db) {
  std::size_t count = 0;
  for (const auto& bucket : db.buckets) count += bucket.size();
  return count;
}

TEST(ZipBase64Test, DecodesEveryRule) {
  const struct {
    const char* name;
    std::string_view text;
    std::string_view decoded;
  } kCases[] = {
      {"plain groups", "NjI3MDFeU3ByaW5nZmllbGReSUw=", "62701^Springfield^IL"},
      {"standard 62 and 63", "+/+/", "\xfb\xff\xbf"},
      {"url-safe 62 and 63", "-_-_", "\xfb\xff\xbf"},
      {"two padding signs give one byte", "QQ==", "A"},
      {"one padding sign gives two bytes", "QUI=", "AB"},
      {"padding in the middle shortens only its group", "QQ==QUJD", "AABC"},
      {"CR, LF and tab skipped between groups", "QUJD\r\n\tREVG\t", "ABCDEF"},
      {"tab inside a group counts as 0", "QU\tD", "A@\x03"},
      {"trailing partial group ignored", "QUJDRE", "ABC"},
      {"lone trailing characters ignored", "QUJD\tQ", "ABC"},
      {"out-of-alphabet ASCII counts as 0", "Q*JD", std::string_view("@\x02\x43", 3)},
      {"bytes above 0x7F count as 0", "Q\xff\x4a\x44", std::string_view("@\x02\x43", 3)},
      {"empty", "", ""},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(DecodeBase64(c.text), c.decoded) << c.name;
  }
}

TEST(ZipRecordTest, SplitsFieldsAndChoosesBuckets) {
  const struct {
    std::string_view record;
    const char* zip;
    const char* city;
    const char* state;
    int bucket;
  } kCases[] = {
      {"62701^Springfield^IL", "62701", "Springfield", "IL", 6},
      {"62701^Springfield^IL^Sangamon^extra", "62701", "Springfield", "IL", 6},
      {"90210^Beverly Hills", "90210", "Beverly Hills", "", 9},
      {"garbage without separators", "garbage without separators", "", "", 0},
      {"^City^ST", "", "City", "ST", 0},
      {" 1234^ Padded ^ X ", " 1234", " Padded ", " X ", 0},
      {"A1234^x^y", "A1234", "x", "y", 0},
      {"", "", "", "", 0},
  };
  for (const auto& c : kCases) {
    const ZipEntry entry = SplitZipRecord(c.record);
    EXPECT_EQ(entry.zip, c.zip) << c.record;
    EXPECT_EQ(entry.city, c.city) << c.record;
    EXPECT_EQ(entry.state, c.state) << c.record;
    EXPECT_EQ(ZipBucketIndex(entry.zip), c.bucket) << c.record;
  }
}

TEST(ZipLoadTest, SkipsHeaderAndKeepsFileOrderInBuckets) {
  const ZipDatabase db = LoadZipDatabase(DatabaseFile(
      {"62701^Springfield^IL", "02134^Allston^MA", "62702^Springfield^IL", "^no zip^"}));
  ASSERT_EQ(db.buckets[6].size(), 2u);
  EXPECT_EQ(db.buckets[6][0].zip, "62701");
  EXPECT_EQ(db.buckets[6][1].zip, "62702");
  ASSERT_EQ(db.buckets[0].size(), 2u);
  EXPECT_EQ(db.buckets[0][0].city, "Allston");
  EXPECT_EQ(db.buckets[0][1].city, "no zip");
  EXPECT_EQ(EntryCount(db), 4u);
}

TEST(ZipLoadTest, HeaderIsDroppedWhateverItHolds) {
  // A header that is itself a valid record must not become an entry.
  const std::string file = Encode("11111^Header^HD") + "\n" + Encode("22222^Kept^KP") + "\n";
  const ZipDatabase db = LoadZipDatabase(file);
  EXPECT_EQ(Lookup(db, "11111"), "(none)");
  EXPECT_EQ(Lookup(db, "22222"), "Kept|KP");
  EXPECT_EQ(EntryCount(db), 1u);
}

TEST(ZipLoadTest, EveryLineEndIsHonoured) {
  const std::string a = Encode("10001^New York^NY");
  const std::string b = Encode("20001^Washington^DC");
  const std::string c = Encode("30301^Atlanta^GA");
  const struct {
    const char* name;
    std::string file;
  } kCases[] = {
      {"CR LF", "h\r\n" + a + "\r\n" + b + "\r\n" + c + "\r\n"},
      {"LF", "h\n" + a + "\n" + b + "\n" + c + "\n"},
      {"CR", "h\r" + a + "\r" + b + "\r" + c + "\r"},
      {"NUL", std::string("h") + '\0' + a + '\0' + b + '\0' + c},
      {"mixed, last line unterminated", "h\r" + a + "\n" + b + "\r\n" + c},
  };
  for (const auto& k : kCases) {
    const ZipDatabase db = LoadZipDatabase(k.file);
    EXPECT_EQ(EntryCount(db), 3u) << k.name;
    EXPECT_EQ(Lookup(db, "10001"), "New York|NY") << k.name;
    EXPECT_EQ(Lookup(db, "20001"), "Washington|DC") << k.name;
    EXPECT_EQ(Lookup(db, "30301"), "Atlanta|GA") << k.name;
  }
}

TEST(ZipLoadTest, HeaderOnlyOrEmptyFileFindsNothing) {
  for (std::string_view file : {"header only\r\n", "header only", ""}) {
    const ZipDatabase db = LoadZipDatabase(file);
    EXPECT_EQ(EntryCount(db), 0u);
    EXPECT_EQ(Lookup(db, "62701"), "(none)");
    EXPECT_EQ(Lookup(db, "00000"), "(none)");
  }
}

TEST(ZipLoadTest, LongRecordsAreKeptWhole) {
  const std::string city(5000, 'c');
  const std::string state(3000, 's');
  const ZipDatabase db = LoadZipDatabase(DatabaseFile({"55555^" + city + "^" + state}));
  const std::optional<ZipPlace> place = LookupZip(db, "55555");
  ASSERT_TRUE(place.has_value());
  EXPECT_EQ(place->city, city);
  EXPECT_EQ(place->state, state);
}

TEST(ZipLoadTest, BucketGrowsFarPastSevenThousand) {
  // 20000 records in bucket 7: every ZIP from 70000 to 79999 twice, in that order.
  constexpr int kCount = 20000;
  std::string file = "header\r\n";
  for (int i = 0; i < kCount; ++i) {
    file += Encode(std::to_string(70000 + i % 10000) + "^City" + std::to_string(i) + "^TX") + "\n";
  }
  const ZipDatabase db = LoadZipDatabase(file);
  ASSERT_EQ(db.buckets[7].size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(Lookup(db, "70000"), "City0|TX");
  EXPECT_EQ(Lookup(db, "77000"), "City7000|TX");  // past the 7000th entry
  EXPECT_EQ(Lookup(db, "79999"), "City9999|TX");  // the first of the two wins
  EXPECT_EQ(db.buckets[7].back().city, "City19999");
}

TEST(ZipLookupTest, FindsByFirstFiveCharacters) {
  const ZipDatabase db = LoadZipDatabase(DatabaseFile({
      "62701^Springfield^IL",
      "62701^Later Duplicate^XX",
      "01001^Agawam^MA",
      "6270^Short^SH",
      "^Empty^EM",
  }));
  const struct {
    std::string_view zip_field;
    const char* expected;
  } kCases[] = {
      {"62701", "Springfield|IL"},       // the earlier of two equal ZIPs wins
      {"62701-1234", "Springfield|IL"},  // ZIP+4 searches its first five
      {"627019", "Springfield|IL"},
      {"01001", "Agawam|MA"},
      {"6270", "Short|SH"},  // a shorter text is compared whole
      {" 6270", "(none)"},   // a leading blank searches bucket 0 and finds nothing
      {" 62701", "(none)"},
      {"62702", "(none)"},
      {"1001", "(none)"},
      {"", "(none)"},  // an empty text never matches the empty-ZIP record
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Lookup(db, c.zip_field), c.expected) << "'" << c.zip_field << "'";
  }
}

TEST(ZipLookupTest, AutoFillOnlyWhenCityAndStateAreBlank) {
  const ZipDatabase db = LoadZipDatabase(DatabaseFile({"62701^Springfield^IL"}));
  const struct {
    const char* name;
    bool disabled;
    std::string_view zip, city, state;
    std::optional<std::string> fill;  // "city|state", or no change
  } kCases[] = {
      {"fills empty fields", false, "62701", "", "", "Springfield|IL"},
      {"spaces only count as empty", false, "62701-1234", "  ", " ", "Springfield|IL"},
      {"unknown ZIP empties both", false, "99999", " ", "", "|"},
      {"empty ZIP empties both", false, "", "", "  ", "|"},
      {"leading space finds nothing", false, " 6270", "", "", "|"},
      {"city typed", false, "62701", "Chicago", "", std::nullopt},
      {"state typed", false, "62701", "", "IL", std::nullopt},
      {"a tab is not a space", false, "62701", "\t", "", std::nullopt},
      {"disabled", true, "62701", "", "", std::nullopt},
  };
  for (const auto& c : kCases) {
    const std::optional<ZipPlace> fill = ZipAutoFill(db, c.disabled, c.zip, c.city, c.state);
    ASSERT_EQ(fill.has_value(), c.fill.has_value()) << c.name;
    if (fill) {
      EXPECT_EQ(fill->city + "|" + fill->state, *c.fill) << c.name;
    }
  }
}

TEST(ZipLoadTest, FromProgramFolderReportsMissingAndUnreadableFiles) {
  testing::MemoryFileSystem fs;
  ZipDatabase db = LoadZipDatabase(DatabaseFile({"12345^Stale^ST"}));

  EXPECT_EQ(LoadZipDatabase(fs, "C:\\Quarrane\\", &db), ZipDatabaseStatus::kMissing);
  EXPECT_EQ(EntryCount(db), 0u);  // an earlier content never survives

  fs.files["C:\\Quarrane\\envelope.dat"] = DatabaseFile({"62701^Springfield^IL"});
  EXPECT_EQ(LoadZipDatabase(fs, "C:\\Quarrane\\", &db), ZipDatabaseStatus::kLoaded);
  EXPECT_EQ(Lookup(db, "62701"), "Springfield|IL");

  // Listed in its folder but unreadable.
  fs.FailOn(testing::MemoryFileSystem::Op::Read, "C:\\Quarrane\\envelope.dat");
  EXPECT_EQ(LoadZipDatabase(fs, "C:\\Quarrane\\", &db), ZipDatabaseStatus::kUnreadable);
  EXPECT_EQ(EntryCount(db), 0u);
}

}  // namespace
}  // namespace qr
