// An in-memory file system for the address book tests that can be told to fail any one
// kind of operation on chosen paths, the way a full disk or a locked file would.
#pragma once

#include <strings.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "addressbook/book_file.h"
#include "base/file_system.h"

namespace qr {

// Entries print as their book line in failure messages.
inline void PrintTo(const AddressEntry& e, std::ostream* os) {
  *os << '"' << e.name << '^' << e.street << '^' << e.suite << '^' << e.city << '^' << e.state
      << '^' << e.zip << '^' << e.number << '^' << e.listed << '"';
}

}  // namespace qr

namespace qr::book_test {

class FakeBookFileSystem final : public FileSystem {
 public:
  enum class Op { Read, Create, Write, Flush, Close, Rename, Copy, Remove };

  // Makes `op` fail on every path that ends with `pathSuffix`. A failing Write stores
  // half of the bytes first, as a disk that fills up would.
  void FailOn(Op op, std::string pathSuffix) { failures_.emplace(op, std::move(pathSuffix)); }

  bool Has(const std::string& path) const { return files.count(path) != 0; }
  std::string Content(const std::string& path) const {
    const auto it = files.find(path);
    return it == files.end() ? std::string("<missing>") : it->second;
  }

  std::map<std::string, std::string> files;

  bool ReadFile(const std::string& path, std::string* bytes) override {
    if (Fails(Op::Read, path) || !Has(path)) return false;
    *bytes = files[path];
    return true;
  }
  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    if (Fails(Op::Create, path)) return nullptr;
    files[path].clear();
    return std::make_unique<File>(*this, path);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    if (Fails(Op::Rename, to) || !Has(from)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    if (Fails(Op::Copy, to) || !Has(from)) return false;
    files[to] = files[from];
    return true;
  }
  bool Remove(const std::string& path) override {
    if (Fails(Op::Remove, path)) return false;
    return files.erase(path) != 0;
  }
  bool FileExistsInFolder(const std::string& folder, const std::string& name) override {
    const std::string path = folder + name;
    for (const auto& [existing, bytes] : files) {
      if (::strcasecmp(existing.c_str(), path.c_str()) == 0) return true;
    }
    return false;
  }
  bool FolderExists(const std::string&) override { return true; }
  bool CreateFolder(const std::string&) override { return true; }
  // One window only: the lock is always free.
  LockAttempt TryLock(const std::string&) override { return {std::make_unique<FileLock>()}; }

 private:
  class File final : public OutputFile {
   public:
    File(FakeBookFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(std::string_view bytes) override {
      if (fs_.Fails(Op::Write, path_)) {
        fs_.files[path_].append(bytes.substr(0, bytes.size() / 2));
        return false;
      }
      fs_.files[path_].append(bytes);
      return true;
    }
    bool Flush() override { return !fs_.Fails(Op::Flush, path_); }
    bool Close() override { return !fs_.Fails(Op::Close, path_); }

   private:
    FakeBookFileSystem& fs_;
    std::string path_;
  };

  bool Fails(Op op, std::string_view path) const {
    const auto [begin, end] = failures_.equal_range(op);
    for (auto it = begin; it != end; ++it) {
      if (path.ends_with(it->second)) return true;
    }
    return false;
  }

  std::multimap<Op, std::string> failures_;
};

}  // namespace qr::book_test
