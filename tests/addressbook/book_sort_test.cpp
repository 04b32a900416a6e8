#include "addressbook/book_sort.h"
#include "base/letter_case.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "address_entry_print.h"
#include "support/addressbook_bubble_sort.h"

namespace qr {
namespace {

std::vector<std::string> Names(const std::vector<AddressEntry>& entries) {
  std::vector<std::string> names;
  for (const AddressEntry& e : entries) names.push_back(e.name);
  return names;
}

std::vector<AddressEntry> Book(const std::vector<std::string>& names) {
  std::vector<AddressEntry> entries;
  for (std::size_t i = 0; i < names.size(); ++i) {
    entries.push_back(
        {names[i], "street " + std::to_string(i), "", "", "", "", std::to_string(i), "1"});
  }
  return entries;
}

TEST(BookSortTest, UpperCaseFollowsTheWesternCodePage) {
  const std::vector<std::pair<unsigned, unsigned>> cases = {
      {'a', 'A'},   {'z', 'Z'},   {'A', 'A'},   {'{', '{'},   {'`', '`'},
      {'5', '5'},   {0xE0, 0xC0}, {0xE9, 0xC9}, {0xFE, 0xDE}, {0xF7, 0xF7},
      {0xFF, 0x9F}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xC9, 0xC9},
      {0xDF, 0xDF}, {0xB5, 0xB5}, {0x8A, 0x8A}, {0x9B, 0x9B}, {0x00, 0x00},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(UpperCase1252(static_cast<unsigned char>(in)), out) << std::hex << in;
  }
}

TEST(BookSortTest, KeysTrimSpacesOnlyAndCompareUnsigned) {
  EXPECT_EQ(NameSortKey("  alpha beta  "), "ALPHA BETA");
  EXPECT_EQ(NameSortKey("\talpha\t"), "\tALPHA\t");
  EXPECT_EQ(NameSortKey("   "), "");
  EXPECT_EQ(NameSortKey(""), "");
  EXPECT_TRUE(NameKeyLess("SMITH", "SMITHS"));  // a leading part is the smaller
  EXPECT_FALSE(NameKeyLess("SMITHS", "SMITH"));
  EXPECT_FALSE(NameKeyLess("SMITH", "SMITH"));
  EXPECT_TRUE(NameKeyLess("ZETA", "\xC9TA"));  // high bytes sort after ASCII
  EXPECT_TRUE(NameKeyLess("", "A"));
}

TEST(BookSortTest, NamedExamplesSortAsExpected) {
  struct Case {
    std::vector<std::string> before, after;
  };
  const std::vector<Case> cases = {
      {{"smith", "Adams"}, {"Adams", "smith"}},
      {{"Zeta", " alpha"}, {" alpha", "Zeta"}},
      // An entry whose name is empty or spaces never moves, and nothing crosses it.
      {{"Zed", "   ", "Abe"}, {"Zed", "   ", "Abe"}},
      {{"b", "a", "", "d", "c"}, {"a", "b", "", "c", "d"}},
      {{"\xC3\xA9mile", "Emile", "zoe"}, {"Emile", "zoe", "\xC3\xA9mile"}},
      {{"\xC3\xBF", "\xC5\xB8", "Y"}, {"Y", "\xC3\xBF", "\xC5\xB8"}},
      // Characters the code page lacks come after all of its own, by code point; a
      // small and a capital letter are one key.
      {{"\xE5\xB1\xB1\xE7\x94\xB0", "\xC5\x82ukasz", "\xC3\x89mile", "Zoe", "\xC5\x81ukasz",
        "Nguy\xE1\xBB\x85n", "Nguyen"},
       {"Nguyen", "Nguy\xE1\xBB\x85n", "Zoe", "\xC3\x89mile", "\xC5\x82ukasz", "\xC5\x81ukasz",
        "\xE5\xB1\xB1\xE7\x94\xB0"}},
      {{"\xF0\x9F\x98\x80", "\xEF\xBF\xBD", "\xC3\xBF"}, {"\xC3\xBF", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80"}},
  };
  for (const Case& c : cases) {
    std::vector<AddressEntry> entries = Book(c.before);
    SortEntriesByName(entries);
    EXPECT_EQ(Names(entries), c.after);
  }
}

TEST(BookSortTest, EqualKeysKeepTheirOrderAndNumbersStayWithPositions) {
  std::vector<AddressEntry> entries = Book({"Bo", "al", "BO", " bo ", "Al"});
  SortEntriesByName(entries);
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"al", "Al", "Bo", "BO", " bo "}));
  EXPECT_EQ(entries[0].street, "street 1");
  EXPECT_EQ(entries[1].street, "street 4");
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].number, std::to_string(i));
}

// Random books full of the cases that matter: empty and blank names that split the list,
// names equal but for letter case or surrounding spaces, accented letters of the code page
// and letters outside it.
TEST(BookSortTest, MatchesPlainBubblePassesOnRandomBooks) {
  std::mt19937 rng(20240611);
  const std::vector<std::string> pieces = {
      "",         " ",        "  ",       "a",        "A",        "b",        "B",
      "z",        "\t",       "\xC3\xA9", "\xC3\x89", "\xC3\xBF", "\xC5\xB8", "\xC5\xA1",
      "\xC5\xA0", "\xC3\xB7", "\xC3\x97", "\xC3\x9F", "m",        "M",        "0",
      "~",        "\xC5\x82", "\xC5\x81", "\xE6\x9D\xB1", "\xE1\xBB\x85", "\xF0\x9F\x98\x80"};
  std::uniform_int_distribution<std::size_t> pieceOf(0, pieces.size() - 1);
  std::uniform_int_distribution<int> lengthOf(0, 4);
  std::uniform_int_distribution<int> sizeOf(0, 40);
  for (int book = 0; book < 3000; ++book) {
    std::vector<std::string> names;
    const int size = sizeOf(rng);
    for (int i = 0; i < size; ++i) {
      std::string name;
      for (int n = lengthOf(rng); n > 0; --n) name += pieces[pieceOf(rng)];
      names.push_back(name);
    }
    std::vector<AddressEntry> fast = Book(names);
    std::vector<AddressEntry> slow = fast;
    SortEntriesByName(fast);
    reference::BubbleSortEntries(slow);
    ASSERT_EQ(fast, slow) << "book " << book << ": " << testing::PrintToString(names);
  }
}

}  // namespace
}  // namespace qr
