// An in-memory FileSystem for tests: files live in a map, folders in a set, and
// writes or renames can be made to fail on cue (a full disk, a lost rename).
#pragma once

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
  bool failWrites = false;
  bool failRenames = false;
  int creates = 0;  // successful Create calls

  static std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
  }

  bool ReadFile(const std::string& path, std::string* bytes) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }

  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    if (!folders.contains(FolderOf(path))) return nullptr;
    files[path].clear();
    ++creates;
    return std::make_unique<File>(*this, path);
  }

  bool Rename(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (failRenames || it == files.end()) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }

  bool Copy(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (it == files.end() || !folders.contains(FolderOf(to))) return false;
    files[to] = it->second;
    return true;
  }

  bool Remove(const std::string& path) override { return files.erase(path) > 0; }

  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    return files.contains(folder + name);
  }
  bool FolderExists(const std::string& path) override { return folders.contains(path); }
  bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }

 private:
  class File final : public OutputFile {
   public:
    File(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(std::string_view bytes) override {
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
};

}  // namespace qr::testing
