// The real file system on Windows.
#include <windows.h>

#include "base/file_system.h"
#include "base/wide_text_win.h"

namespace qr {

namespace {

class WinOutputFile final : public OutputFile {
 public:
  explicit WinOutputFile(HANDLE h) : h_(h) {}
  ~WinOutputFile() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  WinOutputFile(const WinOutputFile&) = delete;
  WinOutputFile& operator=(const WinOutputFile&) = delete;

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk =
          bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!WriteFile(h_, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }
  bool Flush() override { return FlushFileBuffers(h_) != 0; }
  bool Close() override {
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

// The open handle of a lock file, opened with no sharing and deleted on close. The
// system closes it, and so deletes the file, also when the process dies.
class WinFileLock final : public FileLock {
 public:
  explicit WinFileLock(HANDLE h) : h_(h) {}
  ~WinFileLock() override { CloseHandle(h_); }
  WinFileLock(const WinFileLock&) = delete;
  WinFileLock& operator=(const WinFileLock&) = delete;

 private:
  HANDLE h_;
};

class WinFileSystem final : public FileSystem {
 public:
  bool ReadFile(const std::string& path, std::string* bytes) override {
    return ReadFileUpTo(path, bytes->max_size(), bytes) == LimitedRead::kRead;
  }
  LimitedRead ReadFileUpTo(const std::string& path, std::size_t limit,
                           std::string* bytes) override {
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LimitedRead::kUnreadable;
    bytes->clear();
    LimitedRead result = LimitedRead::kRead;
    char buf[65536];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(h, buf, sizeof buf, &got, nullptr)) {
        result = LimitedRead::kUnreadable;
        break;
      }
      if (got == 0) break;
      if (got > limit - bytes->size()) {
        bytes->clear();
        result = LimitedRead::kTooLarge;
        break;
      }
      bytes->append(buf, got);
    }
    CloseHandle(h);
    return result;
  }
  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinOutputFile>(h);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    // A rename is atomic on NTFS and under Wine; ReplaceFile is not under Wine.
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != 0;
  }
  bool Remove(const std::string& path) override { return DeleteFileW(Wide(path).c_str()) != 0; }
  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    // The file system itself compares names without regard to letter case.
    if (name.empty()) return false;
    const DWORD attr = GetFileAttributesW(Wide(folder + name).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool FolderExists(const std::string& path) override {
    const DWORD attr = GetFileAttributesW(Wide(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateFolder(const std::string& path) override {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
  }
  LockAttempt TryLock(const std::string& path) override {
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) return {std::make_unique<WinFileLock>(h), false};
    const DWORD error = GetLastError();
    // Another holder has it open; or its file is still being deleted (access denied to
    // a file that is there), which frees it a moment later.
    const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                      (error == ERROR_ACCESS_DENIED &&
                       GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES);
    return {nullptr, busy};
  }
};

}  // namespace

std::string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(needed, L'\0');
  const DWORD got = GetCurrentDirectoryW(needed, dir.data());
  dir.resize(got < needed ? got : 0);
  return Utf8(dir);
}

FileSystem& SystemFileSystem() {
  static WinFileSystem fs;
  return fs;
}

}  // namespace qr
