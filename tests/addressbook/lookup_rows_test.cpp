#include "addressbook/lookup_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address_entry_print.h"
#include "addressbook/address_book.h"
#include "support/memory_file_system.h"

namespace qr {
namespace {

AddressEntry Entry(std::string name, std::string listed = "1") {
  return {std::move(name), "1 Elm St", "Suite 4", "Dover", "DE", "19901", "0", std::move(listed)};
}

// Names of the entries the rows show, in row order.
std::vector<std::string> RowNames(const std::vector<AddressEntry>& entries,
                                  const std::vector<int>& rows) {
  std::vector<std::string> names;
  for (int position : rows) names.push_back(entries[static_cast<std::size_t>(position)].name);
  return names;
}

TEST(LookupRowsTest, ListsOnlyListedEntriesWhoseNamesBeginWithTheSearchTextByteForByte) {
  const std::vector<AddressEntry> book = {
      Entry("Oak Smithy"),
      Entry(""),
      Entry("Sm"),
      Entry("Smith Hardware"),
      Entry("Smith Hidden", "0"),
      Entry("Smith Spaced", "1 "),  // "listed" must be exactly "1"
      Entry("Smith Empty", ""),
      Entry("Smithson Tools"),
      Entry(" Smith Indented"),
      Entry("S"),
      Entry("smith tools"),
      Entry("Sm\xE9vin"),
  };
  const struct {
    std::string search;
    std::vector<std::string> names;
  } cases[] = {
      {"",
       {"Oak Smithy", "Sm", "Smith Hardware", "Smithson Tools", " Smith Indented", "S",
        "smith tools", "Sm\xE9vin"}},
      {"Sm", {"Sm", "Smith Hardware", "Smithson Tools", "Sm\xE9vin"}},
      {"Smith", {"Smith Hardware", "Smithson Tools"}},
      {"smith", {"smith tools"}},
      {"Sm\xE9", {"Sm\xE9vin"}},
      {"SM", {}},
      {" ", {" Smith Indented"}},       // the search text is not trimmed
      {"Smith Hardware and more", {}},  // a name shorter than the search text does not match
      {"Smith Hidden", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("search \"" + c.search + "\"");
    EXPECT_EQ(RowNames(book, BuildLookupRows(book, c.search)), c.names);
  }
  EXPECT_TRUE(BuildLookupRows({}, "").empty());
}

TEST(LookupRowsTest, RowsMapToTheEntriesTheyShowAndNothingBeyond) {
  const std::vector<int> rows = {2, 5, 9};
  EXPECT_EQ(PositionForRow(rows, 0), 2);
  EXPECT_EQ(PositionForRow(rows, 2), 9);
  EXPECT_EQ(PositionForRow(rows, 3), std::nullopt);
  EXPECT_EQ(PositionForRow(rows, -1), std::nullopt);  // "no row selected"
  EXPECT_EQ(PositionForRow({}, 0), std::nullopt);

  // Select with rows selected: the focused one, the first selected, or none.
  EXPECT_EQ(RowToChoose(3, true, 0), 3);
  EXPECT_EQ(RowToChoose(3, false, 1), 1);
  EXPECT_EQ(RowToChoose(-1, false, 2), 2);
  EXPECT_EQ(RowToChoose(3, false, -1), -1);

  const AddressEntry e = {"ACME", "12 Main St", "Suite 9", "Springfield", "IL", "62701", "3", "1"};
  std::vector<std::string_view> cells;
  for (int column = 0; column < 6; ++column) cells.push_back(LookupCellText(e, column));
  EXPECT_EQ(cells, (std::vector<std::string_view>{"ACME", "12 Main St", "Springfield", "IL",
                                                  "62701", ""}));
}

// The row table together with the store: a chosen row makes that entry current, and the
// next save or delete acts on it, also when entries before it are not listed.
class LookupWithStoreTest : public ::testing::Test {
 protected:
  LookupWithStoreTest() {
    book_.directory = "C:\\books\\";
    book_.fileName = "Friends.adb";
    fs_.folders.insert(book_.directory);
  }
  void Reread(const std::string& bytes) {
    fs_.files[book_.FilePath()] = bytes;
    ASSERT_TRUE(RereadAddressbook(fs_, book_).ok);
  }
  testing::MemoryFileSystem fs_;
  AddressBook book_;
};

TEST_F(LookupWithStoreTest, ChoosingARowPastUnlistedEntriesSelectsAndUpdatesThatEntry) {
  Reread(
      "Oak Smithy^1 Oak Rd^^Salem^OR^97301^0^1\r\n"
      "Smith Archive^9 Vault Ln^^Boston^MA^02108^1^0\r\n"
      "Smith Hardware^5 Iron St^Unit 2^Dover^DE^19901^2^1\r\n"
      "Smithson Tools^7 Forge Ave^^Akron^OH^44308^3^1\r\n"
      "smith tools^3 Low St^^Erie^PA^16501^4^1\r\n");
  const std::vector<int> rows = BuildLookupRows(book_.entries, "Sm");
  ASSERT_EQ(RowNames(book_.entries, rows),
            (std::vector<std::string>{"Smith Hardware", "Smithson Tools"}));

  const auto form = SelectRecord(book_, *PositionForRow(rows, 1));
  ASSERT_TRUE(form);
  EXPECT_EQ(*form, (AddresseeForm{"Smithson Tools", "7 Forge Ave", "", "Akron", "OH", "44308"}));

  AddresseeForm changed = *form;
  changed.city = "Canton";
  ASSERT_EQ(SaveAddressee(fs_, book_, changed).outcome, SaveOutcome::kSaved);
  // Rewritten in place, nothing added (the save sorts case-blind: "smith tools" moves up).
  std::vector<std::string> cities;
  for (const AddressEntry& e : book_.entries) cities.push_back(e.name + ": " + e.city);
  EXPECT_EQ(cities, (std::vector<std::string>{"Oak Smithy: Salem", "Smith Archive: Boston",
                                              "Smith Hardware: Dover", "smith tools: Erie",
                                              "Smithson Tools: Canton"}));
}

TEST_F(LookupWithStoreTest, StaleRecordNumbersStillDeleteTheEntryTheRowShows) {
  // Numbers that do not match the line positions, as a hand-edited file might hold.
  Reread(
      "Adams^1 Elm St^^Dover^DE^19901^7^1\r\n"
      "Baker^2 Elm St^^Dover^DE^19901^0^1\r\n"
      "Carter^3 Elm St^^Dover^DE^19901^0^1\r\n");
  const std::vector<int> rows = BuildLookupRows(book_.entries, "B");
  ASSERT_EQ(rows.size(), 1u);
  const auto form = SelectRecord(book_, *PositionForRow(rows, 0));
  ASSERT_TRUE(form);
  EXPECT_EQ(form->name, "Baker");

  ASSERT_EQ(DeleteCurrentRecord(fs_, book_).outcome, DeleteOutcome::kDeleted);
  EXPECT_EQ(fs_.Content(book_.FilePath()),
            "Adams^1 Elm St^^Dover^DE^19901^0^1\r\n"
            "Carter^3 Elm St^^Dover^DE^19901^1^1\r\n");
}

}  // namespace
}  // namespace qr
