// The platform-free rules of the update check: the information file on the web site,
// the decision it leads to, which installer names are safe to write and run, where
// the files go, and where the progress window sits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qr {

inline constexpr char kUpdateReleaseCode[] = "257";
inline constexpr char kUpdateFolderPath[] = "/updates/qr/";
inline constexpr char kUpdateNoFile[] = "NOFILE";

using Sha256Digest = std::array<std::uint8_t, 32>;

// What line 3 of the information file says about the installer's checksum.
enum class ChecksumLine {
  kNone,       // no line 3, or a line that is not about a checksum
  kValid,      // "sha256=" and 64 hexadecimal digits
  kMalformed,  // starts with "sha256=" but the digest is not 64 hexadecimal digits
};

struct UpdateInfo {
  std::string version;    // line 1
  std::string installer;  // line 2: a file name in the update folder, or "NOFILE"
  ChecksumLine checksum = ChecksumLine::kNone;
  Sha256Digest sha256{};  // meaningful when checksum is kValid
};

// Splits the information file into its lines (ended by CR, LF or CR LF) and reads
// lines 1 to 3; an absent line reads as empty text, further lines are ignored.
UpdateInfo ParseUpdateInfo(std::string_view bytes);

// Reads a "sha256=<64 hex digits>" line (blanks around it are allowed).
ChecksumLine ParseChecksumLine(std::string_view line, Sha256Digest* digest);

// Removes leading and trailing blanks (spaces).
std::string_view TrimBlanks(std::string_view text);

// Whether `name` may be written into the temporary folder and started: a plain file
// name (no folder parts, drive, "..", control or reserved characters, no device
// name) ending in ".exe" or ".msi".
bool IsSafeInstallerName(std::string_view name);

enum class UpdateDecision {
  kUpToDate,  // the offered release is the running one, or nothing is offered
  kOffered,   // download and start `UpdateInfo::installer`
  kFailed,    // no usable answer from the web site: show the download error
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
std::string LocalInstallerPath(std::string_view temporaryFolder, std::string_view installer);

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
