// The real file system on Windows.
#include <windows.h>

#include "base/file_lock.h"
#include "base/file_system.h"
#include "base/file_system_win.h"
#include "base/wide_text_win.h"

namespace qr {

HANDLE OpenFileForReading(const std::string& path) {
  // Other windows may replace and delete the file meanwhile: a read never makes their
  // save fail.
  return CreateFileW(Wide(path).c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

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

// The open handle of a lock file, opened with no sharing, its first byte locked, and
// deleted on close. The system closes it, and so frees the lock and deletes the file,
// also when the process dies.
class WinFileLock final : public FileLock {
 public:
  explicit WinFileLock(HANDLE h) : h_(h) {}
  ~WinFileLock() override {
    OVERLAPPED at = {};
    UnlockFileEx(h_, 0, 1, 0, &at);
    CloseHandle(h_);
  }
  WinFileLock(const WinFileLock&) = delete;
  WinFileLock& operator=(const WinFileLock&) = delete;

 private:
  HANDLE h_;
};

class WinFileSystem final : public FileSystem {
 public:
  explicit WinFileSystem(LockClock& clock) : clock_(clock) {}

  bool ReadFile(const std::string& path, std::string* bytes) override {
    return ReadFileUpTo(path, bytes->max_size(), bytes) == LimitedRead::kRead;
  }
  LimitedRead ReadFileUpTo(const std::string& path, std::size_t limit,
                           std::string* bytes) override {
    HANDLE h = OpenFileForReading(path);
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
    // A rename is atomic on NTFS and under Wine; ReplaceFile is not under Wine. A program
    // that reads `to` without letting it be replaced (a scanner, an older copy of this
    // one) holds it a moment: the rename is tried again meanwhile.
    const std::wstring wideFrom = Wide(from), wideTo = Wide(to);
    return RetryWhileBusy(clock_, kReplaceRetryLimit, [&] {
             if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
               return TryOutcome::kDone;
             }
             // Wine, and Windows before its rename kept readers' handles, deny the
             // replace of an open file outright.
             const DWORD error = GetLastError();
             return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                            error == ERROR_ACCESS_DENIED
                        ? TryOutcome::kBusy
                        : TryOutcome::kFailed;
           }) == TryOutcome::kDone;
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
    const std::wstring wide = Wide(path);
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return {nullptr, true};
      // Access denied to a file that is there: one being deleted, or one that cannot be
      // opened at all (read-only, a folder, no rights).
      const bool denied = error == ERROR_ACCESS_DENIED &&
                          GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
      return {nullptr, false, denied};
    }
    // The byte-range lock also holds across computers on a network share.
    OVERLAPPED at = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      const bool busy = GetLastError() == ERROR_LOCK_VIOLATION;
      CloseHandle(h);
      return {nullptr, busy};
    }
    return {std::make_unique<WinFileLock>(h), false};
  }

 private:
  LockClock& clock_;  // the time a replace waits for a reader
};

}  // namespace

void SleepWhileWaiting(std::chrono::milliseconds duration) {
  // The program does not answer while it waits: the cursor says so until the next
  // message sets it again.
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
  Sleep(static_cast<DWORD>(duration.count()));
}

std::string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(needed, L'\0');
  const DWORD got = GetCurrentDirectoryW(needed, dir.data());
  dir.resize(got < needed ? got : 0);
  return Utf8(dir);
}

FileSystem& SystemFileSystem() {
  static WinFileSystem fs(SteadyLockClock());
  return fs;
}

std::unique_ptr<FileSystem> WindowsFileSystem(LockClock& clock) {
  return std::make_unique<WinFileSystem>(clock);
}

}  // namespace qr
