// Every failed file operation during a save, a delete or a settings write leaves the file
// with either its old or its new content, byte for byte, and the result says which: a
// failure whenever the old content stayed. Each case runs once per operation N = 1, 2, ...
// until the command completes without reaching N, once failing only operation N and once
// failing N and everything after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/book_file.h"
#include "app/settings.h"
#include "base/preference_file.h"
#include "support/fault_file_system.h"

namespace qr {
namespace {

using testing::FaultFileSystem;

constexpr char kBook[] = "Addresses.adb";
constexpr char kCompanion[] = "Addresses.inf";

// Runs `scenario` for every fault position in both modes. The scenario builds its state
// on the file system it is given (with faults off), arms it with `arm`, runs the command
// and checks the outcome. Returns how many faulted runs there were.
int ForEachFault(
    const std::function<void(FaultFileSystem&, const std::function<void()>& arm)>& scenario) {
  int faulted = 0;
  for (const bool persistent : {false, true}) {
    bool completed = false;
    for (int n = 1; n < 1000 && !completed; ++n) {
      FaultFileSystem fs;
      auto arm = [&] {
        fs.failAt = n;
        fs.persistent = persistent;
        fs.operations = 0;
        fs.log.clear();
      };
      SCOPED_TRACE((persistent ? "operations from " : "only operation ") + std::to_string(n) +
                   " failing");
      scenario(fs, arm);
      completed = !fs.faultInjected;
      if (!completed) ++faulted;
    }
    EXPECT_TRUE(completed) << "the command never got past the injected faults";
  }
  return faulted;
}

std::string Trace(const FaultFileSystem& fs) { return "operations:\n" + fs.Sequence(); }

std::optional<std::string> FileOf(const FaultFileSystem& fs, const std::string& path) {
  const auto it = fs.files.find(path);
  if (it == fs.files.end()) return std::nullopt;
  return it->second;
}

// A book of three addressees, read (and so sorted) as the program does at start-up.
AddressBook OpenBook(FaultFileSystem& fs, bool withFile = true) {
  if (withFile) {
    fs.files[kBook] =
        "Carol King^3 Elm St^^Boston^MA^02108^0^1\r\n"
        "alan turing^9 Oak Ave^Apt 2^Denver^CO^80202^1^1\r\n"
        "Bea Arthur^1 Pine Rd^^Austin^TX^73301^2^\r\n";
  }
  AddressBook book;
  book.fileName = kBook;
  EXPECT_TRUE(ReadAddressbook(fs, book).ok);
  return book;
}

// The store's commands, run without faults, give the content every faulted run is held to.
struct Expected {
  std::optional<std::string> oldFile;
  std::string newFile;
};

template <typename Command>
Expected WithoutFaults(Command command, bool withFile = true) {
  FaultFileSystem fs;
  AddressBook book = OpenBook(fs, withFile);
  Expected expected{FileOf(fs, kBook), {}};
  command(fs, book);
  expected.newFile = *FileOf(fs, kBook);
  return expected;
}

// The named lines of a book file without their running numbers, in sorted order: what a
// book holds, however it is ordered.
std::vector<std::string> NamedSorted(const std::string& bytes) {
  std::vector<std::string> out;
  for (AddressEntry e : ParseBookFile(bytes)) {
    if (e.name.empty()) continue;
    out.push_back(e.name + "^" + e.street + "^" + e.suite + "^" + e.city + "^" + e.state + "^" +
                  e.zip + "^" + e.listed);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The save cases: a new addressee, an update of the current record, the first addressee
// of a book whose file does not exist yet, and the save after printing.
struct SaveCase {
  const char* name;
  bool withFile;
  int select;  // the record made current first, or -1
  AddresseeForm form;
  bool afterPrinting;
};

SaveResult RunSave(FaultFileSystem& fs, AddressBook& book, const SaveCase& c) {
  return c.afterPrinting ? SaveAfterPrinting(fs, book, c.form) : SaveAddressee(fs, book, c.form);
}

TEST(StoreFaults, SaveLeavesOldOrNewBookAndSaysWhich) {
  const SaveCase cases[] = {
      {"new addressee", true, -1, {"Mona Lisa", "5 Art Way", "", "Paris", "TX", "75460"}, false},
      {"update current record",
       true,
       1,
       {"Bea Arthur", "2 New St", "", "Austin", "TX", "73301"},
       false},
      {"first addressee, no file yet", false, -1, {"Zed", "", "", "", "", ""}, false},
      {"save after printing", true, -1, {"  ", "", "", "", "", "12345"}, true},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected expected = WithoutFaults(
        [&](FaultFileSystem& fs, AddressBook& book) {
          if (c.select >= 0) SelectRecord(book, c.select);
          ASSERT_EQ(RunSave(fs, book, c).outcome, SaveOutcome::kSaved);
        },
        c.withFile);
    ASSERT_NE(expected.newFile.find(c.form.street), std::string::npos);
    ASSERT_NE(std::optional(expected.newFile), expected.oldFile);

    const int faulted = ForEachFault([&](FaultFileSystem& fs, const auto& arm) {
      AddressBook book = OpenBook(fs, c.withFile);
      if (c.select >= 0) SelectRecord(book, c.select);
      const AddressBook before = book;
      arm();
      const SaveResult result = RunSave(fs, book, c);
      const std::optional<std::string> file = FileOf(fs, kBook);
      SCOPED_TRACE(Trace(fs));
      if (result.outcome == SaveOutcome::kSaveFailed) {
        EXPECT_EQ(file, expected.oldFile) << "a failed save changed the book file";
        EXPECT_EQ(book.entries, before.entries);
        EXPECT_EQ(book.currentRecord, before.currentRecord);
        EXPECT_FALSE(result.text.empty());
      } else {
        ASSERT_EQ(result.outcome, SaveOutcome::kSaved);
        ASSERT_TRUE(file.has_value()) << "saved, but the book file is gone";
        // The new content, sorted; or unsorted when only the sorting rewrite failed, which
        // the notice then says.
        const std::string unsorted = FormatBookFile(ParseBookFile(*file));
        if (*file != expected.newFile) {
          EXPECT_EQ(NamedSorted(*file), NamedSorted(expected.newFile));
          EXPECT_EQ(*file, unsorted);
          EXPECT_FALSE(result.text.empty()) << "the book was left unsorted without a word";
        }
        EXPECT_EQ(book.currentRecord, -1);
      }
      // Whatever happened, the next save without faults works and keeps every addressee.
      fs.failAt = 0;
      const AddresseeForm next{"Next One", "7 Last Ln", "", "Reno", "NV", "89501"};
      ASSERT_EQ(SaveAddressee(fs, book, next).outcome, SaveOutcome::kSaved);
      const std::string after = *FileOf(fs, kBook);
      EXPECT_NE(after.find("Next One"), std::string::npos);
      for (const AddressEntry& e : ParseBookFile(expected.oldFile.value_or(""))) {
        if (c.select >= 0 && e.name == c.form.name) continue;  // the updated record
        EXPECT_NE(after.find(e.name + "^" + e.street), std::string::npos) << "lost " << e.name;
      }
    });
    EXPECT_GT(faulted, 4);
  }
}

TEST(StoreFaults, DeleteLeavesOldOrNewBookAndSaysWhich) {
  for (const int record : {0, 2}) {
    SCOPED_TRACE("deleting record " + std::to_string(record));
    const Expected expected = WithoutFaults([&](FaultFileSystem& fs, AddressBook& book) {
      SelectRecord(book, record);
      ASSERT_EQ(DeleteCurrentRecord(fs, book).outcome, DeleteOutcome::kDeleted);
    });
    ASSERT_EQ(ParseBookFile(expected.newFile).size(), 2u);

    const int faulted = ForEachFault([&](FaultFileSystem& fs, const auto& arm) {
      AddressBook book = OpenBook(fs);
      SelectRecord(book, record);
      const AddressBook before = book;
      arm();
      const DeleteResult result = DeleteCurrentRecord(fs, book);
      const std::optional<std::string> file = FileOf(fs, kBook);
      SCOPED_TRACE(Trace(fs));
      if (result.outcome == DeleteOutcome::kDeleteFailed) {
        EXPECT_EQ(file, expected.oldFile) << "a failed delete changed the book file";
        EXPECT_EQ(book.entries, before.entries);
        EXPECT_EQ(book.currentRecord, record);
        EXPECT_FALSE(result.text.empty());
      } else {
        ASSERT_EQ(result.outcome, DeleteOutcome::kDeleted);
        EXPECT_EQ(file, expected.newFile);
        EXPECT_EQ(book.entries, ParseBookFile(expected.newFile));
      }
    });
    EXPECT_GT(faulted, 4);
  }
}

// The settings files: a changed file written back by PreferenceFile::Close, and an address
// book's settings saved by SaveBookSettings, for a file in the code page and one in UTF-8.
TEST(StoreFaults, SettingsCloseLeavesOldOrNewFileAndSaysWhich) {
  const std::string files[] = {
      "[Application]\r\nVersion = 2.80\r\n[Sender Address]\r\nName = Ann\r\n",
      "\xEF\xBB\xBF\r\n[Sender Address]\r\nName = Jos\xC3\xA9\r\n",
  };
  struct Writer {
    const char* name;
    std::function<bool(FaultFileSystem&)> write;
  };
  const Writer writers[] = {
      {"PreferenceFile::Close",
       [](FaultFileSystem& fs) {
         PreferenceFile pf(fs);
         if (!pf.Open(kCompanion)) return false;
         pf.SelectGroup("Sender Address");
         pf.WriteText("Name", "Bo\xE9");
         pf.SelectGroup("Windows Defaults");
         pf.WriteNumber("WindowX", 40);
         return pf.Close();
       }},
      {"SaveBookSettings",
       [](FaultFileSystem& fs) {
         PreferenceFile pf(fs);
         BookSettings s;
         s.senderName = "Dee";
         s.defaultPrinter = "PDF";
         s.windowX = 12;
         return SaveBookSettings(pf, kCompanion, kBook, s);
       }},
  };
  for (const Writer& writer : writers) {
    for (const std::string& old : files) {
      SCOPED_TRACE(std::string(writer.name) + " on " + old);
      FaultFileSystem clean;
      clean.files[kCompanion] = old;
      ASSERT_TRUE(writer.write(clean));
      const std::string expectedNew = clean.files[kCompanion];
      ASSERT_NE(expectedNew, old);

      const int faulted = ForEachFault([&](FaultFileSystem& fs, const auto& arm) {
        fs.files[kCompanion] = old;
        arm();
        const bool ok = writer.write(fs);
        SCOPED_TRACE(Trace(fs));
        if (ok) {
          EXPECT_EQ(fs.files[kCompanion], expectedNew);
        } else {
          EXPECT_EQ(fs.files[kCompanion], old) << "a failed write changed the settings file";
        }
      });
      EXPECT_GT(faulted, 3);
    }
  }
}

}  // namespace
}  // namespace qr
