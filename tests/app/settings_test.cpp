#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "support/memory_file_system.h"
#include "support/step_clock.h"

namespace qr {
namespace {

using qr::testing::MemoryFileSystem;

constexpr char kCompanion[] = "C:\\Books\\Family.inf";
constexpr char kBookFile[] = "Family.adb";

// The default companion file for the settings of HeldSettings() with positions zeroed.
constexpr char kDefaultCompanion[] =
    "; Quarrane Initalization Information\r\n"
    "; \r\n"
    "[Application]\r\n"
    "Version = 2.80\r\n"
    "Addressbook = Family.adb\r\n"
    "AddressbookDirectory = C:\\Books\\\r\n"
    "; \r\n"
    "; Sender Address associated with this addressbook\r\n"
    "[Sender Address]\r\n"
    "Name = \r\n"
    "Street = \r\n"
    "CSZ = \r\n"
    "Return Font = Georgia\r\n"
    "Return Size = 11\r\n"
    "Return Style = Italic\r\n"
    "Logo Filename = C:\\Logos\\acme.png\r\n"
    "; \r\n"
    "; Printer setup\r\n"
    "[Printer Defaults]\r\n"
    "Default Printer = \r\n"
    "Sender Horizontal = 0\r\n"
    "Sender Vertical = 0\r\n"
    "Addressee Horizontal = 0\r\n"
    "Addressee Vertical = 0\r\n"
    "Address Font = Courier New\r\n"
    "Address Size = 16\r\n"
    "Address Style = Bold\r\n"
    "; \r\n"
    "; Last position of window\r\n"
    "[Windows Defaults]\r\n"
    "WindowX = 250\r\n"
    "WindowY = -4\r\n";

BookSettings HeldSettings() {
  BookSettings s;
  s.bookFolder = "C:\\Books\\";
  s.senderName = "Ann Example";
  s.senderStreet = "1 Main St";
  s.senderCsz = "Springfield, IL 62701";
  s.returnFont = "Georgia";
  s.returnSize = "11";
  s.returnStyle = "Italic";
  s.logoFilename = "C:\\Logos\\acme.png";
  s.defaultPrinter = "PDF";
  s.senderHorizontal = 10;
  s.senderVertical = 20;
  s.addresseeHorizontal = 30;
  s.addresseeVertical = 40;
  s.addressFont = "Courier New";
  s.addressSize = "16";
  s.addressStyle = "Bold";
  s.windowX = 250;
  s.windowY = -4;
  return s;
}

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    fs_.folders.insert("C:\\Books\\");
    fs_.folders.insert("C:\\ProgramData\\Quarrane\\");
  }
  MemoryFileSystem fs_;
  PreferenceFile pf_{fs_};
};

TEST_F(SettingsTest, FirstRunAppSettings) {
  WriteFirstRunAppSettings(pf_, "C:\\ProgramData\\Quarrane\\qr.inf", "C:\\ProgramData\\Quarrane\\");
  EXPECT_FALSE(pf_.IsOpen());
  EXPECT_EQ(fs_.files["C:\\ProgramData\\Quarrane\\qr.inf"],
            "; Quarrane Initalization Information\r\n"
            "; \r\n"
            "[Application]\r\n"
            "Version = 2.80\r\n"
            "CurrentAddressbook = Addresses\r\n"
            "CurrentAddressbookDirectory = C:\\ProgramData\\Quarrane\\\r\n");
}

TEST_F(SettingsTest, DefaultBookSettingsClearSenderAndPositions) {
  BookSettings s = HeldSettings();
  WriteDefaultBookSettings(pf_, kCompanion, kBookFile, s, /*keepPositions=*/false);
  EXPECT_EQ(fs_.files[kCompanion], kDefaultCompanion);
  EXPECT_EQ(s.senderName, "");
  EXPECT_EQ(s.senderStreet, "");
  EXPECT_EQ(s.senderCsz, "");
  EXPECT_EQ(s.senderHorizontal + s.senderVertical + s.addresseeHorizontal + s.addresseeVertical, 0);
  EXPECT_EQ(s.logoFilename, "C:\\Logos\\acme.png");
}

