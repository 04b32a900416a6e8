// Importing contacts from vCard and CSV files and exporting the book as CSV. One table
// of vCard inputs and one of CSV inputs carry the readers; the rest is the merge into
// the book file and what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressbook/contacts_csv.h"
#include "addressbook/contacts_import.h"
#include "addressbook/contacts_vcard.h"
#include "support/memory_file_system.h"
#include "support/step_clock.h"

namespace qr {

void PrintTo(const Contact& c, std::ostream* os) {
  *os << "{" << c.fields.name << "|" << c.fields.street << "|" << c.fields.suite << "|"
      << c.fields.city << "|" << c.fields.state << "|" << c.fields.zip << "}";
}

namespace {

Contact C(std::string name, std::string street = "", std::string suite = "", std::string city = "",
          std::string state = "", std::string zip = "") {
  return {{name, street, suite, city, state, zip}};
}

std::vector<Contact> ReadAll(std::string_view bytes, std::size_t* incomplete, bool vcard) {
  std::vector<Contact> out;
  const ContactSink sink = [&out](Contact&& c) { out.push_back(std::move(c)); };
  if (vcard) {
    *incomplete = ReadVCards(bytes, sink).incomplete;
  } else {
    const CsvReadResult r = ReadCsvContacts(bytes, sink);
    EXPECT_TRUE(r.columnsKnown);
    *incomplete = r.incomplete;
  }
  return out;
}

struct ReaderCase {
  const char* what;
  std::string input;
  std::vector<Contact> expected;
  std::size_t incomplete = 0;
};

TEST(ContactsTest, ReadsVCards) {
  const ReaderCase cases[] = {
      {"4.0: the ADR with PREF=1 over the first one, folded lines unfolded",
       "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Lee\r\nADR;TYPE=work:;;1 Work Rd;Dover;DE;19901;\r\n"
       "ADR;TYPE=home;PREF=1:;Apt 2;12 Long\r\n  Street;Spring\r\n field;IL;62701;USA\r\n"
       "END:VCARD\r\n",
       {C("Ann Lee", "12 Long Street", "Apt 2", "Springfield", "IL", "62701")}},
      {"3.0: N when there is no FN, TYPE list with pref, PO box as suite, escapes, groups",
       "BEGIN:VCARD\nVERSION:3.0\nN:O'Hara;Kim;;;\nADR:;;9 Other St;X;Y;1;\n"
       "item1.ADR;TYPE=\"home,pref\":PO Box 9;;5 Elm St\\, Rear\\;B;Salem;OR;97301;\n"
       "END:VCARD\n"
       "BEGIN:VCARD\nVERSION:3.0\nFN:Smith\\, Jones\\nand Co\\\\\nEND:VCARD\n",
       {C("Kim O'Hara", "5 Elm St, Rear;B", "PO Box 9", "Salem", "OR", "97301"),
        C("Smith, Jones\nand Co\\")}},
      {"2.1: quoted-printable UTF-8 with a soft line break, bare PREF; every letter kept",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Nowak;=C5="
       "81ukasz\r\n"
       "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=81ukasz Now=\r\nak\r\n"
       "ADR;HOME:;;1 First St;A;B;1\r\n"
       "ADR;WORK;PREF;CHARSET=UTF-8;QUOTED-PRINTABLE:;;ul. D=C5=82uga 5;Krak=C3=B3w;;30-001\r\n"
       "END:VCARD\r\n",
       {C("\xC5\x81ukasz Nowak", "ul. D\xC5\x82uga 5", "", "Krak\xC3\xB3w", "", "30-001")}},
      {"2.1 without CHARSET is the code page; its folded lines keep their blank",
       "BEGIN:VCARD\nVERSION:2.1\nFN:J\xFCrgen\n Bauer\nADR:;;Hauptstr. 1;Berlin;;10115\n"
       "END:VCARD\n",
       {C("J\xC3\xBCrgen Bauer", "Hauptstr. 1", "", "Berlin", "", "10115")}},
      {"cards without a name are read as they are; a blank FN gives way to N",
       "BEGIN:VCARD\nVERSION:3.0\nADR:;;1 Nowhere;;;\nEND:VCARD\nBEGIN:VCARD\nEND:VCARD\n"
       "BEGIN:VCARD\nVERSION:3.0\nFN:  \nN:Doe;Jane\nEND:VCARD\n",
       {C("", "1 Nowhere"), C(""), C("Jane Doe")}},
      {"a card cut off by the next BEGIN and one cut off by the end of the file",
       "BEGIN:VCARD\nFN:First\nBEGIN:VCARD\nFN:Second\nEND:VCARD\nBEGIN:VCARD\nFN:Third\n",
       {C("Second")},
       2},
      {"an agent's card inside a card is no contact of its own",
       "BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nFN:Assistant\n"
       "END:VCARD\nADR:;;3 Main;Town;ST;12345\nEND:VCARD\n",
       {C("Boss", "3 Main", "", "Town", "ST", "12345")}},
      {"UTF-8 mark, lower-case names, CR line ends, a colon in a quoted parameter",
       "\xEF\xBB\xBF"
       "begin:vcard\rversion:4.0\rfn;x-note=\"a:b\":Zo\xC3\xAB\radr:;;1 \xE6\x9D\xB1 St;;;\r"
       "end:vcard\r",
       {C("Zo\xC3\xAB", "1 \xE6\x9D\xB1 St")}},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::size_t incomplete = 0;
    EXPECT_EQ(ReadAll(c.input, &incomplete, true), c.expected);
    EXPECT_EQ(incomplete, c.incomplete);
  }
}

TEST(ContactsTest, ReadsCsvShapes) {
  const ReaderCase cases[] = {
      {"plain: quoted fields, doubled quotes, a line break inside quotes, CR LF",
       "Name,Street,Suite,City,State,Zip\r\n\"Lee, Ann\",\"1 \"\"Oak\"\" Rd\",\"Apt\r\n2\","
       "Dover,DE,19901\r\n\"Ann\"ie,O\"Neil St,,,,\r\n",
       {C("Lee, Ann", "1 \"Oak\" Rd", "Apt\r\n2", "Dover", "DE", "19901"),
        C("Annie", "O\"Neil St")}},
      {"web mail with Name: header names in any case and with blanks; PO box as suite",
       " name ,Given Name,Address 1 - Street,ADDRESS 1 - PO BOX,Address 1 - Extended Address,"
       "Address 1 - City,Address 1 - Region,Address 1 - Postal Code,Phone\n"
       "Kim Park,Kim,5 Elm St,PO Box 9,,Salem,OR,97301,555\n",
       {C("Kim Park", "5 Elm St", "PO Box 9", "Salem", "OR", "97301")}},
      {"web mail with First and Last Name: the extended address comes before the PO box",
       "First Name,Middle Name,Last Name,Address 1 - Street,Address 1 - Extended Address,"
       "Address 1 - PO Box,Address 1 - City,Address 1 - Region,Address 1 - Postal Code\n"
       "Ann,B,Lee,1 Main,Unit 3,PO 4,Dover,DE,19901\n",
       {C("Ann Lee", "1 Main", "Unit 3", "Dover", "DE", "19901")}},
      {"desktop mail: home address, else business; after a UTF-8 mark, UTF-8",
       "\xEF\xBB\xBF"
       "First Name,Last Name,Company,Business Street,Business Street 2,Business City,"
       "Business State,Business Postal Code,Home Street,Home Street 2,Home City,Home State,"
       "Home Postal Code\r\n"
       "Jo,Smith,,9 Biz Rd,Fl 2,Metro,NY,10001,4 Home Ln,,Hamlet,VT,05001\r\n"
       "\xC5\x81ucja,,,9 Biz Rd,Fl 2,Metro,NY,10001,,,,,\r\n",
       {C("Jo Smith", "4 Home Ln", "", "Hamlet", "VT", "05001"),
        C("\xC5\x81ucja", "9 Biz Rd", "Fl 2", "Metro", "NY", "10001")}},
      {"no mark, not UTF-8: the code page; blank lines and rows skipped, nameless and short "
       "rows read",
       "\nName,Street\n\nJ\xFCrgen,Hauptstr. 1\n,,\n,5 Nameless Rd\nShort",
       {C("J\xC3\xBCrgen", "Hauptstr. 1"), C("", "5 Nameless Rd"), C("Short")}},
      {"no mark, valid UTF-8: UTF-8", "Name,Street\n\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E\n",
       {C("\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E")}},
      {"UTF-16 with the low byte first, a character beyond the first plane",
       std::string("\xFF\xFEN\0\x61\0m\0\x65\0,\0S\0t\0r\0\x65\0\x65\0t\0\x0A\0\x41\0=\xD8\0\xDE\x0A\0", 34),
       {C("A\xF0\x9F\x98\x80")}},
      {"UTF-16 with the high byte first", std::string("\xFE\xFF\0N\0\x61\0m\0\x65\0,\0S\0t\0r\0\x65\0\x65\0t\0\x0A\x01\x41\0\x0A", 30),
       {C("\xC5\x81")}},
      {"one quote mark before a formula sign is taken off; other quote marks stay",
       "Name,Street,Suite\n'=1+2,''-3,'Til\n",
       {C("=1+2", "'-3", "'Til")}},
      {"a quote never closed cuts the last record off",
       "Name,Street\nAnn,1 Elm\nBob,\"2 Oak\nCarl,3 Pine\n",
       {C("Ann", "1 Elm")},
       1},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::size_t incomplete = 0;
    EXPECT_EQ(ReadAll(c.input, &incomplete, false), c.expected);
    EXPECT_EQ(incomplete, c.incomplete);
  }
}

const std::string kDir = "C:\\books\\";
const std::string kBook = kDir + "Friends.adb";
const std::string kBackup = kDir + "Friends.bak";
const std::string kFile = "C:\\in\\contacts.csv";
const std::string kStored =
    "Adams^1 Elm St^^Dover^DE^19901^0^1\r\n"
    "Zorn^^^^^^1^1\r\n";

class ImportTest : public ::testing::Test {
 protected:
  ImportTest() {
    fs_.folders.insert(kDir);
    fs_.files[kBook] = kStored;
    book_.directory = kDir;
    book_.fileName = "Friends.adb";
    EXPECT_TRUE(ReadAddressbook(fs_, book_).ok);
    fs_.creates = 0;
  }
  ImportResult Import(const std::string& bytes) {
    fs_.files[kFile] = bytes;
    return ImportContacts(fs_, book_, kFile);
  }
  testing::MemoryFileSystem fs_;
  AddressBook book_;
};

TEST_F(ImportTest, NewContactsGoIntoTheBookInOneRewriteAndTheRestIsReported) {
  SelectRecord(book_, 1);  // Zorn, shown in the form: still the current record after
  const ImportResult r = Import(
      "Name,Street,Suite,City,State,Zip\n"
      " ADAMS , 1 elm st ,,X,Y,Z\n"                   // in the book already
      "Baker,2 Oak^Rd,\"Apt\r\n4\",Salem,OR,97301\n"  // cleaned
      "baker,2 OAK RD ,,,,\n"                         // imported just before
      ",3 No Name,,,,\n"                              // no name
      "\"^\",4 Caret Way,,,,\n"                       // no name once cleaned
      "Carl,,,,,\n"
      "\xD8ystein,5 Elm,,,,\n");  // no mark and no UTF-8: the code page's bytes
  EXPECT_EQ(r.outcome, ImportOutcome::kImported);
  EXPECT_EQ(r.text,
            "Imported 3 contacts into Friends.adb.\n"
            "Skipped 4: 2 without a name, 2 already in the book.");
  EXPECT_EQ(fs_.files[kBook],
            "Adams^1 Elm St^^Dover^DE^19901^0^1\r\n"
            "Baker^2 Oak Rd^Apt  4^Salem^OR^97301^1^1\r\n"
            "Carl^^^^^^2^1\r\n"
            "Zorn^^^^^^3^1\r\n"
            "\xD8ystein^5 Elm^^^^^4^1\r\n");
  EXPECT_EQ(fs_.files[kBackup], kStored);
  EXPECT_EQ(fs_.creates, 1);  // one rewrite: written sorted, nothing to sort on reading
  ASSERT_EQ(book_.entries.size(), 5u);
  EXPECT_EQ(book_.entries[2].name, "Carl");
  EXPECT_EQ(book_.entries[2].number, "2");
  EXPECT_EQ(book_.currentRecord, 3);
  EXPECT_FALSE(r.clearForm);
}

TEST_F(ImportTest, ReportsCardsCutOffShortenedFieldsAndKeepsEveryLetter) {
  SelectRecord(book_, 0);
  fs_.files[kBook] = "Zorn^^^^^^0^1\r\n";  // another window deleted Adams, the current one
  std::string cards = "BEGIN:VCARD\nFN:" + std::string(60 << 20, 'n') + "\nADR:;;" +
                      std::string(1030, 's') + "\nEND:VCARD\n";
  for (int i = 1; i <= 12; ++i) {
    cards += "BEGIN:VCARD\nVERSION:4.0\nFN:\xC5\x81" + std::to_string(i) + "\nEND:VCARD\n";
  }
  const ImportResult r = Import(cards +
                                "BEGIN:VCARD\nFN;QUOTED-PRINTABLE:Nul=00=0DByte\nEND:VCARD\n"
                                "BEGIN:VCARD\nFN:Never Ended\n");
  EXPECT_EQ(r.text,
            "Imported 14 contacts into Friends.adb.\n"
            "Skipped 1: 1 cut off before its end.\n"
            "Fields longer than 1,024 bytes were shortened in 1 contact: " +
                std::string(40, 'n') + "....");
  EXPECT_TRUE(fs_.files[kBook].starts_with("\xEF\xBB\xBF" + std::string(1024, 'n') + "^" +
                                           std::string(1024, 's') + "^^^^^0^1\r\n"));
  EXPECT_NE(fs_.files[kBook].find("\r\nNul  Byte^^^^^^1^1\r\n"), std::string::npos);
  EXPECT_NE(fs_.files[kBook].find("\r\n\xC5\x81" "12^^^^^^6^1\r\n"), std::string::npos);
  EXPECT_TRUE(r.clearForm);
  EXPECT_EQ(book_.currentRecord, -1);
}

TEST_F(ImportTest, RefusedFilesAndFailedWritesLeaveTheBookAsItWas) {
  const struct {
    const char* what;
    std::string bytes;  // the file, or nothing for a file that is not there
    bool present;
    ImportOutcome outcome;
    std::string text;
  } cases[] = {
      {"missing", "", false, ImportOutcome::kRefused, kFile + " could not be read."},
      {"over 64 MiB", std::string(kImportSizeLimit + 1, 'a'), true, ImportOutcome::kRefused,
       kFile + " is larger than 64 MiB and was not imported."},
      {"empty", "", true, ImportOutcome::kRefused, kFile + " is neither a vCard nor a CSV file."},
      {"binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), true, ImportOutcome::kRefused,
       kFile + " is neither a vCard nor a CSV file."},
      {"unknown columns", "Phone, E-mail ,Name\n555,a@b,Ann\n", true, ImportOutcome::kRefused,
       kFile + " has no columns for a name and an address. Its columns are \"Phone\", "
               "\"E-mail\", \"Name\"."},
      {"nothing new: no rewrite, no backup", "Name,Street\nadams,1 Elm St\n", true,
       ImportOutcome::kImported,
       "Imported 0 contacts into Friends.adb.\nSkipped 1: 1 already in the book."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs_.files.erase(kFile);
    if (c.present) fs_.files[kFile] = c.bytes;
    const ImportResult r = ImportContacts(fs_, book_, kFile);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.text, c.text);
    EXPECT_EQ(fs_.files[kBook], kStored);
    EXPECT_FALSE(fs_.files.contains(kBackup));
    EXPECT_EQ(book_.entries.size(), 2u);
  }

  // The file is parsed before the book's lock is asked for: a file that is no contacts
  // file is refused without waiting for another window's lock.
  fs_.heldLocks.insert(kBook + ".lock");
  testing::StepClock clock;
  fs_.files[kFile] = "Phone\n555\n";
  EXPECT_EQ(ImportContacts(fs_, book_, kFile, clock).outcome, ImportOutcome::kRefused);
  EXPECT_EQ(clock.now.count(), 0);
  fs_.heldLocks.clear();

  fs_.FailOn(testing::MemoryFileSystem::Op::Create);
  const ImportResult r = Import("Name,Street\nBaker,2 Oak\n");
  EXPECT_EQ(r.outcome, ImportOutcome::kNotSaved);
  EXPECT_EQ(fs_.files[kBook], kStored);
  EXPECT_EQ(book_.entries.size(), 2u);
}

// Cards are handed over one at a time: a file of very many empty ones is counted, not
// kept (the fuzz targets take a million and a 64 MiB line).
TEST_F(ImportTest, ManyEmptyCardsAreCountedNotKept) {
  std::string cards;
  for (int i = 0; i < 100000; ++i) cards += "BEGIN:VCARD\r\nEND:VCARD\r\n";
  const ImportResult r = Import(cards);
  EXPECT_EQ(r.text,
            "Imported 0 contacts into Friends.adb.\nSkipped 100000: 100000 without a name.");
  EXPECT_EQ(fs_.files[kBook], kStored);
}

TEST_F(ImportTest, TheExportImportsIntoAnEmptyBookAsTheSameEntries) {
  fs_.files[kBook] =
      "\xEF\xBB\xBF\"Lee, Ann\"^1 \"Oak\" Rd^Apt 2^Dover^DE^19901^0^1\r\n"
      "J\xC3\xBCrgen^Hauptstr. 1^^Berlin^^10115^1^1\r\n"
      "\xE5\xB1\xB1\xE7\x94\xB0^^^^^^2^1\r\n";
  ASSERT_TRUE(ReadAddressbook(fs_, book_).ok);
  // Stored by another window after this one read the book: exported all the same.
  fs_.files[kBook] += "=HYPERLINK(\"http://x.example\",\"y\")^+1^-2^@x^ST^'=4^2^1\r\n";
  const std::string out = "C:\\out\\book.csv";
  fs_.folders.insert("C:\\out\\");
  const ExportResult exported = ExportContacts(fs_, book_, out);
  EXPECT_EQ(exported.text, "Exported 4 contacts to C:\\out\\book.csv.");
  EXPECT_EQ(fs_.files[out],
            "\xEF\xBB\xBFName,Street,Suite,City,State,Zip\r\n"
            "\"\"\"Lee, Ann\"\"\",\"1 \"\"Oak\"\" Rd\",Apt 2,Dover,DE,19901\r\n"
            "J\xC3\xBCrgen,Hauptstr. 1,,Berlin,,10115\r\n"
            "\xE5\xB1\xB1\xE7\x94\xB0,,,,,\r\n"
            "\"'=HYPERLINK(\"\"http://x.example\"\",\"\"y\"\")\",'+1,'-2,'@x,ST,''=4\r\n");
  ASSERT_TRUE(ReadAddressbook(fs_, book_).ok);

  AddressBook empty;
  empty.directory = kDir;
  empty.fileName = "Empty.adb";
  const ImportResult r = ImportContacts(fs_, empty, out);
  EXPECT_EQ(r.text, "Imported 4 contacts into Empty.adb.");
  EXPECT_EQ(empty.entries, book_.entries);
}

}  // namespace
}  // namespace qr
