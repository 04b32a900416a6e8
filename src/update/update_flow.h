// The steps of one update check, from the first progress mark to the decision's end,
// over an interface to the window, the network and the process, so that the order of
// the steps and what each outcome leaves behind are the same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "update/update_info.h"

namespace qr {

class FileSystem;

inline constexpr char kUpdateInfoTitle[] = "Update Info";
inline constexpr char kUpToDateText[] = "Your version of the software is up to date";
inline constexpr char kDownloadErrorText[] =
    "Error Downloading... please try again shortly...if the problem persist please contact "
    "support";
inline constexpr char kCountdownText[] = "Closing program to run update in . . .";
inline constexpr char kUpdateCheckTitle[] = "Update Check";
inline constexpr char kNotVerifiedText[] =
    "The downloaded update could not be verified and was not started.";
inline constexpr char kNotDownloadedText[] =
    "The update could not be verified and was not downloaded.";

// What the update check needs from the platform.
class UpdateHost {
 public:
  virtual ~UpdateHost() = default;
  virtual void SetProgress(int percent) = 0;
  // A step's text, as a new status label; `tall` gives the label two lines.
  virtual void ShowStatus(const std::string& text, bool tall) = 0;
  virtual void ShowCountdown(const std::string& text) = 0;
  // A plain wait: the window is not serviced meanwhile.
  virtual void Pause(int milliseconds) = 0;
  // Fetches `address` into the file `localPath`, stopping once more than `limit` bytes
  // came or when none came for kDownloadStallMs (DownloadWatch); 0 means success.
  virtual std::int32_t Download(const std::string& address, const std::string& localPath,
                                std::uint64_t limit) = 0;
  // Reads the start of a file, at most `limit` bytes; false when it cannot be read.
  virtual bool ReadFileStart(const std::string& path, std::size_t limit, std::string* bytes) = 0;
  // Makes a new folder that only the current user can open; false when it exists
  // already or cannot be made.
  virtual bool CreatePrivateFolder(const std::string& path) = 0;
  // Removes a folder with the files in it (a folder that holds more stays).
  virtual void RemoveFolder(const std::string& path) = 0;
  // Opens the downloaded installer and computes the SHA-256 of its bytes; false when it
  // cannot be opened or read. The file stays open, so that nothing can change, replace
  // or delete it, until ReleaseInstaller.
  virtual bool HoldAndHashInstaller(const std::string& path, Sha256Digest* digest) = 0;
  virtual void ReleaseInstaller() = 0;
  // Whether `signature` is the release key's signature of the bytes `message`.
  virtual bool VerifySignature(const std::string& message, const EcdsaSignature& signature) = 0;
  // Closes the progress window and shows a message box with an OK button.
  virtual void CloseWindowAndTell(const std::string& title, const std::string& text) = 0;
  // Starts the installer as a new process without arguments, in `folder`, without
  // waiting for it.
  virtual bool StartInstaller(const std::string& path, const std::string& folder) = 0;
};

enum class UpdateOutcome {
  kUpToDate,          // window closed, message shown
  kFailed,            // the error text stays in the open window
  kRefused,           // an installer that could not be verified: window closed, message shown
  kInstallerStarted,  // the caller must now end the program without saving settings
};

// Runs the check against the web site `site` (scheme and host), downloading into
// `temporaryFolder`: the information file directly, the installer into a private folder
// of its own made afresh there, once the folders of earlier checks are removed. The local
// information file is removed on every path, and an installer that is not started is removed with
// its folder.
UpdateOutcome RunUpdateSteps(UpdateHost& host, FileSystem& fs, const std::string& site,
                             const std::string& temporaryFolder, const std::string& runningVersion);

}  // namespace qr