TEST_F(SettingsTest, DefaultBookSettingsCanKeepPositions) {
  BookSettings s = HeldSettings();
  s.placement = "True Size";  // the book open before: not taken over
  s.envelope = "A2";
  WriteDefaultBookSettings(pf_, kCompanion, kBookFile, s, /*keepPositions=*/true);
  EXPECT_EQ(s.senderHorizontal, 10);
  EXPECT_EQ(s.addresseeVertical, 40);
  const std::string& file = fs_.files[kCompanion];
  EXPECT_NE(file.find("Sender Horizontal = 10\r\nSender Vertical = 20\r\n"
                      "Addressee Horizontal = 30\r\nAddressee Vertical = 40\r\n"),
            std::string::npos)
      << file;
  EXPECT_EQ(s.placement + s.envelope, "");
  EXPECT_EQ(file.find("Placement"), std::string::npos);
}

// A save writes the whole file as the program writes it, however it was found; values
// this window did not change are taken from the file.
TEST_F(SettingsTest, SaveWritesTheWholeFileInTheProgramsForm) {
  fs_.files[kCompanion] =
      "[Application]\nversion=2.80\n\n[Sender Address]\nNAME=Ann\n\n"
      "  street =  1 Main St  \nCsz=x\n[Windows Defaults]\nWindowX=5\n";
  BookSettings s = HeldSettings();
  ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, s));
  s.senderCsz = "Dover";
  fs_.files[kCompanion].replace(fs_.files[kCompanion].find("NAME=Ann"), 8, "NAME=Bea");
  ASSERT_TRUE(SaveBookSettings(pf_, kCompanion, kBookFile, s));
  EXPECT_EQ(fs_.files[kCompanion],
            "[Application]\r\nVersion = 2.80\r\nAddressbook = Family.adb\r\n"
            "AddressbookDirectory = \r\n[Sender Address]\r\nName = Bea\r\n"
            "Street = 1 Main St\r\nCSZ = Dover\r\nReturn Font = Arial\r\nReturn Size = 12\r\n"
            "Return Style = \r\nLogo Filename = C:\\Logos\\acme.png\r\n"
            "[Windows Defaults]\r\nWindowX = 5\r\nWindowY = 0\r\n[Printer Defaults]\r\n"
            "Default Printer = \r\nSender Horizontal = 0\r\nSender Vertical = 0\r\n"
            "Addressee Horizontal = 0\r\nAddressee Vertical = 0\r\nAddress Font = Arial\r\n"
            "Address Size = 14\r\nAddress Style = \r\n");
}

TEST_F(SettingsTest, LoadReadsEveryKeyAndLeavesACurrentFileUnchanged) {
  // Written by hand, not by the program: LF endings and loose spacing.
  const std::string file =
      "[Application]\nVersion=2.80\nAddressbook = Family.adb\nAddressbookDirectory = D:\\Mail\\\n"
      "[Sender Address]\nName = Bob\nStreet = 2 Elm\nCSZ = Town\nReturn Font = Arial\n"
      "Return Size = 10\nReturn Style = Bold\nLogo Filename = D:\\logo.bmp\n"
      "[Printer Defaults]\nDefault Printer = PDF\nSender Horizontal = 5\nSender Vertical = -6\n"
      "Addressee Horizontal = 700\nAddressee Vertical = 800\nAddress Font = Verdana\n"
      "Address Size = 14\nAddress Style = Regular\n[Windows Defaults]\nWindowX = 12abc\n"
      "WindowY = letters\n";
  fs_.files[kCompanion] = file;
  BookSettings s;
  ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, s));
  EXPECT_FALSE(pf_.IsOpen());
  EXPECT_EQ(fs_.files[kCompanion], file);
  EXPECT_EQ(fs_.creates, 0);
  EXPECT_EQ(s.bookFolder, "D:\\Mail\\");
  EXPECT_EQ(s.senderName, "Bob");
  EXPECT_EQ(s.senderStreet, "2 Elm");
  EXPECT_EQ(s.senderCsz, "Town");
  EXPECT_EQ(s.returnFont, "Arial");
  EXPECT_EQ(s.returnSize, "10");
  EXPECT_EQ(s.returnStyle, "Bold");
  EXPECT_EQ(s.logoFilename, "D:\\logo.bmp");
  EXPECT_EQ(s.defaultPrinter, "PDF");
  EXPECT_EQ(s.senderHorizontal, 5);
  EXPECT_EQ(s.senderVertical, -6);
  EXPECT_EQ(s.addresseeHorizontal, 700);
  EXPECT_EQ(s.addresseeVertical, 800);
  EXPECT_EQ(s.addressFont, "Verdana");
  EXPECT_EQ(s.addressSize, "14");
  EXPECT_EQ(s.addressStyle, "Regular");
  EXPECT_EQ(s.windowX, 12);
  EXPECT_EQ(s.windowY, 0);
}

