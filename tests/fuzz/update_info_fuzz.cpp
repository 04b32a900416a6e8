// The update information file from the web site: any answer is read without undefined
// behaviour, no line keeps a line break, an installer name judged safe cannot leave
// the temporary folder or start anything but an installer, nothing is offered without a
// signature, and a checksum or signature is accepted in one spelling only.
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

std::string Base64(const qr::EcdsaSignature& bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    std::uint32_t bits = std::uint32_t(bytes[i]) << 16;
    if (n > 1) bits |= std::uint32_t(bytes[i + 1]) << 8;
    if (n > 2) bits |= bytes[i + 2];
    for (std::size_t k = 0; k < 4; ++k) {
      text += k <= n ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const qr::UpdateInfo info = qr::ParseUpdateInfo(bytes);
  QR_FUZZ_CHECK(info.version.find_first_of("\r\n") == std::string::npos);
  QR_FUZZ_CHECK(info.installer.find_first_of("\r\n") == std::string::npos);
  CheckInstallerName(info.installer);
  CheckInstallerName(bytes);

  const qr::UpdateDecision decision = qr::DecideUpdate("2.80", true, info);
  if (decision == qr::UpdateDecision::kOffered) {
    QR_FUZZ_CHECK(qr::IsSafeInstallerName(info.installer));
    QR_FUZZ_CHECK(info.signatureLine == qr::IntegrityLine::kValid);
    QR_FUZZ_CHECK(info.sha256Line != qr::IntegrityLine::kMalformed);
  }

  // What decodes is the one spelling its bytes encode to.
  qr::Sha256Digest digest{};
  if (qr::DecodeHex(bytes, digest)) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t b : digest) {
      hex += kHex[b >> 4];
      hex += kHex[b & 15];
    }
    std::string lower(bytes);
    for (char& c : lower) c = (c >= 'A' && c <= 'F') ? char(c - 'A' + 'a') : c;
    QR_FUZZ_CHECK(hex == lower);
  }
  qr::EcdsaSignature signature{};
  if (qr::DecodeBase64(bytes, signature)) QR_FUZZ_CHECK(Base64(signature) == bytes);
  if (info.signatureLine == qr::IntegrityLine::kValid) {
    QR_FUZZ_CHECK(bytes.find(Base64(info.signature)) != std::string_view::npos);
  }
  return 0;
}
