// Checks the files made by tools/zipdb/make-envelope-dat.js: the converter's output for a
// small package-shaped fixture (QR_ZIP_FIXTURE_OUT, with the fixture in QR_ZIP_FIXTURE_IN)
// and the shipped database (QR_ZIP_DATABASE_DIR). ctest builds both before this runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "addressbook/zip_database.h"
#include "base/file_system.h"

namespace qr {
namespace {

// The folder named by an environment variable, with a trailing separator.
std::string FolderFromEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == '\0') {
    ADD_FAILURE() << variable << " is not set; run this test through ctest";
    return {};
  }
  return std::string(value) + "/";
}

std::string ReadOrFail(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(SystemFileSystem().ReadFile(path, &bytes)) << path;
  return bytes;
}

TEST(ZipConverterTest, FixtureRoundTripsThroughTheLoader) {
  const std::string in = FolderFromEnvironment("QR_ZIP_FIXTURE_IN");
  const std::string out = FolderFromEnvironment("QR_ZIP_FIXTURE_OUT");
  ASSERT_FALSE(in.empty() || out.empty());

  const std::string file = ReadOrFail(out + "envelope.dat");
  // Header, then the four US records in ascending ZIP order, every line ending CR LF.
  EXPECT_EQ(file.substr(file.find("\r\n") + 2),
            "MDA1MDFeSG9sdHN2aWxsZV5OWQ==\r\n"
            "MDA2MTBeQfFhc2NvXlBS\r\n"
            "NjI3MDFeU3ByaW5nZmllbGReSUw=\r\n"
            "OTAyMTBeQmV2ZXJseSBIaWxsc15DQQ==\r\n");

  ZipDatabase db;
  ASSERT_EQ(LoadZipDatabase(SystemFileSystem(), out, &db), ZipDatabaseStatus::kLoaded);
  EXPECT_EQ(db.buckets[0].size(), 2u);  // the Canadian entry is left out
  EXPECT_EQ(db.buckets[6].size(), 1u);
  EXPECT_EQ(db.buckets[9].size(), 1u);
  const struct {
    const char* zip;
    const char* city;
    const char* state;
  } kExpected[] = {
      {"00501", "Holtsville", "NY"},
      {"00610",
       "A\xf1"
       "asco",
       "PR"},  // stored in the single-byte code page
      {"62701-0001", "Springfield", "IL"},
      {"90210", "Beverly Hills", "CA"},
  };
  for (const auto& e : kExpected) {
    const std::optional<ZipPlace> place = LookupZip(db, e.zip);
    ASSERT_TRUE(place.has_value()) << e.zip;
    EXPECT_EQ(place->city, e.city);
    EXPECT_EQ(place->state, e.state);
  }

  EXPECT_EQ(ReadOrFail(out + "zipcodes-LICENSE.txt"), ReadOrFail(in + "LICENSE"));
}

TEST(ZipShippedDatabaseTest, HoldsEveryUsZipCode) {
  const std::string dir = FolderFromEnvironment("QR_ZIP_DATABASE_DIR");
  ASSERT_FALSE(dir.empty());
  ZipDatabase db;
  ASSERT_EQ(LoadZipDatabase(SystemFileSystem(), dir, &db), ZipDatabaseStatus::kLoaded);

  std::size_t count = 0;
  for (int digit = 0; digit < 10; ++digit) {
    for (const ZipEntry& entry : db.buckets[digit]) {
      ++count;
      ASSERT_EQ(entry.zip.size(), 5u) << entry.zip;
      ASSERT_EQ(ZipBucketIndex(entry.zip), digit) << entry.zip;
      ASSERT_FALSE(entry.city.empty()) << entry.zip;
      ASSERT_EQ(entry.state.size(), 2u) << entry.zip;
    }
  }
  EXPECT_EQ(count, 42555u);

  const std::optional<ZipPlace> springfield = LookupZip(db, "62701-1234");
  ASSERT_TRUE(springfield.has_value());
  EXPECT_EQ(springfield->city, "Springfield");
  EXPECT_EQ(springfield->state, "IL");
  EXPECT_FALSE(ReadOrFail(dir + "zipcodes-LICENSE.txt").empty());
}

}  // namespace
}  // namespace qr
