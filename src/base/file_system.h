// The file operations behind the settings files and the address books, as one
// interface: the program uses the real one, tests substitute one that fails on cue.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace qr {

// A file being written. Dropping it without Close() closes it without flushing.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  // Pushes written bytes through to the disk (fsync / FlushFileBuffers).
  virtual bool Flush() = 0;
  virtual bool Close() = 0;
};

// A lock taken with FileSystem::TryLock. Dropping it releases the lock.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// What one try at a lock gave: the lock, or why not.
struct LockAttempt {
  std::unique_ptr<FileLock> lock;  // set when the lock was taken
  bool busy = false;               // not taken because another holder has it right now
  // Busy, or maybe not: the lock file is there but cannot be opened. A file another
  // holder is deleting does that for a moment; a read-only file, a folder or a file
  // without rights does it for good.
  bool denied = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file. False when it does not exist or cannot be read. While it is
  // read, other windows can still write, rename over and delete it.
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  // Reads the whole file unless it holds more than `limit` bytes; then `bytes` is left
  // empty. The real file systems stop reading there, so a huge file costs no memory.
  enum class LimitedRead { kRead, kUnreadable, kTooLarge };
  virtual LimitedRead ReadFileUpTo(const std::string& path, std::size_t limit, std::string* bytes);
  // Creates the file, or empties an existing one. Null on failure.
  virtual std::unique_ptr<OutputFile> Create(const std::string& path) = 0;
  // Moves `from` over `to` in one step, replacing `to` if it exists. On Windows a reader
  // that holds `to` open (without allowing its deletion) is waited for up to
  // kReplaceRetryLimit (file_lock.h).
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Copies `from` to `to`, overwriting `to`.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Whether `folder` (ending in a separator, or empty for the current folder)
  // holds a file named `name`, comparing names as the platform does (on Windows
  // without regard to letter case).
  virtual bool FileExistsInFolder(const std::string& folder, const std::string& name) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates one folder level.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Takes the lock file at `path` for this process alone, without waiting: the file is
  // created when missing and held open with no sharing (which also holds on a network
  // share), and it is deleted when the lock is dropped. Should the process die, the
  // system closes the file and the lock is free again; a lock file left behind is no
  // obstacle to the next holder.
  virtual LockAttempt TryLock(const std::string& path) = 0;
};

// The platform's real file system.
FileSystem& SystemFileSystem();

// The process's current directory, without a trailing separator ("" when it cannot be
// told).
std::string CurrentDirectory();

// Replaces the file at `path` with `bytes` so that, whatever happens, the file holds
// either its old or its new content: the bytes go to a temporary file beside it
// ("<path>.new"), are flushed, and the temporary file is renamed over `path`.
// On failure the temporary file is removed and false is returned.
bool WriteFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace qr