TEST_F(SettingsTest, LoadRewritesOnlyAnOutdatedVersion) {
  const struct {
    const char* what;
    const char* before;
    const char* after;
  } cases[] = {
      {"older version", "[Application]\nVersion = 2.70\n[Windows Defaults]\nWindowX = 3\n",
       "[Application]\r\nVersion = 2.80\r\n[Windows Defaults]\r\nWindowX = 3\r\n"},
      {"no version", "[Windows Defaults]\r\nWindowX = 3\r\n",
       "[Windows Defaults]\r\nWindowX = 3\r\n[Application]\r\nVersion = 2.80\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs_.files[kCompanion] = c.before;
    BookSettings s = HeldSettings();
    ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, s));
    EXPECT_EQ(fs_.files[kCompanion], c.after);
    EXPECT_EQ(s.windowX, 3);
  }
}

TEST_F(SettingsTest, LoadOfASparseFileUsesTheDefaults) {
  fs_.files[kCompanion] = "Logo Filename = D:\\stray.bmp\r\n[Application]\r\nVersion = 2.80\r\n";
  BookSettings s = HeldSettings();
  ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, s));
  EXPECT_EQ(s.bookFolder, "");  // no AddressbookDirectory: relative to the current folder
  EXPECT_EQ(s.senderName, "");
  EXPECT_EQ(s.returnFont, "");
  EXPECT_EQ(s.logoFilename, "C:\\Logos\\acme.png");  // the held logo, not the stray key
  EXPECT_EQ(s.defaultPrinter, "");
  EXPECT_EQ(s.senderHorizontal, 0);
  EXPECT_EQ(s.addresseeVertical, 0);
  EXPECT_EQ(s.addressSize, "");
  EXPECT_EQ(s.windowX, 0);
  EXPECT_EQ(s.windowY, 0);
}

TEST_F(SettingsTest, LoadOfAMissingCompanionWritesTheDefaults) {
  BookSettings s = HeldSettings();
  EXPECT_FALSE(LoadBookSettings(pf_, kCompanion, kBookFile, s));
  EXPECT_EQ(fs_.files[kCompanion], kDefaultCompanion);
  EXPECT_EQ(s.senderName, "");
  EXPECT_EQ(s.senderVertical, 0);
}

TEST_F(SettingsTest, SaveFillsEmptyFontsAndUpdatesTheFile) {
  BookSettings held = HeldSettings();
  WriteDefaultBookSettings(pf_, kCompanion, kBookFile, held, /*keepPositions=*/false);

  BookSettings s = HeldSettings();
  s.returnFont = s.returnSize = s.addressFont = s.addressSize = "";
  s.returnStyle = "";
  s.senderName = "Carol";
  s.bookFolder = "E:\\Moved\\";
  ASSERT_TRUE(SaveBookSettings(pf_, kCompanion, "Renamed.adb", s));
  EXPECT_EQ(s.returnFont, "Arial");
  EXPECT_EQ(s.returnSize, "12");
  EXPECT_EQ(s.returnStyle, "");
  EXPECT_EQ(s.addressFont, "Arial");
  EXPECT_EQ(s.addressSize, "14");
  EXPECT_EQ(s.addressStyle, "Bold");  // set values stay

  BookSettings loaded;
  ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, loaded));
  EXPECT_EQ(loaded.bookFolder, "E:\\Moved\\");
  EXPECT_EQ(loaded.senderName, "Carol");
  EXPECT_EQ(loaded.senderStreet, "1 Main St");
  EXPECT_EQ(loaded.returnFont, "Arial");
  EXPECT_EQ(loaded.returnSize, "12");
  EXPECT_EQ(loaded.defaultPrinter, "PDF");
  EXPECT_EQ(loaded.senderHorizontal, 10);
  EXPECT_EQ(loaded.addresseeVertical, 40);
  EXPECT_EQ(loaded.addressSize, "14");
  EXPECT_EQ(loaded.windowY, -4);
  // Comments and key order survive; Addressbook is rewritten in place.
  const std::string& file = fs_.files[kCompanion];
  EXPECT_TRUE(file.starts_with(
      "; Quarrane Initalization Information\r\n; \r\n[Application]\r\nVersion = 2.80\r\n"
      "Addressbook = Renamed.adb\r\nAddressbookDirectory = E:\\Moved\\\r\n; \r\n"))
      << file;
  EXPECT_NE(file.find("Default Printer = PDF\r\nSender Horizontal = 10\r\n"), std::string::npos);
}

