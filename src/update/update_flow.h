// The steps of one update check, from the first progress mark to the decision's end,
// over an interface to the window, the network and the process, so that the order of
// the steps and what each outcome leaves behind are the same on every platform.
#pragma once

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
  // Fetches `address` into the file `localPath`; 0 means success.
  virtual std::int32_t Download(const std::string& address, const std::string& localPath) = 0;
  // The SHA-256 of a file's bytes; false when the file cannot be read.
  virtual bool HashFile(const std::string& path, Sha256Digest* digest) = 0;
  // Closes the progress window and tells the user the program is up to date.
  virtual void CloseWindowAndReportUpToDate() = 0;
  // Starts the installer as a new process without waiting for it.
  virtual bool StartInstaller(const std::string& path) = 0;
};

enum class UpdateOutcome {
  kUpToDate,          // window closed, message shown
  kFailed,            // the error text stays in the open window
  kInstallerStarted,  // the caller must now end the program without saving settings
};

// Runs the check against the web site `site` (scheme and host), downloading into
// `temporaryFolder`. The local information file is removed on every path.
UpdateOutcome RunUpdateSteps(UpdateHost& host, FileSystem& fs, const std::string& site,
                             const std::string& temporaryFolder, const std::string& runningVersion);

}  // namespace qr
