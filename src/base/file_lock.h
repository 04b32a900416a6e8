// Changing a file that other copies of the program may change too (a second window, or
// another computer on a shared folder): the change is read, made and written under the
// file's lock, and a window that finds the lock taken waits a while for it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "base/file_system.h"

namespace qr {

// The lock file of `path`, beside it: "<path>.lock".
std::string LockFilePath(const std::string& path);

// How long a lock that another window holds is waited for, and how often it is tried
// meanwhile.
inline constexpr std::chrono::milliseconds kLockWaitLimit{5000};
inline constexpr std::chrono::milliseconds kLockRetryInterval{50};

// How long the replace of a file is tried again while a reader has it open.
inline constexpr std::chrono::milliseconds kReplaceRetryLimit{1000};

// The time that passes while a lock is waited for.
class LockClock {
 public:
  virtual ~LockClock() = default;
  virtual std::chrono::milliseconds Now() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// The steady clock; sleeping blocks the calling thread (on Windows, with the wait cursor
// showing).
LockClock& SteadyLockClock();
// Blocks the calling thread for `duration`; the platform's side shows that it waits.
void SleepWhileWaiting(std::chrono::milliseconds duration);

// What one try of something another window can stand in the way of gave.
enum class TryOutcome { kDone, kFailed, kBusy };

// Tries `attempt` until it is done or fails; while it is busy, tries it again every
// kLockRetryInterval until `limit` has passed. Returns the last outcome.
TryOutcome RetryWhileBusy(LockClock& clock, std::chrono::milliseconds limit,
                          const std::function<TryOutcome()>& attempt);

enum class LockStatus {
  kTaken,
  kBusy,    // another window held it for the whole wait
  kFailed,  // the lock file cannot be made (a missing or read-only folder), or could not
            // be opened for the whole wait (read-only, a folder, no rights)
};

struct HeldLock {
  LockStatus status = LockStatus::kFailed;
  std::unique_ptr<FileLock> lock;  // set when taken; dropping it releases the lock
};

// Takes the lock of `path` (its lock file), trying again every kLockRetryInterval while
// another holder has it, until kLockWaitLimit has passed.
HeldLock LockForChange(FileSystem& fs, const std::string& path,
                       LockClock& clock = SteadyLockClock());

}  // namespace qr