// "Placement", "Envelope" and "Label Sheet" appear only once the user has chosen them,
// each right after the key before it ("Address Style", then "Placement", then
// "Envelope"), whichever was chosen first.
TEST_F(SettingsTest, PlacementAndEnvelopeAreWrittenOnceChosen) {
  BookSettings s = HeldSettings();
  WriteDefaultBookSettings(pf_, kCompanion, kBookFile, s, /*keepPositions=*/false);
  ASSERT_TRUE(SaveBookSettings(pf_, kCompanion, kBookFile, s));
  const std::string unused = fs_.files[kCompanion];
  EXPECT_EQ(unused.find("Placement"), std::string::npos);
  EXPECT_EQ(unused.find("Envelope"), std::string::npos);
  EXPECT_EQ(unused.find("Label Sheet"), std::string::npos);

  const std::string before = "Address Style = Bold\r\n";
  const std::string after = "; \r\n; Last position of window\r\n";
  const struct {
    const char* placement;
    const char* envelope;
    const char* sheet;
    const char* lines;
  } steps[] = {
      {"", "", "5163", "Label Sheet = 5163\r\n"},
      {"", "A2", "5163", "Envelope = A2\r\nLabel Sheet = 5163\r\n"},
      {"True Size", "A2", "L7160",
       "Placement = True Size\r\nEnvelope = A2\r\nLabel Sheet = L7160\r\n"},
      {"Dots", "No. 10", "5160", "Placement = Dots\r\nEnvelope = No. 10\r\nLabel Sheet = 5160\r\n"},
  };
  for (const auto& step : steps) {
    s.placement = step.placement;
    s.envelope = step.envelope;
    s.labelSheet = step.sheet;
    ASSERT_TRUE(SaveBookSettings(pf_, kCompanion, kBookFile, s));
    const std::string& file = fs_.files[kCompanion];
    EXPECT_NE(file.find(before + step.lines + after), std::string::npos) << file;
    BookSettings loaded;
    ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, loaded));
    EXPECT_EQ(loaded.placement, step.placement);
    EXPECT_EQ(loaded.envelope, step.envelope);
    EXPECT_EQ(loaded.labelSheet, step.sheet);
  }

  // A file with more keys after "Address Style" gets Placement beside it all the same;
  // a book without the keys reads them as not chosen.
  fs_.files[kCompanion] = "[Printer Defaults]\r\nAddress Style = Bold\r\nExtra = 1\r\n";
  BookSettings loaded = HeldSettings();
  ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, loaded));
  EXPECT_EQ(loaded.placement, "");
  EXPECT_EQ(loaded.envelope, "");
  loaded.placement = "True Size";
  ASSERT_TRUE(SaveBookSettings(pf_, kCompanion, kBookFile, loaded));
  EXPECT_NE(
      fs_.files[kCompanion].find("Address Style = Bold\r\nPlacement = True Size\r\nExtra = 1\r\n"),
      std::string::npos)
      << fs_.files[kCompanion];
}

TEST_F(SettingsTest, SaveWithoutACompanionWritesNothing) {
  BookSettings s = HeldSettings();
  EXPECT_FALSE(SaveBookSettings(pf_, kCompanion, kBookFile, s));
  EXPECT_FALSE(fs_.files.contains(kCompanion));
  EXPECT_EQ(fs_.creates, 0);
}

