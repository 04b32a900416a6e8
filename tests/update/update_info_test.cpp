#include "update/update_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qr {
namespace {

TEST(UpdateInfoTest, ReadsLinesWhateverTheirEnds) {
  struct Case {
    std::string bytes, version, installer;
  };
  const Case cases[] = {
      {"2.90\r\nqr290.exe\r\n", "2.90", "qr290.exe"},
      {"2.90\nqr290.exe\n", "2.90", "qr290.exe"},
      {"2.90\rqr290.exe\r", "2.90", "qr290.exe"},
      {"2.90\r\nqr290.exe", "2.90", "qr290.exe"},       // no end on the last line
      {"2.90\n\rqr290.exe", "2.90", ""},                // LF then CR: an empty line 2
      {"\nqr290.exe\nmore\nlines\n", "", "qr290.exe"},  // empty line 1, lines past 3
      {" 2.80 \r\n", " 2.80 ", ""},                     // blanks kept; line 2 absent
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const UpdateInfo info = ParseUpdateInfo(c.bytes);
    EXPECT_EQ(info.version, c.version) << c.bytes;
    EXPECT_EQ(info.installer, c.installer) << c.bytes;
    EXPECT_EQ(info.checksum, ChecksumLine::kNone) << c.bytes;
  }
}

TEST(UpdateInfoTest, ReadsTheChecksumLine) {
  const std::string hex = "00112233445566778899aabbccddeeffFFEEDDCCBBAA99887766554433221100";
  const UpdateInfo info = ParseUpdateInfo("2.90\nqr.exe\nsha256=" + hex + "  \nignored");
  ASSERT_EQ(info.checksum, ChecksumLine::kValid);
  EXPECT_EQ(info.sha256[0], 0x00);
  EXPECT_EQ(info.sha256[9], 0x99);
  EXPECT_EQ(info.sha256[15], 0xff);
  EXPECT_EQ(info.sha256[16], 0xff);
  EXPECT_EQ(info.sha256[31], 0x00);

  struct Case {
    std::string line;
    ChecksumLine expected;
  };
  const Case cases[] = {
      {"", ChecksumLine::kNone},
      {"released 2026-01-01", ChecksumLine::kNone},
      {"SHA256=" + hex, ChecksumLine::kNone},
      {"sha256=" + hex.substr(1), ChecksumLine::kMalformed},
      {"sha256=" + hex + "0", ChecksumLine::kMalformed},
      {"sha256=" + hex.substr(0, 63) + "g", ChecksumLine::kMalformed},
      {"sha256=", ChecksumLine::kMalformed},
  };
  for (const Case& c : cases) {
    Sha256Digest digest{};
    EXPECT_EQ(ParseChecksumLine(c.line, &digest), c.expected) << c.line;
  }
}

TEST(UpdateInfoTest, AcceptsOnlyPlainInstallerNames) {
  struct Case {
    const char* name;
    bool safe;
  };
  const Case cases[] = {
      {"qr290.exe", true},
      {"Quarrane Setup 2.90.MSI", true},
      {"setup.EXE", true},
      {"..\\evil.exe", false},
      {"../evil.exe", false},
      {"sub\\setup.exe", false},
      {"sub/setup.exe", false},
      {"C:setup.exe", false},
      {"C:\\Windows\\setup.exe", false},
      {"\\\\server\\share\\setup.exe", false},
      {"setup..exe", false},
      {"setup.exe\r", false},
      {"set\tup.exe", false},
      {"setup.exe?x=1", false},
      {"setup#.exe", false},
      {"setup.exe.txt", false},
      {"setup.bat", false},
      {"setup", false},
      {".exe", false},
      {"", false},
      {"NOFILE", false},
      {"nul.exe", false},
      {"COM1.exe", false},
      {"con .setup.exe", false},
      {"console.exe", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSafeInstallerName(c.name), c.safe) << c.name;
}

TEST(UpdateInfoTest, Decides) {
  const std::string hex(64, 'a');
  struct Case {
    bool downloaded;
    std::string bytes;
    UpdateDecision expected;
  };
  const Case cases[] = {
      {true, " 2.80 \r\nqr.exe\r\n", UpdateDecision::kUpToDate},
      {true, "2.80", UpdateDecision::kUpToDate},
      {true, "2.90\nNOFILE\n", UpdateDecision::kUpToDate},
      {true, "\nNOFILE\n", UpdateDecision::kUpToDate},
      {true, "2.8\nqr28.exe\n", UpdateDecision::kOffered},   // any difference is an update
      {true, "2.70\nqr27.exe\n", UpdateDecision::kOffered},  // even an older one
      {true, "2.80\t\nqr.exe\n", UpdateDecision::kOffered},  // only blanks are trimmed
      {true, "2.90\nnofile\n", UpdateDecision::kFailed},     // not NOFILE, not an installer
      {true, "2.90\nqr.exe\nsha256=" + hex, UpdateDecision::kOffered},
      {true, "2.90\nqr.exe\nsha256=" + hex.substr(2), UpdateDecision::kFailed},
      {true, "2.90\n..\\evil.exe\n", UpdateDecision::kFailed},
      {true, "2.90\n", UpdateDecision::kFailed},
      {true, "   \nqr.exe\n", UpdateDecision::kFailed},
      {true, "", UpdateDecision::kFailed},
      {false, "", UpdateDecision::kFailed},
      {false, "2.80\nqr.exe", UpdateDecision::kFailed},  // a stale local file counts for nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideUpdate("2.80", c.downloaded, ParseUpdateInfo(c.bytes)), c.expected)
        << c.bytes << " downloaded=" << c.downloaded;
  }
}

TEST(UpdateInfoTest, ChoosesTheTemporaryFolder) {
  struct Case {
    std::vector<std::string> environment;
    std::string expected;
  };
  const Case cases[] = {
      {{"PATH=C:\\bin", "TEMP=C:\\t1", "TMP=C:\\t2"}, "C:\\t1"},
      {{"Temp=C:\\lower", "TEMP=C:\\upper", "temp=C:\\last"}, "C:\\last"},
      {{"TEMP=C:\\first", "OTHER=x"}, "C:\\first"},
      {{"TEMP="}, ""},
      {{"TEMPDIR=C:\\x", "MYTEMP=C:\\y", "TMP=C:\\z", "=C:=C:\\cur"}, "C:\\cur\\"},
      {{"TEMP"}, "C:\\cur\\"},         // no '=': not a variable
      {{"=TEMP=C:\\x"}, "C:\\cur\\"},  // hidden drive entry named "=TEMP"
      {{}, "C:\\cur\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseTemporaryFolder(c.environment, "C:\\cur"), c.expected)
        << ::testing::PrintToString(c.environment);
  }
  const char block[] = "=C:=C:\\cur\0TEMP=C:\\t\0PATH=x\0";
  EXPECT_EQ(SplitEnvironmentBlock(block),
            (std::vector<std::string>{"=C:=C:\\cur", "TEMP=C:\\t", "PATH=x"}));
  EXPECT_TRUE(SplitEnvironmentBlock(nullptr).empty());
}

TEST(UpdateInfoTest, FormsAddressesPathsAndCorners) {
  EXPECT_EQ(UpdateInfoAddress("http://127.0.0.1:8000"),
            "http://127.0.0.1:8000/updates/qr/update257.txt");
  EXPECT_EQ(UpdateInstallerAddress("https://h", "qr.exe"), "https://h/updates/qr/qr.exe");
  EXPECT_EQ(LocalUpdateInfoPath("C:\\Temp"), "C:\\Temp\\update257.txt");
  // Without TEMP the folder already ends in a backslash: two in a row.
  EXPECT_EQ(LocalInstallerPath("C:\\cur\\", "qr.exe"), "C:\\cur\\\\qr.exe");

  const WindowCorner screen = UpdateWindowCornerOnScreen(1281, 1023);
  EXPECT_EQ(screen.x, 440);
  EXPECT_EQ(screen.y, 461);
  const WindowCorner menu = UpdateWindowCornerOverMainWindow(-30, 10, 575, 401);
  EXPECT_EQ(menu.x, -30 + 287 - 200);
  EXPECT_EQ(menu.y, 10 + 200 + 50);
}

}  // namespace
}  // namespace qr
