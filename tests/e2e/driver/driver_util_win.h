// Helpers shared by the driver's source files.
#pragma once

#include <windows.h>

#include <string>

namespace qr::e2e::detail {

bool ReadWholeFile(const std::string& path, std::string* bytes);
// Writes the file, making its folders first.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Whether a file matching `pattern` (a path that may hold * and ?) exists; its name in `first`.
bool AnyFileMatches(const std::string& pattern, std::string* first);
// Text in double quotes with the scenario language's escapes, for messages.
std::string Quote(const std::string& text);
// IDOK, IDCANCEL, IDYES, IDNO for "OK", "Cancel", "Yes", "No"; 0 otherwise.
int AnswerId(const std::string& answer);

// Memory allocated in another process, freed on destruction.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return address_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* bytes, size_t size) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, at(offset), bytes, size, &done) && done == size;
  }
  bool Read(size_t offset, void* bytes, size_t size) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, at(offset), bytes, size, &done) && done == size;
  }

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace qr::e2e::detail
