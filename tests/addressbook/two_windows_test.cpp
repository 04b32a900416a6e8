// Two windows on one book. Window B's whole change runs just before each file operation
// of window A's change in turn, then once after it. Whatever the interleaving, the book
// ends with every entry either window stored; a window that finds the book locked waits
// five seconds, says the book is in use and leaves every file byte for byte, and when
// asked again it goes through. A lock file that a program which died left behind is no
// obstacle.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/contacts_import.h"
#include "base/file_lock.h"
#include "support/memory_file_system.h"
#include "support/step_clock.h"

namespace qr {
namespace {

using testing::MemoryFileSystem;
using testing::StepClock;

const std::string kDir = "C:\\books\\";
const std::string kBook = kDir + "Shared.adb";
const std::string kContacts = kDir + "contacts.csv";
const std::string kStart =
    "Carol^3 Elm St^^Boston^MA^02108^0^1\r\n"
    "Dave^4 Oak Ave^^Denver^CO^80202^1^1\r\n"
    "Erin^5 Pine Rd^^Austin^TX^73301^2^1\r\n";

enum class Kind { kAdd, kUpdate, kDelete, kImport };

// What one window does: add the form; or look up `target` and save the form over it, or
// delete it; or import the form from a CSV file.
struct Change {
  Kind kind;
  std::string target;
  AddresseeForm form;
};

struct Window {
  AddressBook book;
  StepClock clock;
};

struct Outcome {
  bool busy = false;
  bool notice = false;
};

// Opens the book as at start-up and looks up the entry to change; an import's file is
// put in place.
Window OpenWindow(MemoryFileSystem& fs, const Change& change) {
  if (change.kind == Kind::kImport) {
    const AddresseeForm& f = change.form;
    fs.files[kContacts] = "Name,Street,Suite,City,State,Zip\n" + f.name + "," + f.street + "," +
                          f.suite + "," + f.city + "," + f.state + "," + f.zip + "\n";
  }
  Window w;
  w.book.directory = kDir;
  w.book.fileName = "Shared.adb";
  EXPECT_TRUE(ReadAddressbook(fs, w.book).ok);
  if (change.kind == Kind::kUpdate || change.kind == Kind::kDelete) {
    const auto& e = w.book.entries;
    const auto at = std::find_if(
        e.begin(), e.end(), [&](const AddressEntry& entry) { return entry.name == change.target; });
    EXPECT_NE(at, e.end()) << change.target;
    SelectRecord(w.book, static_cast<int>(at - e.begin()));
  }
  return w;
}

Outcome Apply(MemoryFileSystem& fs, Window& w, const Change& change) {
  const AddressBook before = w.book;
  std::string title, text;
  bool failed = false;
  if (change.kind == Kind::kDelete) {
    const DeleteResult r = DeleteCurrentRecord(fs, w.book, w.clock);
    failed = r.outcome == DeleteOutcome::kDeleteFailed;
    title = r.title;
    text = r.text;
  } else if (change.kind == Kind::kImport) {
    const ImportResult r = ImportContacts(fs, w.book, kContacts, w.clock);
    failed = r.outcome == ImportOutcome::kInUse;
    title = failed ? "Address Book Not Saved" : "";
    text = failed ? r.text : "";
    EXPECT_TRUE(failed || r.text == "Imported 1 contact into Shared.adb.") << r.text;
  } else {
    const SaveResult r = SaveAddressee(fs, w.book, change.form, w.clock);
    failed = r.outcome == SaveOutcome::kSaveFailed;
    title = r.title;
    text = r.text;
  }
  if (failed) {
    // Only another window's lock stops a change here; it then changes nothing.
    EXPECT_EQ(title, "Address Book Not Saved");
    EXPECT_EQ(text, "The address book is in use in another window. Try again.");
    EXPECT_GE(w.clock.now, kLockWaitLimit);
    EXPECT_EQ(w.book.entries, before.entries);
    EXPECT_EQ(w.book.currentRecord, before.currentRecord);
    return {true, false};
  }
  if (!text.empty()) {
    EXPECT_EQ(title, "Address Book");
    EXPECT_NE(text.find("was changed or deleted in another window"), std::string::npos) << text;
  }
  return {false, !text.empty()};
}

// The six fields of every entry of a book file, sorted as text (entries of one name may
// come in either order).
std::vector<std::string> Addresses(const std::string& bytes) {
  std::vector<std::string> out;
  for (const AddressEntry& e : ParseBookFile(bytes)) {
    out.push_back(e.name + "^" + e.street + "^" + e.suite + "^" + e.city + "^" + e.state + "^" +
                  e.zip);
  }
  std::sort(out.begin(), out.end());
  return out;
}

AddresseeForm Moved(std::string name, std::string street, std::string city) {
  return {std::move(name), std::move(street), "", std::move(city), "NV", "89501"};
}

TEST(TwoWindowsTest, EveryInterleavingOfTwoChangesKeepsWhatBothStored) {
  const AddresseeForm alice{"Alice Able", "1 Main St", "", "Albany", "NY", "12207"};
  const AddresseeForm bob{"Bob Baker", "2 Mill Ln", "", "Boise", "ID", "83702"};
  const std::string carol = "Carol^3 Elm St^^Boston^MA^02108";
  const std::string dave = "Dave^4 Oak Ave^^Denver^CO^80202";
  const std::string erin = "Erin^5 Pine Rd^^Austin^TX^73301";
  const struct {
    const char* name;
    Change a, b;
    std::vector<std::string> book;  // sorted as text
    int notices;                    // of the two windows together
  } rows[] = {
      {"two adds",
       {Kind::kAdd, "", alice},
       {Kind::kAdd, "", bob},
       {"Alice Able^1 Main St^^Albany^NY^12207", "Bob Baker^2 Mill Ln^^Boise^ID^83702", carol, dave,
        erin},
       0},
      {"an add moves the entry another window updates",
       {Kind::kAdd, "", alice},
       {Kind::kUpdate, "Dave", Moved("Dave", "4 Oak Ave", "Reno")},
       {"Alice Able^1 Main St^^Albany^NY^12207", carol, "Dave^4 Oak Ave^^Reno^NV^89501", erin},
       0},
      {"an add moves the entry another window deletes",
       {Kind::kAdd, "", alice},
       {Kind::kDelete, "Erin", {}},
       {"Alice Able^1 Main St^^Albany^NY^12207", carol, dave},
       0},
      {"an import and an add",
       {Kind::kImport, "", alice},
       {Kind::kAdd, "", bob},
       {"Alice Able^1 Main St^^Albany^NY^12207", "Bob Baker^2 Mill Ln^^Boise^ID^83702", carol, dave,
        erin},
       0},
      {"an import and a delete",
       {Kind::kDelete, "Carol", {}},
       {Kind::kImport, "", bob},
       {"Bob Baker^2 Mill Ln^^Boise^ID^83702", dave, erin},
       0},
      {"updates of two entries",
       {Kind::kUpdate, "Carol", Moved("Carla", "3 Elm St", "Reno")},
       {Kind::kUpdate, "Erin", Moved("Erin", "9 New Rd", "Reno")},
       {"Carla^3 Elm St^^Reno^NV^89501", dave, "Erin^9 New Rd^^Reno^NV^89501"},
       0},
      {"a delete, then an update of the same entry",
       {Kind::kDelete, "Dave", {}},
       {Kind::kUpdate, "Dave", Moved("Dave", "4 Oak Ave", "Reno")},
       {carol, "Dave^4 Oak Ave^^Reno^NV^89501", erin},
       1},
      {"an update, then a delete of the same entry",
       {Kind::kUpdate, "Dave", Moved("Dave", "4 Oak Ave", "Reno")},
       {Kind::kDelete, "Dave", {}},
       {carol, "Dave^4 Oak Ave^^Reno^NV^89501", erin},
       1},
      {"two updates of the same entry",
       {Kind::kUpdate, "Dave", Moved("Dave", "4 Oak Ave", "Reno")},
       {Kind::kUpdate, "Dave", Moved("Dave", "4 Oak Ave", "Lima")},
       {carol, "Dave^4 Oak Ave^^Lima^NV^89501", "Dave^4 Oak Ave^^Reno^NV^89501", erin},
       1},
      {"two deletes of the same entry",
       {Kind::kDelete, "Dave", {}},
       {Kind::kDelete, "Dave", {}},
       {carol, erin},
       1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    int busy = 0;
    for (int point = 1;; ++point) {
      SCOPED_TRACE("window B just before operation " + std::to_string(point) + " of window A");
      MemoryFileSystem fs;
      fs.folders.insert(kDir);
      fs.files[kBook] = kStart;
      fs.files[kBook + ".lock"] = "";  // left by a program that died: no obstacle
      Window a = OpenWindow(fs, row.a);
      Window b = OpenWindow(fs, row.b);
      Outcome inside;
      fs.InterleaveAt(point, [&] {
        const auto before = fs.files;
        inside = Apply(fs, b, row.b);
        if (inside.busy) {
          EXPECT_EQ(fs.files, before) << "a window that gave up changed a file";
        }
      });
      const Outcome first = Apply(fs, a, row.a);
      ASSERT_FALSE(first.busy);
      const bool interleaved = fs.interleaved();
      fs.InterleaveAt(0, nullptr);
      int notices = first.notice + inside.notice;
      if (inside.busy) ++busy;
      if (!interleaved || inside.busy) {
        // B after A: B's own turn, or asked again after it gave up.
        const Outcome after = Apply(fs, b, row.b);
        EXPECT_FALSE(after.busy);
        notices += after.notice;
      }
      EXPECT_EQ(Addresses(fs.files[kBook]), row.book);
      EXPECT_EQ(notices, row.notices);
      EXPECT_TRUE(fs.heldLocks.empty());
      for (const auto& [path, bytes] : fs.files) {
        EXPECT_TRUE(path == kBook || path == kDir + "Shared.bak" || path == kContacts)
            << path << " left behind";
      }
      if (!interleaved) break;
    }
    EXPECT_GT(busy, 5) << "window B never found the book locked";
  }
}

}  // namespace
}  // namespace qr
