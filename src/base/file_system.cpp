#include "base/file_system.h"

namespace qr {

FileSystem::LimitedRead FileSystem::ReadFileUpTo(const std::string& path, std::size_t limit,
                                                 std::string* bytes) {
  if (!ReadFile(path, bytes)) return LimitedRead::kUnreadable;
  if (bytes->size() <= limit) return LimitedRead::kRead;
  bytes->clear();
  return LimitedRead::kTooLarge;
}

bool WriteFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const std::string temp = path + ".new";
  bool ok = false;
  if (auto out = fs.Create(temp)) {
    ok = out->Write(bytes) && out->Flush();
    ok = out->Close() && ok;
  } else {
    return false;
  }
  if (ok) ok = fs.Rename(temp, path);
  if (!ok) fs.Remove(temp);
  return ok;
}

}  // namespace qr
