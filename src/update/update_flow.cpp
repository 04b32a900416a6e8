#include "update/update_flow.h"

#include "base/file_system.h"

namespace qr {

namespace {

UpdateOutcome Fail(UpdateHost& host, FileSystem& fs, const std::string& infoPath) {
  host.SetProgress(90);
  host.ShowStatus(kDownloadErrorText, /*tall=*/true);
  host.Pause(20);
  fs.Remove(infoPath);
  return UpdateOutcome::kFailed;
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
  const bool infoDownloaded = host.Download(UpdateInfoAddress(site), infoPath) == 0;
  host.Pause(20);

  std::string bytes;
  if (infoDownloaded && !fs.ReadFile(infoPath, &bytes)) bytes.clear();
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
      host.CloseWindowAndReportUpToDate();
      fs.Remove(infoPath);
      return UpdateOutcome::kUpToDate;
    case UpdateDecision::kFailed:
      return Fail(host, fs, infoPath);
    case UpdateDecision::kOffered:
      break;
  }

  host.SetProgress(75);
  host.ShowStatus("Version Update available....downloading", false);
  host.Pause(20);
  const std::string installerPath = LocalInstallerPath(temporaryFolder, info.installer);
  if (host.Download(UpdateInstallerAddress(site, info.installer), installerPath) != 0) {
    return Fail(host, fs, infoPath);
  }
  if (info.checksum == ChecksumLine::kValid) {
    Sha256Digest digest{};
    if (!host.HashFile(installerPath, &digest) || digest != info.sha256) {
      // Not the file the web site announced: it must never run.
      fs.Remove(installerPath);
      return Fail(host, fs, infoPath);
    }
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
  if (!host.StartInstaller(installerPath)) return Fail(host, fs, infoPath);
  return UpdateOutcome::kInstallerStarted;
}

}  // namespace qr