// Two windows that changed different keys of one book's settings both keep them, and for
// a key both changed the later save wins: B's save runs just before each file operation
// of A's save, then after it; a save that finds the file locked writes nothing and its
// window saves its changes on the next try.
TEST_F(SettingsTest, TwoWindowsSavingKeepEachOthersKeys) {
  int gaveUp = 0;
  for (int point = 1;; ++point) {
    SCOPED_TRACE("window B just before operation " + std::to_string(point) + " of window A");
    BookSettings held = HeldSettings();
    WriteDefaultBookSettings(pf_, kCompanion, kBookFile, held, /*keepPositions=*/false);
    PreferenceFile pfA(fs_), pfB(fs_);
    BookSettings a, b;
    ASSERT_TRUE(LoadBookSettings(pfA, kCompanion, kBookFile, a));
    ASSERT_TRUE(LoadBookSettings(pfB, kCompanion, kBookFile, b));
    a.senderName = "Ann";
    a.windowX = 40;
    b.senderStreet = "9 New St";
    b.addressFont = "Verdana";
    b.placement = "True Size";  // a key the file lacks goes beside the key before it
    b.windowX = 80;
    qr::testing::StepClock clockB;
    bool savedInside = false;
    fs_.InterleaveAt(point, [&] {
      const std::string before = fs_.files[kCompanion];
      savedInside = SaveBookSettings(pfB, kCompanion, kBookFile, b, clockB);
      if (!savedInside) {
        EXPECT_EQ(fs_.files[kCompanion], before);
      }
    });
    ASSERT_TRUE(SaveBookSettings(pfA, kCompanion, kBookFile, a));
    const bool interleaved = fs_.interleaved();
    fs_.InterleaveAt(0, nullptr);
    if (!savedInside) {
      gaveUp += interleaved;
      ASSERT_TRUE(SaveBookSettings(pfB, kCompanion, kBookFile, b, clockB));
    }

    BookSettings read;
    ASSERT_TRUE(LoadBookSettings(pf_, kCompanion, kBookFile, read));
    EXPECT_EQ(read.senderName, "Ann");
    EXPECT_EQ(read.senderStreet, "9 New St");
    EXPECT_EQ(read.addressFont, "Verdana");
    EXPECT_NE(fs_.files[kCompanion].find("Address Style = Bold\r\nPlacement = True Size\r\n"),
              std::string::npos);
    EXPECT_EQ(read.windowX, savedInside ? 40 : 80);
    EXPECT_EQ(read.returnFont, "Georgia");
    EXPECT_EQ(read.windowY, -4);
    if (!interleaved) break;
  }
  EXPECT_GT(gaveUp, 2) << "window B never found the settings file locked";
}

// Load and New remember the book for the next start in qr.inf; only Load keeps a
// backup and rewrites the version, and neither creates a missing qr.inf.
TEST_F(SettingsTest, RememberingTheBookInAppSettings) {
  const std::string data = "C:\\ProgramData\\Quarrane\\";
  const std::string old =
      "[Application]\r\nVersion = 1.0\r\nCurrentAddressbook = Addresses\r\n"
      "CurrentAddressbookDirectory = C:\\ProgramData\\Quarrane\\\r\n";

  RememberCurrentBook(fs_, pf_, data, "Family", "C:\\Books\\", BookChange::kNew);
  EXPECT_FALSE(fs_.files.contains(data + "qr.inf"));

  fs_.files[data + "qr.inf"] = old;
  RememberCurrentBook(fs_, pf_, data, "Family", "C:\\Books\\", BookChange::kNew);
  EXPECT_EQ(fs_.files[data + "qr.inf"],
            "[Application]\r\nVersion = 1.0\r\nCurrentAddressbook = Family\r\n"
            "CurrentAddressbookDirectory = C:\\Books\\\r\n");
  EXPECT_FALSE(fs_.files.contains(data + "qr.bak"));

  fs_.files[data + "qr.inf"] = old;
  RememberCurrentBook(fs_, pf_, data, "Work", "D:\\", BookChange::kLoad);
  EXPECT_EQ(fs_.files[data + "qr.bak"], old);
  EXPECT_EQ(fs_.files[data + "qr.inf"],
            "[Application]\r\nVersion = 2.80\r\nCurrentAddressbook = Work\r\n"
            "CurrentAddressbookDirectory = D:\\\r\n");
}

}  // namespace
}  // namespace qr
