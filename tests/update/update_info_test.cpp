#include "update/update_info.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
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
      {"\xEF\xBB\xBF\x32.90\r\nqr.exe", "2.90", "qr.exe"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const UpdateInfo info = ParseUpdateInfo(c.bytes);
    EXPECT_EQ(info.version, c.version) << c.bytes;
    EXPECT_EQ(info.installer, c.installer) << c.bytes;
    EXPECT_EQ(info.sha256Line, IntegrityLine::kAbsent) << c.bytes;
    EXPECT_EQ(info.signatureLine, IntegrityLine::kAbsent) << c.bytes;
  }
}

// Bytes 0 to 63 and 192 to 255 in standard Base64.
constexpr char kLowBytes64[] =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+Pw==";
constexpr char kHighBytes64[] =
    "wMHCw8TFxsfIycrLzM3Oz9DR0tPU1dbX2Nna29zd3t/g4eLj5OXm5+jp6uvs7e7v8PHy8/T19vf4+fr7/P3+/w==";

TEST(UpdateInfoTest, ReadsTheChecksumAndSignatureLines) {
  const std::string hex = "00112233445566778899aabbccddeeffFFEEDDCCBBAA99887766554433221100";
  const UpdateInfo info = ParseUpdateInfo("2.90\nqr.exe\nreleased today\n  sha256=" + hex +
                                          "  \r\n\r\nSignature=" + kHighBytes64 + "\nignored");
  ASSERT_EQ(info.sha256Line, IntegrityLine::kValid);
  EXPECT_EQ(info.sha256[0], 0x00);
  EXPECT_EQ(info.sha256[9], 0x99);
  EXPECT_EQ(info.sha256[15], 0xff);
  EXPECT_EQ(info.sha256[16], 0xff);
  EXPECT_EQ(info.sha256[31], 0x00);
  ASSERT_EQ(info.signatureLine, IntegrityLine::kValid);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(info.signature[i], 192 + i) << i;

  const std::string sig = kLowBytes64;
  struct Case {
    std::string later;  // the lines after line 2
    IntegrityLine sha256, signature;
  };
  using enum IntegrityLine;
  const Case cases[] = {
      {"", kAbsent, kAbsent},
      {"SHA256=" + hex + "\nSIGNATURE=" + sig, kValid, kValid},  // keys in any case
      {"signature=" + sig + "\nsha256=" + hex, kValid, kValid},  // in any order
      {"sha256 =" + hex + "\nsignature: " + sig, kAbsent, kAbsent},
      {"sha256=" + hex.substr(1) + "\nsignature=" + sig.substr(4), kMalformed, kMalformed},
      {"sha256=" + hex + "0\nsignature=" + sig + "AAAA", kMalformed, kMalformed},
      {"sha256=" + hex.substr(0, 63) + "g\nsignature=" + sig.substr(0, 86), kMalformed, kMalformed},
      {"sha256=\nsignature=", kMalformed, kMalformed},
      {"signature=" + sig + "\nsignature=" + sig, kAbsent, kMalformed},  // twice: ambiguous
      {"sha256=" + hex + "\nSha256=" + hex, kMalformed, kAbsent},
  };
  for (const Case& c : cases) {
    const UpdateInfo parsed = ParseUpdateInfo("2.90\r\nqr.exe\r\n" + c.later);
    EXPECT_EQ(parsed.sha256Line, c.sha256) << c.later;
    EXPECT_EQ(parsed.signatureLine, c.signature) << c.later;
  }
  // Lines 1 and 2 are the version and the installer whatever they hold.
  const UpdateInfo early = ParseUpdateInfo("signature=" + sig + "\nsha256=" + hex + "\n");
  EXPECT_EQ(early.signatureLine, kAbsent);
  EXPECT_EQ(early.sha256Line, kAbsent);
}

