// The update check's downloaded files on Windows: the start of the information file, the
// installer held open from hashing until it is started, its signature checked with the
// system's cryptography, and its start.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "update/update_info.h"
#include "wingui/scoped_win.h"

namespace qr {

// Reads at most `limit` bytes from the start of the file `path`.
bool ReadStartOfFile(const std::string& path, std::size_t limit, std::string* bytes);

// A file held open for reading that shares only reading: while it is held nobody can
// write, replace, rename or delete it, but it can still be read and started.
class HeldFile {
 public:
  // Opens `path` (letting go of any file held before) and computes the SHA-256 of its
  // bytes. False when the file cannot be opened or read; it is then not held.
  bool OpenAndHash(const std::string& path, Sha256Digest* digest);
  void Release() { file_.reset(); }

 private:
  ScopedKernelHandle file_;
};

// The SHA-256 of `bytes`; false when the system cannot compute it.
bool Sha256Of(std::string_view bytes, Sha256Digest* digest);

// Whether `signature` (r then s) is the signature of `digest` by the key `publicKey`
// (ECDSA on the P-256 curve). False as well when the key is not a point on the curve.
bool VerifyEcdsaP256(const EcdsaPublicKey& publicKey, const Sha256Digest& digest,
                     const EcdsaSignature& signature);

// Starts the program `path` without arguments, with `folder` as its working folder, and
// does not wait for it.
bool StartProgram(const std::string& path, const std::string& folder);

}  // namespace qr
