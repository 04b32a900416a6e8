// The in-memory FileSystem of the tests, the fuzz targets and the benchmarks: files live
// in a map, folders in a set, and names in a folder compare without regard to letter
// case, as on Windows. Any kind of operation can be made to fail on chosen paths, the
// way a full disk, a locked file or a lost rename would; a failing write or copy leaves
// half of its bytes behind. FaultFileSystem (fault_file_system.h) fails the Nth
// operation instead. Locks are held per path, as by two windows on one folder, and a
// test can run another window's steps just before any one operation (InterleaveAt).
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_system.h"

namespace qr::testing {

class MemoryFileSystem : public FileSystem {
 public:
  enum class Op { Read, Create, Write, Flush, Close, Rename, Copy, Remove, Lock };

  std::map<std::string, std::string> files;
  std::set<std::string> folders = {""};  // folder names end in '/' or '\'; "" is the current one
  int creates = 0;                       // successful Create calls
  std::set<std::string> heldLocks;       // lock files a live FileLock holds
  std::set<std::string> deniedLocks;     // lock files that cannot be opened (read-only)

  // Runs `other` once, just before the `n`th operation from now (counted from 1: each
  // operation that can fail, and each release of a lock). The operations `other` makes
  // are not counted. interleaved() tells whether it ran; n = 0 disarms it.
  void InterleaveAt(int n, std::function<void()> other) {
    interleaveAt_ = n;
    counted_ = 0;
    other_ = std::move(other);
    interleaved_ = false;
  }
  bool interleaved() const { return interleaved_; }

  // Makes `op` fail on every path that ends with `pathSuffix` (every path when it is
  // empty). A rename or copy is matched by the path it writes to.
  void FailOn(Op op, std::string pathSuffix = "") { failures_.emplace(op, std::move(pathSuffix)); }
  void StopFailing() { failures_.clear(); }

  bool Has(const std::string& path) const { return files.contains(path); }
  std::string Content(const std::string& path) const {
    const auto it = files.find(path);
    return it == files.end() ? std::string("<missing>") : it->second;
  }

  static std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
  }

  bool ReadFile(const std::string& path, std::string* bytes) override {
    if (Fails(Op::Read, path, {})) return false;
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }

  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    if (Fails(Op::Create, path, {}) || !folders.contains(FolderOf(path))) return nullptr;
    files[path].clear();
    ++creates;
    return std::make_unique<File>(*this, path);
  }

  bool Rename(const std::string& from, const std::string& to) override {
    if (Fails(Op::Rename, to, from)) return false;
    const auto it = files.find(from);
    if (it == files.end()) return false;
    std::string bytes = std::move(it->second);
    files.erase(it);
    files[to] = std::move(bytes);
    return true;
  }

  bool Copy(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (Fails(Op::Copy, to, from)) {
      if (it != files.end()) files[to] = it->second.substr(0, it->second.size() / 2);
      return false;
    }
    if (it == files.end() || !folders.contains(FolderOf(to))) return false;
    files[to] = it->second;
    return true;
  }

  bool Remove(const std::string& path) override {
    if (Fails(Op::Remove, path, {})) return false;
    return files.erase(path) > 0;
  }

  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    const std::string path = folder + name;
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    const auto same = [&](char a, char b) { return fold(a) == fold(b); };
    return std::any_of(files.begin(), files.end(), [&](const auto& file) {
      return std::equal(file.first.begin(), file.first.end(), path.begin(), path.end(), same);
    });
  }
  bool FolderExists(const std::string& path) override { return folders.contains(path); }
  bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }

  // The lock file appears while held and goes with the lock. A file without a holder
  // (left by a process that died) is taken over.
  LockAttempt TryLock(const std::string& path) override {
    if (Fails(Op::Lock, path, {}) || !folders.contains(FolderOf(path))) return {};
    if (heldLocks.contains(path)) return {nullptr, true};
    if (deniedLocks.contains(path)) return {nullptr, false, true};
    files.try_emplace(path);
    heldLocks.insert(path);
    return {std::make_unique<Lock>(*this, path)};
  }

 protected:
  // Whether the operation fails; asked once per operation, before it is carried out.
  // `path` is the file the operation reads or writes, `from` the source of a rename or
  // copy (empty otherwise).
  virtual bool Fails(Op op, std::string_view path, std::string_view from) {
    static_cast<void>(from);
    Step();
    const auto [begin, end] = failures_.equal_range(op);
    for (auto it = begin; it != end; ++it) {
      if (path.ends_with(it->second)) return true;
    }
    return false;
  }

 private:
  class File final : public OutputFile {
   public:
    File(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(std::string_view bytes) override {
      if (fs_.Fails(Op::Write, path_, {})) {
        fs_.files[path_].append(bytes.substr(0, bytes.size() / 2));
        return false;
      }
      fs_.files[path_].append(bytes);
      return true;
    }
    bool Flush() override { return !fs_.Fails(Op::Flush, path_, {}); }
    bool Close() override { return !fs_.Fails(Op::Close, path_, {}); }

   private:
    MemoryFileSystem& fs_;
    std::string path_;
  };

  // Runs the other window's steps when their turn has come.
  void Step() {
    if (!other_ || ++counted_ != interleaveAt_) return;
    const std::function<void()> other = std::move(other_);
    other_ = nullptr;
    other();
    interleaved_ = true;
  }

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

  std::multimap<Op, std::string> failures_;
  int interleaveAt_ = 0;
  int counted_ = 0;
  std::function<void()> other_;
  bool interleaved_ = false;
};

}  // namespace qr::testing
