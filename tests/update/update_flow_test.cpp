#include "update/update_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/memory_file_system.h"

namespace qr {
namespace {

constexpr char kSite[] = "http://127.0.0.1:1";
constexpr char kTemp[] = "T:\\tmp";
constexpr char kInfoPath[] = "T:\\tmp\\update257.txt";
// Two signatures in the information file's Base64: bytes 0 to 63 and 192 to 255.
constexpr char kSignatureA[] =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+Pw==";
constexpr char kSignatureB[] =
    "wMHCw8TFxsfIycrLzM3Oz9DR0tPU1dbX2Nna29zd3t/g4eLj5OXm5+jp6uvs7e7v8PHy8/T19vf4+fr7/P3+/w==";

// Stands in for SHA-256: the first 32 bytes of the file, zero-padded.
Sha256Digest FakeDigest(const std::string& bytes) {
  Sha256Digest digest{};
  for (size_t i = 0; i < bytes.size() && i < digest.size(); ++i) digest[i] = std::uint8_t(bytes[i]);
  return digest;
}

std::string Hex(const Sha256Digest& digest) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint8_t b : digest) {
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
  }
  return hex;
}

EcdsaSignature Signature(const char* base64) {
  EcdsaSignature signature{};
  EXPECT_TRUE(DecodeBase64(base64, signature));
  return signature;
}

// A web site of files, a window that records what it was shown, and a release key that
// signed the messages in `signedMessages`.
class FakeHost final : public UpdateHost {
 public:
  explicit FakeHost(testing::MemoryFileSystem& fs) : fs_(&fs) {}

  std::map<std::string, std::string> site;  // address -> bytes
  std::map<std::string, EcdsaSignature> signedMessages;
  std::vector<std::string> downloads;  // addresses asked for
  std::vector<std::string> statuses;
  std::vector<int> progress;
  std::string countdown;
  int pausedMs = 0;
  std::string toldTitle, toldText;
  bool startSucceeds = true;
  std::vector<std::string> started;  // "path in folder"
  std::string held;                  // the installer held open, if any
  bool startedUnheld = false;
  bool removedWhileHeld = false;

  void SetProgress(int percent) override { progress.push_back(percent); }
  void ShowStatus(const std::string& text, bool) override { statuses.push_back(text); }
  void ShowCountdown(const std::string& text) override { countdown = text; }
  void Pause(int ms) override { pausedMs += ms; }
  std::int32_t Download(const std::string& address, const std::string& path,
                        std::uint64_t limit) override {
    downloads.push_back(address);
    const auto it = site.find(address);
    if (it == site.end() || !fs_->folders.contains(fs_->FolderOf(path))) {
      return -2146697211;  // INET_E_RESOURCE_NOT_FOUND
    }
    fs_->files[path] = it->second.substr(0, limit + 1);
    return it->second.size() > limit ? -2147467260 : 0;  // E_ABORT
  }
  bool ReadFileStart(const std::string& path, std::size_t limit, std::string* bytes) override {
    if (!fs_->ReadFile(path, bytes)) return false;
    bytes->resize(std::min(bytes->size(), limit));
    return true;
  }
  bool CreatePrivateFolder(const std::string& p) override { return fs_->folders.insert(p).second; }
  void RemoveFolder(const std::string& path) override {
    std::erase_if(fs_->files, [&](const auto& f) { return fs_->FolderOf(f.first) == path; });
    fs_->folders.erase(path);
  }
  bool HoldAndHashInstaller(const std::string& path, Sha256Digest* digest) override {
    const auto it = fs_->files.find(path);
    if (it == fs_->files.end()) return false;
    held = path;
    *digest = FakeDigest(it->second);
    return true;
  }
  void ReleaseInstaller() override {
    // Windows refuses to delete a file that is held open.
    if (!held.empty() && !fs_->files.contains(held)) removedWhileHeld = true;
    held.clear();
  }
  bool VerifySignature(const std::string& message, const EcdsaSignature& signature) override {
    const auto it = signedMessages.find(message);
    return it != signedMessages.end() && it->second == signature;
  }
  void CloseWindowAndTell(const std::string& title, const std::string& text) override {
    toldTitle = title;
    toldText = text;
  }
  bool StartInstaller(const std::string& path, const std::string& folder) override {
    if (held != path) startedUnheld = true;
    started.push_back(path + " in " + folder);
    return startSucceeds;
  }

