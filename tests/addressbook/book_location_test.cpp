#include "addressbook/book_location.h"

#include <gtest/gtest.h>

#include <vector>

#include "address_entry_print.h"
#include "support/memory_file_system.h"

namespace qr {
namespace {

using testing::MemoryFileSystem;

TEST(BookLocationTest, DialogAnswersChooseDirectoryAndBookFile) {
  const BookLocation current{"C:\\books\\", "Friends.adb"};
  struct Case {
    std::string answer;
    BookLocation chosen;
    bool cancelled;
  };
  const std::vector<Case> cases = {
      {"C:\\data\\Work.adb", {"C:\\data\\", "Work.adb"}, false},
      {"C:\\data\\Work", {"C:\\data\\", "Work.adb"}, false},
      {"C:\\data\\Work.ADB", {"C:\\data\\", "Work.ADB.adb"}, false},
      {"C:\\data\\notes.bak", {"C:\\data\\", "notes.bak.adb"}, false},
      {"Z:/tmp/x/a.adb.old", {"Z:/tmp/x/", "a.adb.old"}, false},
      {"plain", {"", "plain.adb"}, false},
      {"", current, true},
      {"C:\\data\\", current, true},
      {"C:\\data\\.adb", current, true},
  };
  for (const Case& c : cases) {
    const BookChoice choice = ChooseBook(c.answer, current);
    EXPECT_EQ(choice.location, c.chosen) << c.answer;
    EXPECT_EQ(choice.cancelled, c.cancelled) << c.answer;
  }
}

TEST(BookLocationTest, NewBookHoldsTheSampleAndBacksUpAReplacedFile) {
  MemoryFileSystem fs;
  fs.folders.insert("C:\\b\\");
  fs.files["C:\\b\\Old.adb"] = "keep^^^^^^0^1\r\n";
  AddressBook book;
  book.currentRecord = 3;
  ASSERT_TRUE(CreateAddressbook(fs, book, {"C:\\b\\", "Old.adb"}).ok);
  const std::string sample =
      "Oak Hardware Supply^1200 Main Street, Box 42^^Springfield^IL^62701^0^1\r\n";
  EXPECT_EQ(fs.Content("C:\\b\\Old.adb"), sample);
  EXPECT_EQ(fs.Content("C:\\b\\Old.bak"), "keep^^^^^^0^1\r\n");
  EXPECT_EQ(book.FilePath(), "C:\\b\\Old.adb");
  ASSERT_EQ(book.entries.size(), 1u);
  EXPECT_EQ(book.entries[0], SampleEntry());
  EXPECT_EQ(book.currentRecord, -1);

  // A book that cannot be created leaves everything as it was.
  fs.FailOn(MemoryFileSystem::Op::Create, "New.adb.new");
  const StoreResult failed = CreateAddressbook(fs, book, {"C:\\b\\", "New.adb"});
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.reason, "C:\\b\\New.adb could not be written.");
  EXPECT_EQ(book.fileName, "Old.adb");
  EXPECT_FALSE(fs.Has("C:\\b\\New.adb"));
}

TEST(BookLocationTest, OpeningSwitchesBooksAndAMissingFileIsAnEmptyBook) {
  MemoryFileSystem fs;
  fs.folders.insert("D:\\x\\");
  fs.files["D:\\x\\Other.adb"] = "b^^^^^^0^1\nA^^^^^^1^1\n";
  AddressBook book;
  book.entries.push_back({"stale", "", "", "", "", "", "0", "1"});
  book.currentRecord = 0;
  book.newEntryFlag = true;
  ASSERT_TRUE(OpenAddressbook(fs, book, {"D:\\x\\", "Other.adb"}).ok);
  ASSERT_EQ(book.entries.size(), 2u);
  EXPECT_EQ(book.entries[0].name, "A");
  EXPECT_EQ(book.currentRecord, -1);
  EXPECT_FALSE(book.newEntryFlag);

  ASSERT_TRUE(OpenAddressbook(fs, book, {"D:\\x\\", "Missing.adb"}).ok);
  EXPECT_TRUE(book.entries.empty());
  EXPECT_FALSE(fs.Has("D:\\x\\Missing.adb"));

  // A file that cannot be read is reported as not read; one whose sorted form cannot be
  // written back, as not saved.
  fs.FailOn(MemoryFileSystem::Op::Read, "Other.adb");
  const StoreResult unread = OpenAddressbook(fs, book, {"D:\\x\\", "Other.adb"});
  EXPECT_FALSE(unread.ok);
  EXPECT_EQ(StoreFailureTitle(unread), "Address Book Not Read");
  fs.files["D:\\x\\Unsorted.adb"] = "b^^^^^^0^1\nA^^^^^^1^1\n";
  fs.FailOn(MemoryFileSystem::Op::Create, "Unsorted.adb.new");
  const StoreResult unsorted = OpenAddressbook(fs, book, {"D:\\x\\", "Unsorted.adb"});
  EXPECT_FALSE(unsorted.ok);
  EXPECT_EQ(StoreFailureTitle(unsorted), "Address Book Not Saved");
}

TEST(BookLocationTest, ALoadedBookWhoseStoredFolderIsGoneLivesWhereItWasFound) {
  testing::MemoryFileSystem fs;
  fs.folders.insert("C:\\Books\\");
  EXPECT_EQ(BookFolderAfterLoad(fs, "C:\\Books\\", "E:\\Stick\\"), "C:\\Books\\");
  EXPECT_EQ(BookFolderAfterLoad(fs, "C:\\Gone\\", "E:\\Stick\\"), "E:\\Stick\\");
  EXPECT_EQ(BookFolderAfterLoad(fs, "", "E:\\Stick\\"), "");  // the current directory
}

}  // namespace
}  // namespace qr
