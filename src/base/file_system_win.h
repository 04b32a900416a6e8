// The Windows side of the file system, where callers need its handles.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/file_lock.h"
#include "base/file_system.h"

namespace qr {

// The real file system, whose replace of a file that a reader holds open waits on
// `clock` (SystemFileSystem() waits on the steady clock).
std::unique_ptr<FileSystem> WindowsFileSystem(LockClock& clock);

// Opens `path` for reading as every read of the program does; INVALID_HANDLE_VALUE when
// it cannot be opened. The caller closes the handle.
HANDLE OpenFileForReading(const std::string& path);

}  // namespace qr
