// The platform-free rules of the update check: the information file on the web site,
// the decision it leads to, which installer names are safe to write and run, where
// the files go, and where the progress window sits.
//
// An installer is started only when the information file carries its signature: ECDSA
// on the P-256 curve, made with the release key whose public half is built into the
// program, over one message that binds the product, the offered version, the installer's
// file name and its SHA-256 (UpdateSignedMessage; scripts/sign-release makes the lines).
// Only a version newer than the running one is offered, so an old signed release cannot
// be passed off as an update.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qr {

inline constexpr char kUpdateReleaseCode[] = "257";
inline constexpr char kUpdateFolderPath[] = "/updates/qr/";
inline constexpr char kUpdateNoFile[] = "NOFILE";

// Only this much of the information file is downloaded and read: a larger answer is
// stopped there and counts as no answer.
inline constexpr std::size_t kUpdateInfoReadLimit = 64 * 1024;
// A download of the installer is stopped once it passes this size.
inline constexpr std::uint64_t kInstallerDownloadLimit = 512ull * 1024 * 1024;
// Either download is stopped after this long without a byte.
inline constexpr std::int64_t kDownloadStallMs = 60 * 1000;

using Sha256Digest = std::array<std::uint8_t, 32>;
// An ECDSA P-256 signature: r then s, 32 bytes each, most significant byte first.
using EcdsaSignature = std::array<std::uint8_t, 64>;
// A P-256 public key: the point's X then Y, 32 bytes each, most significant byte first.
using EcdsaPublicKey = std::array<std::uint8_t, 64>;

// What the lines after line 2 say about one property of the installer.
enum class IntegrityLine {
  kAbsent,     // no such line
  kValid,      // one such line with a well-formed value
  kMalformed,  // a value of the wrong form or length, or the line given twice
};

struct UpdateInfo {
  std::string version;    // line 1
  std::string installer;  // line 2: a file name in the update folder, or "NOFILE"
  IntegrityLine sha256Line = IntegrityLine::kAbsent;     // "sha256=<64 hexadecimal digits>"
  Sha256Digest sha256{};                                 // meaningful when sha256Line is kValid
  IntegrityLine signatureLine = IntegrityLine::kAbsent;  // "signature=<Base64 of r||s>"
  EcdsaSignature signature{};                            // meaningful when signatureLine is kValid
};

// Splits the information file into its lines (ended by CR, LF or CR LF), after a UTF-8
// byte order mark at its start, which is skipped. Lines 1 and 2
// are the version and the installer (an absent line reads as empty text). Any later
// line may be "sha256=..." or "signature=...", the key matched without regard to case
// and blanks around the line allowed; other lines are ignored.
UpdateInfo ParseUpdateInfo(std::string_view bytes);

// Decodes exactly out.size() bytes written as 2 * out.size() hexadecimal digits.
bool DecodeHex(std::string_view hex, std::span<std::uint8_t> out);
// Decodes exactly out.size() bytes written in standard Base64 ("+", "/", "=" padding),
// in its one canonical spelling: nothing else on the line, unused bits zero.
bool DecodeBase64(std::string_view text, std::span<std::uint8_t> out);

// Removes leading and trailing blanks (spaces).
std::string_view TrimBlanks(std::string_view text);

// Whether `name` may be written into the temporary folder and started: a plain file
// name (no folder parts, drive, "..", control or reserved characters, no device
// name) ending in ".exe" or ".msi".
bool IsSafeInstallerName(std::string_view name);

// Compares two versions, numbers separated by dots ("2.80", "3.1.10"), part by part as
// numbers: "2.9" < "2.10" and "2.8" < "2.80"; a missing part counts as 0, so "2.80" and
// "2.80.0" are equal. No value when either is not of that form (blanks included).
std::optional<std::strong_ordering> CompareVersions(std::string_view a, std::string_view b);

// The bytes the release key signs for an installer offered as `version`:
// "quarrane-update\n<version>\n<installer>\n<SHA-256 in lower-case hexadecimal>\n".
std::string UpdateSignedMessage(std::string_view version, std::string_view installer,
                                const Sha256Digest& sha256);

// Watches one download as its bytes arrive: it must stop once more than `limit` bytes
// came, or when kDownloadStallMs passed without a new byte.
class DownloadWatch {
 public:
  DownloadWatch(std::uint64_t limit, std::int64_t startMs) : limit_(limit), lastByteMs_(startMs) {}
  // `total` bytes have arrived so far, at `nowMs`; false when the download must stop.
  bool Arrived(std::uint64_t total, std::int64_t nowMs);
  // Nothing new at `nowMs`; false when the download must stop.
  bool StillWaiting(std::int64_t nowMs) const { return nowMs - lastByteMs_ < kDownloadStallMs; }

 private:
  std::uint64_t limit_;
  std::uint64_t total_ = 0;
  std::int64_t lastByteMs_;
};

enum class UpdateDecision {
  kUpToDate,      // the offered release is not newer than the running one, or nothing is offered
  kOffered,       // download `UpdateInfo::installer`, and start it if its signature holds
  kFailed,        // no usable answer (no version, a name that is no installer): show the
                  // download error
  kUnverifiable,  // an installer without a usable signature: refuse it, download nothing
};

// `infoDownloaded` is whether the information file itself arrived.
UpdateDecision DecideUpdate(std::string_view runningVersion, bool infoDownloaded,
                            const UpdateInfo& info);

// The temporary folder: the value of the last environment entry whose name, upper-cased,
// is "TEMP"; without one, the current directory followed by a backslash.
std::string ChooseTemporaryFolder(const std::vector<std::string>& environment,
                                  std::string_view currentDirectory);

// Splits a process environment block ("NAME=value\0...\0\0") into its entries.
std::vector<std::string> SplitEnvironmentBlock(const char* block);

// `site` is scheme and host, e.g. "https://www.example.com".
std::string UpdateInfoAddress(std::string_view site);
std::string UpdateInstallerAddress(std::string_view site, std::string_view installer);
std::string LocalUpdateInfoPath(std::string_view temporaryFolder);
// The `n`th candidate for the installer's own folder in the temporary folder: the
// check takes the first it can create afresh. Ends in a backslash.
std::string DownloadFolderPath(std::string_view temporaryFolder, int n);
std::string LocalInstallerPath(std::string_view downloadFolder, std::string_view installer);

// Top-left corner of the progress window.
struct WindowCorner {
  int x;
  int y;
};
// Centred on a screen of the given size (the start-up question).
WindowCorner UpdateWindowCornerOnScreen(int screenWidth, int screenHeight);
// Over the main window (Help > Check for Updates): from its outer top-left corner and
// its client size.
WindowCorner UpdateWindowCornerOverMainWindow(int left, int top, int clientWidth, int clientHeight);

}  // namespace qr
