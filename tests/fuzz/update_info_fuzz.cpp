// The update information file from the web site: any answer is read without undefined
// behaviour, no line keeps a line break, and an installer name judged safe cannot leave
// the temporary folder or start anything but an installer.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "update/update_info.h"

namespace {

bool EndsWithInsensitive(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  text = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

void CheckInstallerName(std::string_view name) {
  if (!qr::IsSafeInstallerName(name)) return;
  QR_FUZZ_CHECK(!name.empty());
  QR_FUZZ_CHECK(name.find_first_of("/\\:") == std::string_view::npos);
  QR_FUZZ_CHECK(name.find("..") == std::string_view::npos);
  for (const char c : name) QR_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
  QR_FUZZ_CHECK(EndsWithInsensitive(name, ".exe") || EndsWithInsensitive(name, ".msi"));
  const std::string path = qr::LocalInstallerPath("C:\\Temp\\", name);
  QR_FUZZ_CHECK(path.starts_with("C:\\Temp\\"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const qr::UpdateInfo info = qr::ParseUpdateInfo(bytes);
  QR_FUZZ_CHECK(info.version.find_first_of("\r\n") == std::string::npos);
  QR_FUZZ_CHECK(info.installer.find_first_of("\r\n") == std::string::npos);
  CheckInstallerName(info.installer);
  CheckInstallerName(bytes);

  const qr::UpdateDecision decision = qr::DecideUpdate(qr::kUpdateReleaseCode, true, info);
  if (decision == qr::UpdateDecision::kOffered) {
    QR_FUZZ_CHECK(qr::IsSafeInstallerName(info.installer));
    QR_FUZZ_CHECK(info.checksum != qr::ChecksumLine::kMalformed);
  }

  // A valid checksum line reads back from its own digits.
  qr::Sha256Digest digest{};
  if (qr::ParseChecksumLine(bytes, &digest) == qr::ChecksumLine::kValid) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line = "sha256=";
    for (const std::uint8_t b : digest) {
      line += kHex[b >> 4];
      line += kHex[b & 15];
    }
    qr::Sha256Digest again{};
    QR_FUZZ_CHECK(qr::ParseChecksumLine(line, &again) == qr::ChecksumLine::kValid);
    QR_FUZZ_CHECK(again == digest);
  }
  return 0;
}