 private:
  testing::MemoryFileSystem* fs_;
};

std::string Info(const std::string& body) { return std::string(kSite) + "/updates/qr/" + body; }

struct UpdateFlowTest : ::testing::Test {
  testing::MemoryFileSystem fs;
  FakeHost host{fs};
  const std::set<std::string> initialFolders{"", "T:\\tmp\\"};

  // A web site offering "MZ installer" as qr.exe 2.90, signed (kSignatureA), and the key
  // that also signed "MZ other" (kSignatureB); `info` is its information file.
  void Reset(const std::string& info) {
    fs.files.clear();
    fs.folders = initialFolders;
    host = FakeHost(fs);
    if (!info.empty()) host.site[Info("update257.txt")] = info;
    host.site[Info("qr.exe")] = "MZ installer";
    host.signedMessages[UpdateSignedMessage("2.90", "qr.exe", FakeDigest("MZ installer"))] =
        Signature(kSignatureA);
    host.signedMessages[UpdateSignedMessage("2.90", "qr.exe", FakeDigest("MZ other"))] =
        Signature(kSignatureB);
  }
  UpdateOutcome Run() { return RunUpdateSteps(host, fs, kSite, kTemp, "2.80"); }
};

TEST_F(UpdateFlowTest, UpToDateClosesTheWindowAndRemovesTheInfoFile) {
  for (const char* info : {" 2.80 \r\nqr.exe\r\n", "2.90\nNOFILE\n"}) {
    Reset(info);
    EXPECT_EQ(Run(), UpdateOutcome::kUpToDate) << info;
    EXPECT_EQ(host.toldTitle + "|" + host.toldText,
              "Update Info|Your version of the software is up to date");
    EXPECT_EQ(host.downloads, std::vector<std::string>{Info("update257.txt")});
    EXPECT_FALSE(fs.files.contains(kInfoPath));
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.progress.back(), 100);
  }
}

TEST_F(UpdateFlowTest, StartsASignedInstallerFromAFolderOfItsOwn) {
  Reset(std::string("2.90\nqr.exe\nsignature=") + kSignatureA + "\n");
  fs.folders.insert("T:\\tmp\\qrupdate2\\");  // left by an earlier update: removed first
  fs.files["T:\\tmp\\qrupdate2\\qr.exe"] = "MZ earlier";
  EXPECT_EQ(Run(), UpdateOutcome::kInstallerStarted);
  EXPECT_EQ(host.started,
            std::vector<std::string>{"T:\\tmp\\qrupdate1\\qr.exe in T:\\tmp\\qrupdate1\\"});
  EXPECT_FALSE(fs.folders.contains("T:\\tmp\\qrupdate2\\"));
  EXPECT_FALSE(host.startedUnheld);
  EXPECT_TRUE(host.held.empty());
  EXPECT_EQ(fs.files["T:\\tmp\\qrupdate1\\qr.exe"], "MZ installer");
  EXPECT_FALSE(fs.files.contains(kInfoPath));
  EXPECT_EQ(host.countdown, "Closing program to run update in . . .0");
  EXPECT_EQ(host.statuses.back(), "Closing program to update");
  EXPECT_TRUE(host.toldText.empty());
  // The pauses add up to about 1.6 s, 1.375 s of them the countdown.
  EXPECT_EQ(host.pausedMs, 100 + 20 * 9 + 11 * 125);

  // A matching sha256 line may stand beside the signature.
  Reset("2.90\r\nqr.exe\r\nsha256=" + Hex(FakeDigest("MZ installer")) +
        "\r\nsignature=" + kSignatureA + "\r\n");
  EXPECT_EQ(Run(), UpdateOutcome::kInstallerStarted);
}