TEST(UpdateInfoTest, DecodesOnlyCanonicalBase64OfTheExactLength) {
  EcdsaSignature bytes{};
  ASSERT_TRUE(DecodeBase64(kLowBytes64, bytes));
  for (int i = 0; i < 64; ++i) EXPECT_EQ(bytes[i], i) << i;

  const std::string good = kLowBytes64;
  const std::string bad[] = {
      good.substr(0, 86),          // no padding
      good.substr(0, 87),          // one "=" short
      good + "=",                  // one too many
      good.substr(0, 85) + "x==",  // the last byte, 0x3f, then unused bits that are not zero
      good.substr(0, 60) + "-" + good.substr(61),  // URL-safe alphabet
      good.substr(0, 60) + "_" + good.substr(61),
      good.substr(0, 60) + " " + good.substr(61),
      good.substr(0, 40) + "=" + good.substr(41),  // padding in the middle
      good.substr(0, 84) + "====",
      " " + good.substr(1),
      "",
  };
  for (const std::string& text : bad) EXPECT_FALSE(DecodeBase64(text, bytes)) << text;

  std::array<std::uint8_t, 2> two{};
  EXPECT_TRUE(DecodeBase64("//4=", two));
  EXPECT_EQ(two, (std::array<std::uint8_t, 2>{0xff, 0xfe}));
  EXPECT_FALSE(DecodeBase64("//5=", two));  // unused bits set
  EXPECT_FALSE(DecodeBase64("//4", two));
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
  const std::string sig = std::string("\nsignature=") + kLowBytes64;
  struct Case {
    bool downloaded;
    std::string bytes;
    UpdateDecision expected;
  };
  using enum UpdateDecision;
  const Case cases[] = {
      {true, " 2.80 \r\nqr.exe\r\n", kUpToDate},  // no signature needed for nothing to run
      {true, "2.80", kUpToDate},
      {true, "2.90\nNOFILE\n", kUpToDate},
      {true, "\nNOFILE\n", kUpToDate},
      {true, "2.8\nqr28.exe" + sig, kUpToDate},   // part by part as numbers: 8 < 80
      {true, "2.70\nqr27.exe" + sig, kUpToDate},  // older: never offered
      {true, "2.080.0\nqr.exe" + sig, kUpToDate},
      {true, "10\nqr.exe" + sig, kOffered},
      {true, "2.80.99999999999999999999\nqr.exe" + sig, kOffered},
      {true, "2.80\t\nqr.exe" + sig, kFailed},  // only blanks are trimmed
      {true, "2.90\nqr.exe\nsha256=" + hex + sig, kOffered},
      {true, "2.90\nqr.exe\n", kUnverifiable},
      {true, "2.90\nqr.exe\nsha256=" + hex, kUnverifiable},
      {true, "2.90\nqr.exe\nsignature=" + std::string(kLowBytes64).substr(4), kUnverifiable},
      {true, "2.90\nqr.exe\nsha256=" + hex.substr(2) + sig, kUnverifiable},
      {true, "2.90\nnofile" + sig, kFailed},  // not NOFILE, not an installer
      {true, "2.90\n..\\evil.exe" + sig, kFailed},
      {true, "2.90\n", kFailed},
      {true, "   \nqr.exe" + sig, kFailed},
      {true, "", kFailed},
      {false, "", kFailed},
      {false, "2.80\nqr.exe", kFailed},  // a stale local file counts for nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideUpdate("2.80", c.downloaded, ParseUpdateInfo(c.bytes)), c.expected)
        << c.bytes << " downloaded=" << c.downloaded;
  }
}

TEST(UpdateInfoTest, StopsADownloadPastItsLimitOrAfterAMinuteWithoutAByte) {
  DownloadWatch watch(100, 0);
  EXPECT_TRUE(watch.Arrived(100, 59999) && watch.StillWaiting(119998));
  EXPECT_FALSE(watch.StillWaiting(119999) || watch.Arrived(100, 119999));
  EXPECT_FALSE(DownloadWatch(100, 0).Arrived(101, 1));
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
  EXPECT_EQ(DownloadFolderPath("C:\\cur\\", 12), "C:\\cur\\\\qrupdate12\\");
  EXPECT_EQ(LocalInstallerPath(DownloadFolderPath("C:\\Temp", 1), "qr.exe"),
            "C:\\Temp\\qrupdate1\\qr.exe");

  const WindowCorner screen = UpdateWindowCornerOnScreen(1281, 1023);
  EXPECT_EQ(screen.x, 440);
  EXPECT_EQ(screen.y, 461);
  const WindowCorner menu = UpdateWindowCornerOverMainWindow(-30, 10, 575, 401);
  EXPECT_EQ(menu.x, -30 + 287 - 200);
  EXPECT_EQ(menu.y, 10 + 200 + 50);
}

}  // namespace
}  // namespace qr
