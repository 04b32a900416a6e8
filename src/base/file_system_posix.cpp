// The real file system of the native (test) build.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

#include "base/file_lock.h"
#include "base/file_system.h"

namespace qr {

namespace {

class PosixOutputFile final : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }
  bool Flush() override { return ::fsync(fd_) == 0; }
  bool Close() override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// An open lock file under an exclusive flock(). The file is removed while still locked,
// so the next holder always makes a new one.
class PosixFileLock final : public FileLock {
 public:
  PosixFileLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixFileLock() override {
    ::unlink(path_.c_str());
    ::close(fd_);
  }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

 private:
  int fd_;
  std::string path_;
};

class PosixFileSystem final : public FileSystem {
 public:
  bool ReadFile(const std::string& path, std::string* bytes) override {
    return ReadFileUpTo(path, bytes->max_size(), bytes) == LimitedRead::kRead;
  }
  LimitedRead ReadFileUpTo(const std::string& path, std::size_t limit,
                           std::string* bytes) override {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return LimitedRead::kUnreadable;
    bytes->clear();
    char buf[65536];
    std::size_t n;
    LimitedRead result = LimitedRead::kRead;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
      if (n > limit - bytes->size()) {
        bytes->clear();
        result = LimitedRead::kTooLarge;
        break;
      }
      bytes->append(buf, n);
    }
    if (result == LimitedRead::kRead && std::ferror(f)) result = LimitedRead::kUnreadable;
    std::fclose(f);
    return result;
  }
  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    std::string bytes;
    if (!ReadFile(from, &bytes)) return false;
    auto out = Create(to);
    if (!out) return false;
    const bool ok = out->Write(bytes);
    return out->Close() && ok;
  }
  bool Remove(const std::string& path) override { return std::remove(path.c_str()) == 0; }
  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    // Compared without regard to letter case, as on Windows.
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* e = ::readdir(dir)) {
      if (::strcasecmp(e->d_name, name.c_str()) == 0) {
        struct stat st;
        found = ::stat((folder + e->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
        if (found) break;
      }
    }
    ::closedir(dir);
    return found;
  }
  bool FolderExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool CreateFolder(const std::string& path) override { return ::mkdir(path.c_str(), 0755) == 0; }
  LockAttempt TryLock(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool busy = errno == EWOULDBLOCK || errno == EINTR;
      ::close(fd);
      return {nullptr, busy};
    }
    // The holder before may have removed the file between our open and our flock: then
    // this lock is on a file nobody else will see, so it counts as busy and is tried anew.
    struct stat held, named;
    if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
      ::close(fd);
      return {nullptr, true};
    }
    return {std::make_unique<PosixFileLock>(fd, path), false};
  }
};

}  // namespace

void SleepWhileWaiting(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

std::string CurrentDirectory() {
  std::string dir(4096, '\0');
  if (!getcwd(dir.data(), dir.size())) return {};
  dir.resize(std::strlen(dir.c_str()));
  return dir;
}

FileSystem& SystemFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace qr
