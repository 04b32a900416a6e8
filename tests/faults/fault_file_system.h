// An in-memory FileSystem that fails its Nth file operation, in the manner of SQLite's
// I/O-error tests: once (a single failed call) or persistently (that call and every one
// after it). Creates, writes, flushes, closes, renames, copies, removes and lock takings
// count as operations; reads and existence checks do not. A failed write or copy leaves
// half of its bytes behind, as a full disk does.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_system.h"

namespace qr::testing {

class FaultFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders = {""};

  int failAt = 0;           // the operation that fails first, counted from 1; 0 for none
  bool persistent = false;  // every operation after it fails too
  int operations = 0;       // operations tried so far
  bool faultInjected = false;
  std::vector<std::string> log;  // "create a.new", "write a.new FAILED", ...

  static std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
  }

  // The operations so far, one per line, for a failure message.
  std::string Sequence() const {
    std::string out;
    for (const std::string& line : log) out += "  " + line + "\n";
    return out;
  }

  bool ReadFile(const std::string& path, std::string* bytes) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }

  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    if (Fails("create " + path) || !folders.contains(FolderOf(path))) return nullptr;
    files[path].clear();
    return std::make_unique<File>(*this, path);
  }

  bool Rename(const std::string& from, const std::string& to) override {
    if (Fails("rename " + from + " -> " + to)) return false;
    const auto it = files.find(from);
    if (it == files.end()) return false;
    std::string bytes = std::move(it->second);
    files.erase(it);
    files[to] = std::move(bytes);
    return true;
  }

  bool Copy(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (Fails("copy " + from + " -> " + to)) {
      if (it != files.end()) files[to] = it->second.substr(0, it->second.size() / 2);
      return false;
    }
    if (it == files.end() || !folders.contains(FolderOf(to))) return false;
    files[to] = it->second;
    return true;
  }

  bool Remove(const std::string& path) override {
    if (Fails("remove " + path)) return false;
    return files.erase(path) > 0;
  }

  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    return files.contains(folder + name);
  }
  bool FolderExists(const std::string& path) override { return folders.contains(path); }
  bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }
  // A lock that cannot be taken fails like a file that cannot be created.
  LockAttempt TryLock(const std::string& path) override {
    if (Fails("lock " + path)) return {};
    return {std::make_unique<FileLock>()};
  }

 private:
  bool Fails(std::string operation) {
    ++operations;
    const bool fail = failAt > 0 && (operations == failAt || (persistent && operations > failAt));
    if (fail) faultInjected = true;
    log.push_back(std::move(operation) + (fail ? " FAILED" : ""));
    return fail;
  }

  class File final : public OutputFile {
   public:
    File(FaultFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(std::string_view bytes) override {
      if (fs_.Fails("write " + path_)) {
        fs_.files[path_] += bytes.substr(0, bytes.size() / 2);
        return false;
      }
      fs_.files[path_] += bytes;
      return true;
    }
    bool Flush() override { return !fs_.Fails("flush " + path_); }
    bool Close() override { return !fs_.Fails("close " + path_); }

   private:
    FaultFileSystem& fs_;
    std::string path_;
  };
};

}  // namespace qr::testing