TEST_F(UpdateFlowTest, FailuresShowTheErrorAndStartNothing) {
  const std::string sig = std::string("\nsignature=") + kSignatureA;
  struct Case {
    const char* what;
    std::string info;  // empty: no information file on the site
    int downloads;     // how many downloads the check may try
  };
  const Case cases[] = {
      {"no information file", "", 1},
      {"empty line 1", "\nqr.exe" + sig, 1},
      {"an information file past 64 KiB", "2.90\nqr.exe" + sig + std::string(64 << 10, '\n'), 1},
      {"a path instead of a name", "2.90\n..\\evil.exe" + sig, 1},
      {"an absolute path", "2.90\nC:\\Windows\\evil.exe" + sig, 1},
      {"not an installer", "2.90\nqr.bat" + sig, 1},
      {"installer missing on the site", "2.90\nmissing.exe" + sig, 2},
  };
  for (const Case& c : cases) {
    Reset(c.info);
    EXPECT_EQ(Run(), UpdateOutcome::kFailed) << c.what;
    EXPECT_EQ(int(host.downloads.size()), c.downloads) << c.what;
    EXPECT_TRUE(host.started.empty()) << c.what;
    EXPECT_TRUE(host.toldText.empty()) << c.what;
    EXPECT_EQ(host.statuses.back(), kDownloadErrorText) << c.what;
    EXPECT_EQ(host.progress.back(), 90) << c.what;
    EXPECT_TRUE(fs.files.empty()) << c.what << ": left " << fs.files.begin()->first;
    EXPECT_EQ(fs.folders, initialFolders) << c.what;
  }
}

TEST_F(UpdateFlowTest, AnInstallerThatCannotBeVerifiedIsRefusedAndRemoved) {
  const std::string good = Hex(FakeDigest("MZ installer"));
  struct Case {
    const char* what;
    std::string later;   // the lines after "2.90" and "qr.exe"
    std::string served;  // what the site sends as qr.exe
    int downloads;
  };
  const Case cases[] = {
      {"no signature line", "", "MZ installer", 1},
      {"only a sha256 line", "sha256=" + good, "MZ installer", 1},
      {"a signature of the wrong length", std::string("signature=") + (kSignatureA + 4),
       "MZ installer", 1},
      {"a signature that is not Base64", "signature=" + std::string(87, '!') + "=", "MZ installer",
       1},
      {"a garbled sha256 line", "sha256=12\nsignature=" + std::string(kSignatureA), "MZ installer",
       1},
      {"the signature of another file", std::string("signature=") + kSignatureB, "MZ installer", 2},
      {"another file than the one signed", std::string("signature=") + kSignatureA, "MZ other", 2},
      {"another file than the one signed and hashed",
       "sha256=" + good + "\nsignature=" + kSignatureA, "MZ swapped", 2},
      {"a sha256 line for another file",
       "sha256=" + Hex(FakeDigest("MZ other")) + "\nsignature=" + kSignatureA, "MZ installer", 2},
  };
  for (const Case& c : cases) {
    Reset("2.90\nqr.exe\n" + c.later);
    host.site[Info("qr.exe")] = c.served;
    EXPECT_EQ(Run(), UpdateOutcome::kRefused) << c.what;
    EXPECT_EQ(int(host.downloads.size()), c.downloads) << c.what;
    EXPECT_EQ(host.toldTitle, "Update Check") << c.what;
    EXPECT_EQ(host.toldText, c.downloads == 1 ? kNotDownloadedText : kNotVerifiedText) << c.what;
    EXPECT_TRUE(host.started.empty()) << c.what;
    EXPECT_TRUE(host.held.empty()) << c.what;
    EXPECT_FALSE(host.removedWhileHeld) << c.what;
    EXPECT_TRUE(fs.files.empty()) << c.what << ": left " << fs.files.begin()->first;
    EXPECT_EQ(fs.folders, initialFolders) << c.what;
  }
}

TEST_F(UpdateFlowTest, AnInstallerThatWillNotStartIsReportedAndRemoved) {
  Reset(std::string("2.90\nqr.exe\nsignature=") + kSignatureA);
  host.startSucceeds = false;
  EXPECT_EQ(Run(), UpdateOutcome::kFailed);
  EXPECT_EQ(host.statuses.back(), kDownloadErrorText);
  EXPECT_FALSE(host.removedWhileHeld);
  EXPECT_TRUE(fs.files.empty());
  EXPECT_EQ(fs.folders, initialFolders);
}

}  // namespace
}  // namespace qr
