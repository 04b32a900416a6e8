#include "update/update_files_win.h"
#include "base/wide_text_win.h"

#include <bcrypt.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

namespace qr {

namespace {

void CloseAlgorithm(BCRYPT_ALG_HANDLE h) { BCryptCloseAlgorithmProvider(h, 0); }
void DestroyHash(BCRYPT_HASH_HANDLE h) { BCryptDestroyHash(h); }
void DestroyKey(BCRYPT_KEY_HANDLE h) { BCryptDestroyKey(h); }
using ScopedAlgorithm = ScopedHandle<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using ScopedHash = ScopedHandle<BCRYPT_HASH_HANDLE, DestroyHash>;
using ScopedKey = ScopedHandle<BCRYPT_KEY_HANDLE, DestroyKey>;

ScopedAlgorithm OpenAlgorithm(LPCWSTR name) {
  BCRYPT_ALG_HANDLE raw = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&raw, name, nullptr, 0))) return {};
  return ScopedAlgorithm(raw);
}

// The SHA-256 of the pieces `next` gives (true and an empty piece at the end, false on
// a failure to read).
template <typename Next>
bool HashPieces(Next next, Sha256Digest* digest) {
  const ScopedAlgorithm algorithm = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
  if (!algorithm) return false;
  BCRYPT_HASH_HANDLE rawHash = nullptr;
  if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm.get(), &rawHash, nullptr, 0, nullptr, 0, 0))) {
    return false;
  }
  const ScopedHash hash(rawHash);
  for (;;) {
    std::string_view piece;
    if (!next(&piece)) return false;
    if (piece.empty()) break;
    auto* bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(piece.data()));
    if (!BCRYPT_SUCCESS(BCryptHashData(hash.get(), bytes, static_cast<ULONG>(piece.size()), 0))) {
      return false;
    }
  }
  return BCRYPT_SUCCESS(
      BCryptFinishHash(hash.get(), digest->data(), static_cast<ULONG>(digest->size()), 0));
}

bool HashOpenFile(HANDLE file, Sha256Digest* digest) {
  std::vector<char> buffer(64 * 1024);
  return HashPieces(
      [&](std::string_view* piece) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
          return false;
        }
        *piece = std::string_view(buffer.data(), got);
        return true;
      },
      digest);
}

}  // namespace

bool Sha256Of(std::string_view bytes, Sha256Digest* digest) {
  bool given = false;
  return HashPieces(
      [&](std::string_view* piece) {
        *piece = given ? std::string_view() : bytes;
        given = true;
        return true;
      },
      digest);
}

bool ReadStartOfFile(const std::string& path, std::size_t limit, std::string* bytes) {
  HANDLE raw = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  const ScopedKernelHandle file(raw);
  bytes->assign(limit, '\0');
  std::size_t have = 0;
  while (have < limit) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes->data() + have, static_cast<DWORD>(limit - have), &got,
                  nullptr)) {
      bytes->clear();
      return false;
    }
    if (got == 0) break;
    have += got;
  }
  bytes->resize(have);
  return true;
}

bool HeldFile::OpenAndHash(const std::string& path, Sha256Digest* digest) {
  Release();
  // Sharing reading alone: no writer, and no delete or rename, until Release().
  HANDLE raw =
      CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  ScopedKernelHandle file(raw);
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !HashOpenFile(file.get(), digest)) return false;
  file_ = std::move(file);
  return true;
}

bool VerifyEcdsaP256(const EcdsaPublicKey& publicKey, const Sha256Digest& digest,
                     const EcdsaSignature& signature) {
  const ScopedAlgorithm algorithm = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
  if (!algorithm) return false;
  // BCRYPT_ECCPUBLIC_BLOB: the header, then X and Y.
  UCHAR blob[sizeof(BCRYPT_ECCKEY_BLOB) + sizeof(EcdsaPublicKey)] = {};
  const BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob, &header, sizeof header);
  std::memcpy(blob + sizeof header, publicKey.data(), publicKey.size());
  BCRYPT_KEY_HANDLE rawKey = nullptr;
  if (!BCRYPT_SUCCESS(BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &rawKey,
                                          blob, sizeof blob, 0))) {
    return false;
  }
  const ScopedKey key(rawKey);
  // Only STATUS_SUCCESS means a good signature (a bad one gives STATUS_INVALID_SIGNATURE).
  Sha256Digest hash = digest;
  EcdsaSignature copy = signature;
  return BCryptVerifySignature(key.get(), nullptr, hash.data(), static_cast<ULONG>(hash.size()),
                               copy.data(), static_cast<ULONG>(copy.size()), 0) == 0;
}

bool StartProgram(const std::string& path, const std::string& folder) {
  const std::wstring file = Wide(path);
  const std::wstring directory = Wide(folder);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // Started before this process ends, and with no error box of the shell's own.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpDirectory = directory.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace qr
