#include "update/update_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/memory_file_system.h"

namespace qr {
namespace {

constexpr char kSite[] = "http://127.0.0.1:1";
constexpr char kTemp[] = "T:\\tmp";
constexpr char kInfoPath[] = "T:\\tmp\\update257.txt";

// A web site of files and a window that records what it was shown.
class FakeHost final : public UpdateHost {
 public:
  explicit FakeHost(testing::MemoryFileSystem& fs) : fs_(&fs) {}

  std::map<std::string, std::string> site;  // address -> bytes
  std::vector<std::string> downloads;       // addresses asked for
  std::vector<std::string> statuses;
  std::vector<int> progress;
  std::string countdown;
  int pausedMs = 0;
  bool upToDateReported = false;
  bool startSucceeds = true;
  std::vector<std::string> started;

  void SetProgress(int percent) override { progress.push_back(percent); }
  void ShowStatus(const std::string& text, bool) override { statuses.push_back(text); }
  void ShowCountdown(const std::string& text) override { countdown = text; }
  void Pause(int ms) override { pausedMs += ms; }
  std::int32_t Download(const std::string& address, const std::string& path) override {
    downloads.push_back(address);
    const auto it = site.find(address);
    if (it == site.end()) return -2146697211;  // INET_E_RESOURCE_NOT_FOUND
    fs_->files[path] = it->second;
    return 0;
  }
  bool HashFile(const std::string& path, Sha256Digest* digest) override {
    const auto it = fs_->files.find(path);
    if (it == fs_->files.end()) return false;
    // Stands in for SHA-256: the first 32 bytes of the file, zero-padded.
    *digest = {};
    for (size_t i = 0; i < it->second.size() && i < digest->size(); ++i) {
      (*digest)[i] = std::uint8_t(it->second[i]);
    }
    return true;
  }
  void CloseWindowAndReportUpToDate() override { upToDateReported = true; }
  bool StartInstaller(const std::string& path) override {
    started.push_back(path);
    return startSucceeds;
  }

 private:
  testing::MemoryFileSystem* fs_;
};

std::string Info(const std::string& body) { return std::string(kSite) + "/updates/qr/" + body; }

// Hex of the fake digest of `bytes` (its first 32 bytes, zero-padded).
std::string FakeDigestHex(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < 32; ++i) {
    const auto b = std::uint8_t(i < bytes.size() ? bytes[i] : 0);
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
  }
  return hex;
}

struct UpdateFlowTest : ::testing::Test {
  testing::MemoryFileSystem fs;
  FakeHost host{fs};

  UpdateOutcome Run() { return RunUpdateSteps(host, fs, kSite, kTemp, "2.80"); }
};

TEST_F(UpdateFlowTest, UpToDateClosesTheWindowAndRemovesTheInfoFile) {
  for (const char* info : {" 2.80 \r\nqr.exe\r\n", "2.90\nNOFILE\n"}) {
    host = FakeHost(fs);
    host.site[Info("update257.txt")] = info;
    EXPECT_EQ(Run(), UpdateOutcome::kUpToDate) << info;
    EXPECT_TRUE(host.upToDateReported);
    EXPECT_EQ(host.downloads, std::vector<std::string>{Info("update257.txt")});
    EXPECT_FALSE(fs.files.contains(kInfoPath));
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.progress.back(), 100);
  }
}

TEST_F(UpdateFlowTest, DownloadsCountsDownAndStartsTheInstaller) {
  host.site[Info("update257.txt")] = "2.8\nqr28.exe\n";
  host.site[Info("qr28.exe")] = "MZ installer";
  EXPECT_EQ(Run(), UpdateOutcome::kInstallerStarted);
  EXPECT_EQ(host.started, std::vector<std::string>{"T:\\tmp\\qr28.exe"});
  EXPECT_EQ(fs.files["T:\\tmp\\qr28.exe"], "MZ installer");
  EXPECT_FALSE(fs.files.contains(kInfoPath));
  EXPECT_EQ(host.countdown, "Closing program to run update in . . .0");
  EXPECT_EQ(host.statuses.back(), "Closing program to update");
  EXPECT_FALSE(host.upToDateReported);
  // The pauses add up to about 1.6 s, 1.375 s of them the countdown.
  EXPECT_EQ(host.pausedMs, 100 + 20 * 9 + 11 * 125);
}

TEST_F(UpdateFlowTest, FailuresShowTheErrorAndStartNothing) {
  const std::string goodHex = FakeDigestHex("MZ installer");
  struct Case {
    const char* what;
    std::string info;  // empty: no information file on the site
    int downloads;     // how many downloads the check may try
  };
  const Case cases[] = {
      {"no information file", "", 1},
      {"empty line 1", "\nqr.exe\n", 1},
      {"a path instead of a name", "2.90\n..\\evil.exe\n", 1},
      {"an absolute path", "2.90\nC:\\Windows\\evil.exe\n", 1},
      {"not an installer", "2.90\nqr.bat\n", 1},
      {"garbled checksum", "2.90\nqr.exe\nsha256=12\n", 1},
      {"installer missing on the site", "2.90\nmissing.exe\n", 2},
      {"wrong checksum", "2.90\nqr.exe\nsha256=" + FakeDigestHex("MZ other") + "\n", 2},
  };
  for (const Case& c : cases) {
    fs.files.clear();
    host = FakeHost(fs);
    if (!c.info.empty()) host.site[Info("update257.txt")] = c.info;
    host.site[Info("qr.exe")] = "MZ installer";
    EXPECT_EQ(Run(), UpdateOutcome::kFailed) << c.what;
    EXPECT_EQ(int(host.downloads.size()), c.downloads) << c.what;
    EXPECT_TRUE(host.started.empty()) << c.what;
    EXPECT_FALSE(host.upToDateReported) << c.what;
    EXPECT_EQ(host.statuses.back(), kDownloadErrorText) << c.what;
    EXPECT_EQ(host.progress.back(), 90) << c.what;
    EXPECT_TRUE(fs.files.empty()) << c.what << ": left " << fs.files.begin()->first;
  }

  // The right checksum lets the same installer through.
  fs.files.clear();
  host = FakeHost(fs);
  host.site[Info("update257.txt")] = "2.90\r\nqr.exe\r\nsha256=" + goodHex + "\r\n";
  host.site[Info("qr.exe")] = "MZ installer";
  EXPECT_EQ(Run(), UpdateOutcome::kInstallerStarted);
}

TEST_F(UpdateFlowTest, AnInstallerThatWillNotStartIsReportedNotHidden) {
  host.site[Info("update257.txt")] = "2.90\nqr.exe\n";
  host.site[Info("qr.exe")] = "MZ";
  host.startSucceeds = false;
  EXPECT_EQ(Run(), UpdateOutcome::kFailed);
  EXPECT_EQ(host.statuses.back(), kDownloadErrorText);
}

}  // namespace
}  // namespace qr
