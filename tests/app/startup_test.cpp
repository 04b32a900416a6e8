#include "app/startup.h"
#include "app/shutdown.h"

#include <gtest/gtest.h>

#include "base/preference_file.h"
#include "support/memory_file_system.h"

namespace qr {
namespace {

constexpr char kData[] = "C:\\ProgramData\\Quarrane\\";

class StartupTest : public ::testing::Test {
 protected:
  StartupState Start(int random = 7) {
    StartupCallbacks cb;
    cb.random0To18 = [random] { return random; };
    cb.offerUpdateCheck = [this](const std::string&) { ++questions_; };
    PreferenceFile prefs(fs_);
    return RunStartupFiles(fs_, prefs, std::string("C:\\ProgramData"), "C:\\Program", cb);
  }
  std::string File(const std::string& name) { return fs_.files[std::string(kData) + name]; }

  testing::MemoryFileSystem fs_;
  int questions_ = 0;
};

TEST_F(StartupTest, FirstRunCreatesFolderSettingsAndCompanionWithoutAsking) {
  const StartupState s = Start();
  EXPECT_TRUE(fs_.folders.contains(kData));
  EXPECT_EQ(File("qr.inf"),
            "; Quarrane Initalization Information\r\n; \r\n[Application]\r\nVersion = 2.80\r\n"
            "CurrentAddressbook = Addresses\r\n"
            "CurrentAddressbookDirectory = C:\\ProgramData\\Quarrane\\\r\nLastCheckValue = 1\r\n");
  EXPECT_NE(File("Addresses.inf").find("AddressbookDirectory = C:\\ProgramData\\Quarrane\\\r\n"),
            std::string::npos);
  EXPECT_EQ(questions_, 0);
  EXPECT_EQ(MainWindowTitle(s), "Quarrane 2.80 - Addresses.adb");
  EXPECT_EQ(s.book.bookFolder, kData);
  EXPECT_EQ(s.programFolder, "C:\\Program");
  EXPECT_FALSE(fs_.files.contains(std::string(kData) + "Addresses.adb"));
}

TEST_F(StartupTest, UpdateCounterCountsToTwentyFiveThenAsksAndRestarts) {
  struct Case {
    const char* stored;
    const char* expected;
    int questions;
  } cases[] = {{"", "1", 0},
               {"24", "25", 0},
               {"25", "7", 1},
               {"999", "7", 1},
               {"abc", "1", 0},
               {"-3", "-2", 0},
               {"99999999999999999999", "7", 1}};
  for (const Case& c : cases) {
    fs_ = {};
    questions_ = 0;
    Start();
    PreferenceFile prefs(fs_);
    ASSERT_TRUE(prefs.Open(std::string(kData) + "qr.inf"));
    prefs.SelectGroup("Application");
    prefs.WriteText("LastCheckValue", c.stored);
    prefs.Close();
    Start();
    ASSERT_TRUE(prefs.Open(std::string(kData) + "qr.inf"));
    prefs.SelectGroup("Application");
    EXPECT_EQ(prefs.ReadText("LastCheckValue", "?"), c.expected) << c.stored;
    EXPECT_EQ(questions_, c.questions) << c.stored;
  }
}

TEST_F(StartupTest, VersionIsRewrittenAndTheStoredBookIsOpened) {
  fs_.folders.insert(kData);
  fs_.folders.insert("D:\\Books\\");
  fs_.files[std::string(kData) + "qr.inf"] =
      "[Application]\r\nVersion = 1.00\r\nCurrentAddressbook = Friends\r\n"
      "CurrentAddressbookDirectory = D:\\Books\\\r\n";
  const StartupState s = Start();
  EXPECT_EQ(s.version, "2.80");
  EXPECT_EQ(s.bookFileName, "Friends.adb");
  EXPECT_EQ(s.companionName, "Friends.inf");
  EXPECT_EQ(s.book.bookFolder, "D:\\Books\\");
  EXPECT_NE(fs_.files["D:\\Books\\Friends.inf"].find("Addressbook = Friends.adb"),
            std::string::npos);
  EXPECT_NE(File("qr.inf").find("Version = 2.80\r\n"), std::string::npos);
}

TEST_F(StartupTest, MissingBookNameGivesBareExtensions) {
  fs_.folders.insert(kData);
  fs_.files[std::string(kData) + "qr.inf"] =
      "[Application]\r\nCurrentAddressbookDirectory = C:\\ProgramData\\Quarrane\\\r\n";
  const StartupState s = Start();
  EXPECT_EQ(s.bookFileName, ".adb");
  EXPECT_TRUE(fs_.files.contains(std::string(kData) + ".inf"));
}

TEST_F(StartupTest, WithoutTheProfileVariableTheDataFolderIsOnTheCurrentDrive) {
  StartupCallbacks cb;
  cb.random0To18 = [] { return 0; };
  PreferenceFile prefs(fs_);
  const StartupState s = RunStartupFiles(fs_, prefs, std::nullopt, "C:\\P", cb);
  EXPECT_EQ(s.dataFolder, "\\Quarrane\\");
  EXPECT_EQ(s.bookFileName, "Addresses.adb");
  EXPECT_TRUE(fs_.files.contains("\\Quarrane\\qr.inf"));
}

// Quitting saves the book settings before anything is released; after an installer was
// started they are not saved, and the rest is released in the same order.
TEST(ShutdownTest, QuitSavesFirstAndTheInstallerPathNeverSaves) {
  struct Recorder final : ShutdownSteps {
    std::string done;
    void SaveBookSettings() override { done += "save "; }
    void ReleasePrinterLibrary() override { done += "printer "; }
    void CloseSettingsFile() override { done += "settings "; }
    void CloseMainWindow() override { done += "window "; }
  };
  Recorder quit, installer;
  RunShutdown(quit, ShutdownReason::kQuit);
  RunShutdown(installer, ShutdownReason::kInstallerStarted);
  EXPECT_EQ(quit.done, "save printer settings window ");
  EXPECT_EQ(installer.done, "printer settings window ");
}

}  // namespace
}  // namespace qr
