// An in-memory FileSystem for tests: files live in a map, folders in a set, and
// writes or renames can be made to fail on cue (a full disk, a lost rename). Locks are
// held per path, as by two windows on one folder, and a test can run another window's
// steps just before any one operation of this one (InterleaveAt).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_system.h"

namespace qr::testing {

class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders = {""};  // folder names end in '/' or '\'
  std::set<std::string> heldLocks;       // lock files a live FileLock holds
  bool failWrites = false;
  bool failRenames = false;
  int creates = 0;  // successful Create calls

  static std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
  }

  // Runs `other` once, just before the `n`th operation from now (counted from 1; every
  // call counts, reads and lock releases included). The operations `other` makes are
  // not counted. interleaved() tells whether it ran; n = 0 disarms it.
  void InterleaveAt(int n, std::function<void()> other) {
    interleaveAt_ = n;
    counted_ = 0;
    other_ = std::move(other);
    interleaved_ = false;
  }
  bool interleaved() const { return interleaved_; }

  bool ReadFile(const std::string& path, std::string* bytes) override {
    Step();
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }

  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    Step();
    if (!folders.contains(FolderOf(path))) return nullptr;
    files[path].clear();
    ++creates;
    return std::make_unique<File>(*this, path);
  }

  bool Rename(const std::string& from, const std::string& to) override {
    Step();
    const auto it = files.find(from);
    if (failRenames || it == files.end()) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }

  bool Copy(const std::string& from, const std::string& to) override {
    Step();
    const auto it = files.find(from);
    if (it == files.end() || !folders.contains(FolderOf(to))) return false;
    files[to] = it->second;
    return true;
  }

  bool Remove(const std::string& path) override {
    Step();
    return files.erase(path) > 0;
  }

  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    Step();
    return files.contains(folder + name);
  }
  bool FolderExists(const std::string& path) override { return folders.contains(path); }
  bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }

  // The lock file appears while held and goes with the lock. A file without a holder
  // (left by a process that died) is taken over.
  LockAttempt TryLock(const std::string& path) override {
    Step();
    if (heldLocks.contains(path)) return {nullptr, true};
    if (!folders.contains(FolderOf(path))) return {};
    files.try_emplace(path);
    heldLocks.insert(path);
    return {std::make_unique<Lock>(*this, path)};
  }

 private:
  void Step() {
    if (!other_ || ++counted_ != interleaveAt_) return;
    const std::function<void()> other = std::move(other_);
    other_ = nullptr;
    other();
    interleaved_ = true;
  }

  class File final : public OutputFile {
   public:
    File(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(std::string_view bytes) override {
      fs_.Step();
      if (fs_.failWrites) return false;
      fs_.files[path_] += bytes;
      return true;
    }
    bool Flush() override { return true; }
    bool Close() override { return true; }

   private:
    MemoryFileSystem& fs_;
    std::string path_;
  };

  class Lock final : public FileLock {
   public:
    Lock(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    ~Lock() override {
      fs_.Step();
      fs_.heldLocks.erase(path_);
      fs_.files.erase(path_);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    MemoryFileSystem& fs_;
    std::string path_;
  };

  int interleaveAt_ = 0;
  int counted_ = 0;
  std::function<void()> other_;
  bool interleaved_ = false;
};

}  // namespace qr::testing
