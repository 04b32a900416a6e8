#include "addressbook/address_book.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "address_entry_print.h"
#include "addressbook/book_location.h"
#include "support/memory_file_system.h"

namespace qr {
namespace {

using testing::MemoryFileSystem;
using Op = MemoryFileSystem::Op;

const std::string kDir = "C:\\books\\";
const std::string kBook = kDir + "Friends.adb";
const std::string kBackup = kDir + "Friends.bak";

AddresseeForm Form(std::string name, std::string city = "Dover") {
  return {std::move(name), "1 Elm St", "", std::move(city), "DE", "19901"};
}

class AddressBookTest : public ::testing::Test {
 protected:
  AddressBookTest() {
    book_.directory = kDir;
    book_.fileName = "Friends.adb";
    fs_.folders.insert(kDir);
  }
  // A book file on disk, read as at start-up.
  void Open(const std::string& bytes) {
    fs_.files[kBook] = bytes;
    ASSERT_TRUE(ReadAddressbook(fs_, book_).ok);
  }
  MemoryFileSystem fs_;
  AddressBook book_;
};

const std::string kTwo =
    "Adams^1 Elm St^^Dover^DE^19901^0^1\r\n"
    "smith^1 Elm St^^Dover^DE^19901^1^1\r\n";

TEST_F(AddressBookTest, SavesSortCaseBlindAndKeepTheEarlierFileAsBackup) {
  ASSERT_EQ(SaveAddressee(fs_, book_, Form("smith")).outcome, SaveOutcome::kSaved);
  EXPECT_FALSE(fs_.Has(kBackup));  // nothing to back up the first time
  EXPECT_EQ(fs_.Content(kBook), "smith^1 Elm St^^Dover^DE^19901^0^1\r\n");

  ASSERT_EQ(SaveAddressee(fs_, book_, Form("Adams")).outcome, SaveOutcome::kSaved);
  EXPECT_EQ(fs_.Content(kBook), kTwo);
  EXPECT_EQ(fs_.Content(kBackup), "smith^1 Elm St^^Dover^DE^19901^0^1\r\n");
  ASSERT_EQ(book_.entries.size(), 2u);
  EXPECT_EQ(book_.entries[1].name, "smith");
  EXPECT_EQ(book_.entries[1].number, "1");
  EXPECT_EQ(book_.currentRecord, -1);
  EXPECT_FALSE(fs_.Has(kBook + ".new"));
}

TEST_F(AddressBookTest, CurrentRecordAndFlagChooseBetweenUpdateAndAdd) {
  struct Case {
    int current;
    bool flag;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {-1, false, kTwo + "Zorn^1 Elm St^^Paris^DE^19901^2^1\r\n"},
      {-1, true, kTwo + "Zorn^1 Elm St^^Paris^DE^19901^2^1\r\n"},
      {1, false,  // the selected record is renamed and moved by the sort, in place
       "Adams^1 Elm St^^Dover^DE^19901^0^1\r\nZorn^1 Elm St^^Paris^DE^19901^1^1\r\n"},
      {0, true, kTwo + "Zorn^1 Elm St^^Paris^DE^19901^2^1\r\n"},
      {7, false, kTwo + "Zorn^1 Elm St^^Paris^DE^19901^2^1\r\n"},  // stale record: added
  };
  for (const Case& c : cases) {
    fs_.files.clear();
    Open(kTwo);
    book_.currentRecord = c.current;
    book_.newEntryFlag = c.flag;
    ASSERT_EQ(SaveAddressee(fs_, book_, Form("Zorn", "Paris")).outcome, SaveOutcome::kSaved);
    EXPECT_EQ(fs_.Content(kBook), c.expected) << c.current << " " << c.flag;
    EXPECT_EQ(fs_.Content(kBackup), kTwo);
    EXPECT_EQ(book_.currentRecord, -1);
    EXPECT_FALSE(book_.newEntryFlag);
  }
}

TEST_F(AddressBookTest, SelectedRecordWithNewCityIsRewrittenInPlaceAndListed) {
  Open("Adams^1 Elm St^^Dover^DE^19901^0^\r\nsmith^1 Elm St^^Dover^DE^19901^1^1\r\n");
  const auto shown = SelectRecord(book_, 0);
  ASSERT_TRUE(shown.has_value());
  AddresseeForm form = *shown;
  form.city = "Newark";
  ASSERT_EQ(SaveAddressee(fs_, book_, form).outcome, SaveOutcome::kSaved);
  EXPECT_EQ(fs_.Content(kBook),
            "Adams^1 Elm St^^Newark^DE^19901^0^1\r\nsmith^1 Elm St^^Dover^DE^19901^1^1\r\n");
  EXPECT_FALSE(SelectRecord(book_, 2).has_value());
  EXPECT_FALSE(SelectRecord(book_, -1).has_value());
}

TEST_F(AddressBookTest, NameChangeFlagsANewEntryOnlyWhenTheOtherFieldsAreEmpty) {
  book_.currentRecord = 0;
  NameChanged(book_, {"Ann", "", "", "", "", ""});
  EXPECT_TRUE(book_.newEntryFlag);
  for (int field = 1; field < 6; ++field) {
    AddresseeForm form{"Ann", "", "", "", "", ""};
    std::string* fields[] = {&form.street, &form.suite, &form.city, &form.state, &form.zip};
    *fields[field - 1] = " ";  // a single space is text
    NameChanged(book_, form);
    EXPECT_FALSE(book_.newEntryFlag) << field;
  }
  book_.newEntryFlag = true;
  ClearAddressee(book_);
  EXPECT_EQ(book_.currentRecord, -1);
  EXPECT_FALSE(book_.newEntryFlag);
}

TEST_F(AddressBookTest, BlankNamesAreRefusedBySaveButStoredAfterPrinting) {
  const SaveResult refused = SaveAddressee(fs_, book_, Form("   "));
  EXPECT_EQ(refused.outcome, SaveOutcome::kInvalidName);
  EXPECT_EQ(refused.title, "Invalid Name");
  EXPECT_EQ(refused.text, "You must at least enter a Name to associate this information with");
  EXPECT_EQ(SaveAddressee(fs_, book_, Form("")).outcome, SaveOutcome::kInvalidName);
  EXPECT_TRUE(fs_.files.empty());

  EXPECT_EQ(SaveAfterPrinting(fs_, book_, Form("")).outcome, SaveOutcome::kNothingToSave);
  EXPECT_TRUE(fs_.files.empty());
  ASSERT_EQ(SaveAfterPrinting(fs_, book_, Form("   ")).outcome, SaveOutcome::kSaved);
  ASSERT_EQ(SaveAfterPrinting(fs_, book_, Form("Abe")).outcome, SaveOutcome::kSaved);
  // The new line is written first; the blank-named entry keeps its place behind it.
  EXPECT_EQ(fs_.Content(kBook),
            "Abe^1 Elm St^^Dover^DE^19901^0^1\r\n   ^1 Elm St^^Dover^DE^19901^1^1\r\n");
  ASSERT_EQ(SaveAfterPrinting(fs_, book_, Form("Zed")).outcome, SaveOutcome::kSaved);
  ASSERT_EQ(SaveAfterPrinting(fs_, book_, Form("Aaron")).outcome, SaveOutcome::kSaved);
  // New lines go in front of the blank-named entry and are sorted there; it stays last.
  EXPECT_EQ(fs_.Content(kBook),
            "Aaron^1 Elm St^^Dover^DE^19901^0^1\r\nAbe^1 Elm St^^Dover^DE^19901^1^1\r\n"
            "Zed^1 Elm St^^Dover^DE^19901^2^1\r\n   ^1 Elm St^^Dover^DE^19901^3^1\r\n");
}

TEST_F(AddressBookTest, CharactersABookLineCannotHoldAreRefusedNamingFieldAndCharacter) {
  struct Case {
    int field;
    char c;
    std::string text;
  };
  const std::vector<Case> cases = {
      {0, '^',
       "The \"Name\" field contains \"^\", which an address book cannot store. "
       "Please remove it."},
      {1, '\r',
       "The \"Street Address/Attn:\" field contains a carriage return, which an "
       "address book cannot store. Please remove it."},
      {2, '\n',
       "The \"Optional Suite, Apt\" field contains a line feed, which an address "
       "book cannot store. Please remove it."},
      {3, '\0',
       "The \"City\" field contains a NUL character, which an address book cannot "
       "store. Please remove it."},
      {4, '^',
       "The \"State\" field contains \"^\", which an address book cannot store. "
       "Please remove it."},
      {5, '\n',
       "The \"Zipcode\" field contains a line feed, which an address book cannot "
       "store. Please remove it."},
  };
  Open(kTwo);
  for (const Case& c : cases) {
    for (bool afterPrinting : {false, true}) {
      AddresseeForm form = Form("Zorn");
      std::string* fields[] = {&form.name, &form.street, &form.suite,
                               &form.city, &form.state,  &form.zip};
      fields[c.field]->insert(fields[c.field]->size() / 2, 1, c.c);
      book_.currentRecord = 1;
      const SaveResult r =
          afterPrinting ? SaveAfterPrinting(fs_, book_, form) : SaveAddressee(fs_, book_, form);
      EXPECT_EQ(r.outcome, SaveOutcome::kInvalidCharacter);
      EXPECT_EQ(r.title, "Invalid Character");
      EXPECT_EQ(r.text, c.text);
      EXPECT_EQ(fs_.Content(kBook), kTwo);
      EXPECT_EQ(book_.currentRecord, 1);
    }
  }
}

TEST_F(AddressBookTest, FailedRewriteLeavesFileStateAndFormAsTheyWere) {
  const std::string unsorted =
      "smith^1 Elm St^^Dover^DE^19901^0^1\r\nAdams^1 Elm St^^Dover^DE^19901^1^1\r\n";
  struct Case {
    Op op;
    std::string path;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {Op::Copy, kBackup, "The backup copy C:\\books\\Friends.bak could not be made."},
      {Op::Create, kBook + ".new", "C:\\books\\Friends.adb could not be written."},
      {Op::Write, kBook + ".new", "C:\\books\\Friends.adb could not be written."},
      {Op::Flush, kBook + ".new", "C:\\books\\Friends.adb could not be written."},
      {Op::Close, kBook + ".new", "C:\\books\\Friends.adb could not be written."},
      {Op::Rename, kBook, "C:\\books\\Friends.adb could not be written."},
  };
  for (const Case& c : cases) {
    for (int command = 0; command < 3; ++command) {  // add, update, delete
      MemoryFileSystem fs;
      fs.folders.insert(kDir);
      fs.files[kBook] = kTwo;
      AddressBook book = book_;
      ASSERT_TRUE(ReadAddressbook(fs, book).ok);
      fs.files[kBook] = unsorted;  // proves that the file is not rewritten at all
      fs.FailOn(c.op, c.path);
      book.currentRecord = command == 0 ? -1 : 0;
      book.newEntryFlag = false;
      const std::vector<AddressEntry> entries = book.entries;
      std::string title, text;
      if (command < 2) {
        const SaveResult r = SaveAddressee(fs, book, Form("Zorn"));
        EXPECT_EQ(r.outcome, SaveOutcome::kSaveFailed);
        title = r.title;
        text = r.text;
      } else {
        const DeleteResult r = DeleteCurrentRecord(fs, book);
        EXPECT_EQ(r.outcome, DeleteOutcome::kDeleteFailed);
        title = r.title;
        text = r.text;
      }
      SCOPED_TRACE(::testing::Message() << static_cast<int>(c.op) << " command " << command);
      EXPECT_EQ(title, "Address Book Not Saved");
      EXPECT_EQ(text, "The address book could not be saved. " + c.reason);
      EXPECT_EQ(fs.Content(kBook), unsorted);
      EXPECT_FALSE(fs.Has(kBook + ".new"));
      EXPECT_EQ(book.entries, entries);
      EXPECT_EQ(book.currentRecord, command == 0 ? -1 : 0);
    }
  }
}

TEST_F(AddressBookTest, FailedSortOnReadingKeepsTheFileAndStillSortsTheBook) {
  const std::string unsorted = "b^^^^^^0^1\r\na^^^^^^9^1\r\n^^^^^^^1^1";
  fs_.files[kBook] = unsorted;
  fs_.FailOn(Op::Rename, kBook);
  const StoreResult r = ReadAddressbook(fs_, book_);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.reason, "C:\\books\\Friends.adb could not be written. It is kept unsorted.");
  EXPECT_EQ(fs_.Content(kBook), unsorted);
  ASSERT_EQ(book_.entries.size(), 2u);
  EXPECT_EQ(book_.entries[0], (AddressEntry{"a", "", "", "", "", "", "0", "1"}));
  EXPECT_EQ(book_.entries[1], (AddressEntry{"b", "", "", "", "", "", "1", "1"}));
}

TEST_F(AddressBookTest, ReadingSortsTheFileAndNumbersByPosition) {
  Open("zed^^^^^^7^1\nAl^^^^^^7^\n\n   ^x\n");
  EXPECT_EQ(fs_.Content(kBook), "Al^^^^^^0^\r\nzed^^^^^^1^1\r\n   ^x^^^^^2^\r\n");
  EXPECT_FALSE(fs_.Has(kBackup));
  ASSERT_EQ(book_.entries.size(), 3u);
  EXPECT_EQ(book_.entries[2].number, "2");

  // Rereading keeps the stored numbers and the file order.
  fs_.files[kBook] = "b^^^^^^5^1\na^^^^^^3^1";
  ASSERT_TRUE(RereadAddressbook(fs_, book_).ok);
  ASSERT_EQ(book_.entries.size(), 2u);
  EXPECT_EQ(book_.entries[0].number, "5");
  EXPECT_EQ(fs_.Content(kBook), "b^^^^^^5^1\na^^^^^^3^1");
}

TEST_F(AddressBookTest, DeletingDropsTheCurrentRecordAndRenumbers) {
  Open("a^^^^^^0^1\r\nb^^^^^^1^1\r\nc^^^^^^2^1\r\n");
  book_.currentRecord = 1;
  book_.newEntryFlag = true;
  EXPECT_EQ(DeleteCurrentRecord(fs_, book_).outcome, DeleteOutcome::kDeleted);
  EXPECT_EQ(fs_.Content(kBook), "a^^^^^^0^1\r\nc^^^^^^1^1\r\n");
  EXPECT_EQ(fs_.Content(kBackup), "a^^^^^^0^1\r\nb^^^^^^1^1\r\nc^^^^^^2^1\r\n");
  EXPECT_EQ(book_.entries.size(), 2u);
  EXPECT_EQ(book_.currentRecord, -1);
  EXPECT_FALSE(book_.newEntryFlag);

  EXPECT_EQ(DeleteCurrentRecord(fs_, book_).outcome, DeleteOutcome::kNoCurrentRecord);
  EXPECT_EQ(fs_.Content(kBackup), "a^^^^^^0^1\r\nb^^^^^^1^1\r\nc^^^^^^2^1\r\n");
}

// A book stays in the code page, byte for byte, until a name needs more; it is UTF-8
// after the mark while such a name is in it, and in the code page again once it goes.
TEST_F(AddressBookTest, TheBookIsUtf8OnlyWhileANameTheCodePageLacksIsInIt) {
  Open("J\xFCrgen^^^^^^0^1\r\n");
  EXPECT_EQ(fs_.Content(kBook), "J\xFCrgen^^^^^^0^1\r\n");  // read and sorted: unchanged
  EXPECT_EQ(book_.entries[0].name, "J\xC3\xBCrgen");
  ASSERT_EQ(SaveAddressee(fs_, book_, {"\xC5\x81ukasz", "", "", "", "", ""}).outcome,
            SaveOutcome::kSaved);
  EXPECT_EQ(fs_.Content(kBook), "\xEF\xBB\xBFJ\xC3\xBCrgen^^^^^^0^1\r\n\xC5\x81ukasz^^^^^^1^1\r\n");
  EXPECT_EQ(fs_.Content(kBackup), "J\xFCrgen^^^^^^0^1\r\n");
  ASSERT_TRUE(SelectRecord(book_, 1));
  EXPECT_EQ(DeleteCurrentRecord(fs_, book_).outcome, DeleteOutcome::kDeleted);
  EXPECT_EQ(fs_.Content(kBook), "J\xFCrgen^^^^^^0^1\r\n");
  // A marked book whose bytes are no UTF-8 keeps the rest of its text.
  Open(
      "\xEF\xBB\xBF"
      "Ann\xFF^^^^^^0^1\r\n");
  EXPECT_EQ(book_.entries[0].name, "Ann\xEF\xBF\xBD");
}

TEST_F(AddressBookTest, DeletingTheOnlyEntryLeavesAnEmptyFileAndTheEntryInTheBackup) {
  Open("only^^^^^^0^1\r\n");
  book_.currentRecord = 0;
  EXPECT_EQ(DeleteCurrentRecord(fs_, book_).outcome, DeleteOutcome::kDeleted);
  EXPECT_EQ(fs_.Content(kBook), "");
  EXPECT_EQ(fs_.Content(kBackup), "only^^^^^^0^1\r\n");
  EXPECT_TRUE(book_.entries.empty());
}

TEST_F(AddressBookTest, MissingBookIsEmptyAndTheLookupCreatesItEmpty) {
  ASSERT_TRUE(ReadAddressbook(fs_, book_).ok);
  EXPECT_TRUE(book_.entries.empty());
  EXPECT_TRUE(fs_.files.empty());

  ASSERT_TRUE(RereadAddressbook(fs_, book_).ok);  // opening the lookup window
  EXPECT_EQ(fs_.Content(kBook), "");
  ASSERT_EQ(SaveAddressee(fs_, book_, Form("Ann")).outcome, SaveOutcome::kSaved);
  EXPECT_EQ(fs_.Content(kBackup), "");
  EXPECT_EQ(fs_.Content(kBook), "Ann^1 Elm St^^Dover^DE^19901^0^1\r\n");
}

TEST_F(AddressBookTest, SameNameTwiceMakesTwoEntriesInSaveOrder) {
  ASSERT_EQ(SaveAddressee(fs_, book_, Form("Ann", "Dover")).outcome, SaveOutcome::kSaved);
  ASSERT_EQ(SaveAddressee(fs_, book_, Form("Ann", "Lewes")).outcome, SaveOutcome::kSaved);
  // The newer one was written first and equal names keep their order.
  EXPECT_EQ(fs_.Content(kBook),
            "Ann^1 Elm St^^Lewes^DE^19901^0^1\r\nAnn^1 Elm St^^Dover^DE^19901^1^1\r\n");
}

// The same save on the real disk: the atomic replace leaves only the book and its backup.
TEST(AddressBookOnDiskTest, SmithThenAdamsByteForByte) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qr_book_test_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  AddressBook book;
  book.directory = dir.string() + "/";
  book.fileName = "Friends.adb";
  FileSystem& fs = SystemFileSystem();
  ASSERT_EQ(SaveAddressee(fs, book, Form("smith")).outcome, SaveOutcome::kSaved);
  ASSERT_EQ(SaveAddressee(fs, book, Form("Adams")).outcome, SaveOutcome::kSaved);
  std::string bytes;
  ASSERT_TRUE(fs.ReadFile(book.directory + "Friends.adb", &bytes));
  EXPECT_EQ(bytes, kTwo);
  ASSERT_TRUE(fs.ReadFile(book.directory + "Friends.bak", &bytes));
  EXPECT_EQ(bytes, "smith^1 Elm St^^Dover^DE^19901^0^1\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qr
