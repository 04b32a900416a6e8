#include "update/update_info.h"

#include <algorithm>
#include <cstring>

namespace qr {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

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

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Reads a line after line 2, "<key>=<value>", into `state` and `out` when its key is
// `key` (given in lower case) in any letter case.
void ReadIntegrityLine(std::string_view line, std::string_view key, IntegrityLine* state,
                       std::span<std::uint8_t> out,
                       bool (*decode)(std::string_view, std::span<std::uint8_t>)) {
  if (line.size() <= key.size() || line[key.size()] != '=') return;
  for (size_t i = 0; i < key.size(); ++i) {
    if (LowerAscii(line[i]) != key[i]) return;
  }
  // A second line for the same key makes the answer ambiguous: neither counts.
  if (*state != IntegrityLine::kAbsent) {
    *state = IntegrityLine::kMalformed;
    return;
  }
  *state =
      decode(line.substr(key.size() + 1), out) ? IntegrityLine::kValid : IntegrityLine::kMalformed;
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

UpdateInfo ParseUpdateInfo(std::string_view bytes) {
  UpdateInfo info;
  size_t at = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  for (int n = 1; at < bytes.size(); ++n) {
    const size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    const std::string_view line = bytes.substr(at, end - at);
    at = end;
    if (at < bytes.size() && bytes[at] == '\r') {
      ++at;
      if (at < bytes.size() && bytes[at] == '\n') ++at;
    } else if (at < bytes.size()) {
      ++at;  // LF
    }
    if (n == 1) {
      info.version = line;
    } else if (n == 2) {
      info.installer = line;
    } else {
      const std::string_view trimmed = TrimBlanks(line);
      ReadIntegrityLine(trimmed, "sha256", &info.sha256Line, info.sha256, DecodeHex);
      ReadIntegrityLine(trimmed, "signature", &info.signatureLine, info.signature, DecodeBase64);
    }
  }
  return info;
}

bool DecodeHex(std::string_view hex, std::span<std::uint8_t> out) {
  if (hex.size() != 2 * out.size()) return false;
  for (size_t i = 0; i < out.size(); ++i) {
    const int high = HexValue(hex[2 * i]);
    const int low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = std::uint8_t(high * 16 + low);
  }
  return true;
}

bool DecodeBase64(std::string_view text, std::span<std::uint8_t> out) {
  const size_t groups = (out.size() + 2) / 3;
  if (text.size() != 4 * groups) return false;
  const size_t padding = 3 * groups - out.size();  // "=" at the end: 0, 1 or 2
  size_t written = 0;
  for (size_t g = 0; g < groups; ++g) {
    const bool last = g + 1 == groups;
    std::uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) {
      const char c = text[4 * g + i];
      const int value = (last && i >= 4 - padding) ? (c == '=' ? 0 : -1) : Base64Value(c);
      if (value < 0) return false;
      bits = (bits << 6) | std::uint32_t(value);
    }
    // The bits after the last byte are zero in the one canonical spelling.
    if (last && padding > 0 && (bits & ((1u << (8 * padding)) - 1)) != 0) return false;
    for (int shift = 16; shift >= 0 && written < out.size(); shift -= 8) {
      out[written++] = std::uint8_t(bits >> shift);
    }
  }
  return true;
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

std::optional<std::strong_ordering> CompareVersions(std::string_view a, std::string_view b) {
  const auto valid = [](std::string_view v) {
    return !v.empty() && v.find_first_not_of("0123456789.") == std::string_view::npos &&
           v.front() != '.' && v.back() != '.' && v.find("..") == std::string_view::npos;
  };
  if (!valid(a) || !valid(b)) return std::nullopt;
  // The next part of `v` without its leading zeros, so that numbers of any length
  // compare by their number of digits and then digit by digit.
  const auto nextPart = [](std::string_view& v) {
    std::string_view part = v.substr(0, v.find('.'));
    v.remove_prefix(std::min(v.size(), part.size() + 1));
    while (!part.empty() && part.front() == '0') part.remove_prefix(1);
    return part;
  };
  while (!a.empty() || !b.empty()) {
    const std::string_view x = nextPart(a), y = nextPart(b);
    if (x.size() != y.size()) return x.size() <=> y.size();
    if (const int c = x.compare(y); c != 0) return c <=> 0;
  }
  return std::strong_ordering::equal;
}

std::string UpdateSignedMessage(std::string_view version, std::string_view installer,
                                const Sha256Digest& sha256) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string message = "quarrane-update\n";
  message.append(version).append("\n").append(installer).append("\n");
  for (const std::uint8_t b : sha256) {
    message += kHex[b >> 4];
    message += kHex[b & 15];
  }
  return message + "\n";
}

bool DownloadWatch::Arrived(std::uint64_t total, std::int64_t nowMs) {
  if (!StillWaiting(nowMs)) return false;
  if (total > total_) {
    total_ = total;
    lastByteMs_ = nowMs;
  }
  return total_ <= limit_;
}

UpdateDecision DecideUpdate(std::string_view runningVersion, bool infoDownloaded,
                            const UpdateInfo& info) {
  if (!infoDownloaded) return UpdateDecision::kFailed;
  if (info.installer == kUpdateNoFile) return UpdateDecision::kUpToDate;
  // A line 1 that is no version is no answer at all. A release that is not newer than
  // the running one is never offered: an old signed release stays old.
  const auto order = CompareVersions(TrimBlanks(info.version), TrimBlanks(runningVersion));
  if (!order) return UpdateDecision::kFailed;
  if (*order <= 0) return UpdateDecision::kUpToDate;
  // A name that is not a plain installer file name must never be written into the
  // temporary folder or run.
  if (!IsSafeInstallerName(info.installer)) return UpdateDecision::kFailed;
  // An installer that could never be verified is not even fetched.
  if (info.signatureLine != IntegrityLine::kValid || info.sha256Line == IntegrityLine::kMalformed) {
    return UpdateDecision::kUnverifiable;
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

std::string DownloadFolderPath(std::string_view temporaryFolder, int n) {
  return std::string(temporaryFolder) + "\\qrupdate" + std::to_string(n) + "\\";
}

std::string LocalInstallerPath(std::string_view downloadFolder, std::string_view installer) {
  return std::string(downloadFolder) + std::string(installer);
}

WindowCorner UpdateWindowCornerOnScreen(int screenWidth, int screenHeight) {
  return {screenWidth / 2 - 200, screenHeight / 2 - 50};
}

WindowCorner UpdateWindowCornerOverMainWindow(int left, int top, int clientWidth,
                                              int clientHeight) {
  return {left + clientWidth / 2 - 200, top + clientHeight / 2 + 50};
}

}  // namespace qr
