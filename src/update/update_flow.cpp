#include "update/update_flow.h"

#include <optional>

#include "base/file_system.h"

namespace qr {

namespace {

// How many folder names the check tries before it gives up on a temporary folder.
constexpr int kDownloadFolderTries = 100;

UpdateOutcome Fail(UpdateHost& host, FileSystem& fs, const std::string& infoPath) {
  host.SetProgress(90);
  host.ShowStatus(kDownloadErrorText, /*tall=*/true);
  host.Pause(20);
  fs.Remove(infoPath);
  return UpdateOutcome::kFailed;
}

UpdateOutcome Refuse(UpdateHost& host, FileSystem& fs, const std::string& infoPath,
                     const char* text) {
  fs.Remove(infoPath);
  host.CloseWindowAndTell(kUpdateCheckTitle, text);
  return UpdateOutcome::kRefused;
}

// A folder for the installer alone, made by this check and open to nobody else: nothing
// can be waiting in it. The folders of earlier checks, with the installers they started,
// go first.
std::optional<std::string> MakeDownloadFolder(UpdateHost& host,
                                              const std::string& temporaryFolder) {
  for (int n = 1; n <= kDownloadFolderTries; ++n) {
    host.RemoveFolder(DownloadFolderPath(temporaryFolder, n));
  }
  for (int n = 1; n <= kDownloadFolderTries; ++n) {
    std::string folder = DownloadFolderPath(temporaryFolder, n);
    if (host.CreatePrivateFolder(folder)) return folder;
  }
  return std::nullopt;
}

void DiscardInstaller(UpdateHost& host, FileSystem& fs, const std::string& installerPath,
                      const std::string& folder) {
  host.ReleaseInstaller();
  fs.Remove(installerPath);
  host.RemoveFolder(folder);
}

}  // namespace

UpdateOutcome RunUpdateSteps(UpdateHost& host, FileSystem& fs, const std::string& site,
                             const std::string& temporaryFolder,
                             const std::string& runningVersion) {
  host.SetProgress(5);
  host.Pause(100);
  host.ShowStatus("Getting current version information", false);
  host.Pause(20);
  host.SetProgress(10);
  host.ShowStatus("Getting current release version information from website", false);
  host.Pause(20);

  const std::string infoPath = LocalUpdateInfoPath(temporaryFolder);
  host.SetProgress(25);
  host.ShowStatus("Verifying file integrity", false);
  host.Pause(20);
  bool infoDownloaded = host.Download(UpdateInfoAddress(site), infoPath, kUpdateInfoReadLimit) == 0;
  host.Pause(20);

  // A file past the limit is no answer, even when its download was not stopped in time.
  std::string bytes;
  if (infoDownloaded && (!host.ReadFileStart(infoPath, kUpdateInfoReadLimit + 1, &bytes) ||
                         bytes.size() > kUpdateInfoReadLimit)) {
    infoDownloaded = false;
    bytes.clear();
  }
  const UpdateInfo info = ParseUpdateInfo(bytes);
  host.SetProgress(50);
  host.Pause(20);
  host.SetProgress(60);
  host.ShowStatus("Comparing Versions", false);
  host.Pause(20);

  switch (DecideUpdate(runningVersion, infoDownloaded, info)) {
    case UpdateDecision::kUpToDate:
      host.SetProgress(100);
      host.Pause(20);
      host.CloseWindowAndTell(kUpdateInfoTitle, kUpToDateText);
      fs.Remove(infoPath);
      return UpdateOutcome::kUpToDate;
    case UpdateDecision::kFailed:
      return Fail(host, fs, infoPath);
    case UpdateDecision::kUnverifiable:
      return Refuse(host, fs, infoPath, kNotDownloadedText);
    case UpdateDecision::kOffered:
      break;
  }

  host.SetProgress(75);
  host.ShowStatus("Version Update available....downloading", false);
  host.Pause(20);
  const std::optional<std::string> folder = MakeDownloadFolder(host, temporaryFolder);
  if (!folder) return Fail(host, fs, infoPath);
  const std::string installerPath = LocalInstallerPath(*folder, info.installer);
  if (host.Download(UpdateInstallerAddress(site, info.installer), installerPath,
                    kInstallerDownloadLimit) != 0) {
    DiscardInstaller(host, fs, installerPath, *folder);
    return Fail(host, fs, infoPath);
  }

  // From here until it is started the installer is held open: what was verified is
  // what runs. The signature holds only for this version, this name and these bytes.
  Sha256Digest digest{};
  const bool verified =
      host.HoldAndHashInstaller(installerPath, &digest) &&
      (info.sha256Line != IntegrityLine::kValid || digest == info.sha256) &&
      host.VerifySignature(UpdateSignedMessage(TrimBlanks(info.version), info.installer, digest),
                           info.signature);
  if (!verified) {
    DiscardInstaller(host, fs, installerPath, *folder);
    return Refuse(host, fs, infoPath, kNotVerifiedText);
  }

  host.SetProgress(90);
  host.ShowStatus("Download successful...preparing to update", false);
  host.Pause(20);
  fs.Remove(infoPath);
  host.SetProgress(100);
  host.ShowStatus("Closing program to update", false);
  host.Pause(20);
  for (int n = 10; n >= 0; --n) {
    host.Pause(125);
    host.ShowCountdown(kCountdownText + std::to_string(n));
  }
  if (!host.StartInstaller(installerPath, *folder)) {
    DiscardInstaller(host, fs, installerPath, *folder);
    return Fail(host, fs, infoPath);
  }
  host.ReleaseInstaller();
  return UpdateOutcome::kInstallerStarted;
}

}  // namespace qr
