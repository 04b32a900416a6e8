// The update check's downloads and folders on Windows: a download watched as it runs,
// the private folder an installer is downloaded into, and the removal of such folders.
#pragma once

#include <cstdint>
#include <string>

namespace qr {

// Fetches `address` into the file `localPath` with the system's URL download service,
// stopping it once more than `limit` bytes came or when no byte came for a minute
// (DownloadWatch). 0 means success; otherwise the failure's HRESULT (E_ABORT when
// stopped), and what was written may remain.
std::int32_t DownloadWithinLimits(const std::string& address, const std::string& localPath,
                                  std::uint64_t limit);

// Makes the folder `path` with a protected access list that lets only the current user
// in (nothing inherited from the folder around it). False when it exists already or
// cannot be made so.
bool CreatePrivateFolder(const std::string& path);

// Removes the files in the folder `path` and then the folder; a link is removed as a link,
// without touching what it points to, and a folder holding folders stays.
void RemoveFolderWithFiles(const std::string& path);

}  // namespace qr
