// The smallest in-memory FileSystem the fuzz targets need: files in a map, every
// operation succeeds. Fuzzing is about the bytes, not about failing disks.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_system.h"

namespace qr::fuzz {

class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;

  bool ReadFile(const std::string& path, std::string* bytes) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    *bytes = it->second;
    return true;
  }
  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    files[path].clear();
    return std::make_unique<File>(files[path]);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (it == files.end()) return false;
    std::string bytes = std::move(it->second);
    files.erase(it);
    files[to] = std::move(bytes);
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    const auto it = files.find(from);
    if (it == files.end()) return false;
    files[to] = it->second;
    return true;
  }
  bool Remove(const std::string& path) override { return files.erase(path) > 0; }
  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    return files.contains(folder + name);
  }
  bool FolderExists(const std::string&) override { return true; }
  bool CreateFolder(const std::string&) override { return true; }
  LockAttempt TryLock(const std::string&) override { return {std::make_unique<FileLock>()}; }

 private:
  // Writes go to the map entry; std::map never moves its elements.
  class File final : public OutputFile {
   public:
    explicit File(std::string& bytes) : bytes_(bytes) {}
    bool Write(std::string_view bytes) override {
      bytes_ += bytes;
      return true;
    }
    bool Flush() override { return true; }
    bool Close() override { return true; }

   private:
    std::string& bytes_;
  };
};

}  // namespace qr::fuzz
