#include "update/update_info.h"

#include <algorithm>
#include <cstring>

namespace qr {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Device names that Windows opens instead of a file, whatever extension follows.
bool IsDeviceName(std::string_view base) {
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = UpperAscii(base);
  static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices) {
    if (upper == device) return true;
  }
  if (upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
      upper[3] >= '0' && upper[3] <= '9') {
    return true;
  }
  return false;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

ChecksumLine ParseChecksumLine(std::string_view line, Sha256Digest* digest) {
  static constexpr std::string_view kPrefix = "sha256=";
  line = TrimBlanks(line);
  if (!line.starts_with(kPrefix)) return ChecksumLine::kNone;
  const std::string_view hex = line.substr(kPrefix.size());
  if (hex.size() != 2 * digest->size()) return ChecksumLine::kMalformed;
  Sha256Digest parsed{};
  for (size_t i = 0; i < parsed.size(); ++i) {
    const int high = HexValue(hex[2 * i]);
    const int low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return ChecksumLine::kMalformed;
    parsed[i] = std::uint8_t(high * 16 + low);
  }
  *digest = parsed;
  return ChecksumLine::kValid;
}

UpdateInfo ParseUpdateInfo(std::string_view bytes) {
  std::string lines[3];
  size_t at = 0;
  for (int n = 0; n < 3 && at < bytes.size(); ++n) {
    const size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    lines[n] = bytes.substr(at, end - at);
    at = end;
    if (at < bytes.size() && bytes[at] == '\r') {
      ++at;
      if (at < bytes.size() && bytes[at] == '\n') ++at;
    } else if (at < bytes.size()) {
      ++at;  // LF
    }
  }
  UpdateInfo info;
  info.version = std::move(lines[0]);
  info.installer = std::move(lines[1]);
  info.checksum = ParseChecksumLine(lines[2], &info.sha256);
  return info;
}

bool IsSafeInstallerName(std::string_view name) {
  if (name.find("..") != std::string_view::npos) return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    // Control characters, folder and drive separators, wildcards, characters Windows
    // forbids in names, and the URL characters that would change the address.
    if (u < 0x20 || u == 0x7f || std::strchr("\\/:*?\"<>|#%", c) != nullptr) return false;
  }
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return false;
  const std::string extension = UpperAscii(name.substr(dot));
  if (extension != ".EXE" && extension != ".MSI") return false;
  return !IsDeviceName(name.substr(0, name.find('.')));
}

UpdateDecision DecideUpdate(std::string_view runningVersion, bool infoDownloaded,
                            const UpdateInfo& info) {
  if (!infoDownloaded) return UpdateDecision::kFailed;
  if (TrimBlanks(runningVersion) == TrimBlanks(info.version) || info.installer == kUpdateNoFile) {
    return UpdateDecision::kUpToDate;
  }
  // An empty version line is no answer at all, and a name that is not a plain
  // installer file name must never be written into the temporary folder or run.
  if (TrimBlanks(info.version).empty() || !IsSafeInstallerName(info.installer) ||
      info.checksum == ChecksumLine::kMalformed) {
    return UpdateDecision::kFailed;
  }
  return UpdateDecision::kOffered;
}

std::string ChooseTemporaryFolder(const std::vector<std::string>& environment,
                                  std::string_view currentDirectory) {
  std::optional<std::string> found;
  for (const std::string& entry : environment) {
    // Entries such as "=C:=C:\dir" keep per-drive folders; their name starts after
    // the first character, so the '=' that ends the name is searched from there.
    const size_t equals = entry.find('=', 1);
    if (equals == std::string::npos) continue;
    if (UpperAscii(std::string_view(entry).substr(0, equals)) == "TEMP") {
      found = entry.substr(equals + 1);
    }
  }
  if (found) return *found;
  return std::string(currentDirectory) + "\\";
}

std::vector<std::string> SplitEnvironmentBlock(const char* block) {
  std::vector<std::string> entries;
  if (block == nullptr) return entries;
  while (*block != '\0') {
    entries.emplace_back(block);
    block += entries.back().size() + 1;
  }
  return entries;
}

std::string UpdateInfoAddress(std::string_view site) {
  return std::string(site) + kUpdateFolderPath + "update" + kUpdateReleaseCode + ".txt";
}

std::string UpdateInstallerAddress(std::string_view site, std::string_view installer) {
  return std::string(site) + kUpdateFolderPath + std::string(installer);
}

std::string LocalUpdateInfoPath(std::string_view temporaryFolder) {
  return std::string(temporaryFolder) + "\\update" + kUpdateReleaseCode + ".txt";
}

std::string LocalInstallerPath(std::string_view temporaryFolder, std::string_view installer) {
  return std::string(temporaryFolder) + "\\" + std::string(installer);
}

WindowCorner UpdateWindowCornerOnScreen(int screenWidth, int screenHeight) {
  return {screenWidth / 2 - 200, screenHeight / 2 - 50};
}

WindowCorner UpdateWindowCornerOverMainWindow(int left, int top, int clientWidth,
                                              int clientHeight) {
  return {left + clientWidth / 2 - 200, top + clientHeight / 2 + 50};
}

}  // namespace qr
