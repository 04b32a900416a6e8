#include "base/file_lock.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace qr {

namespace {

class SteadyClock final : public LockClock {
 public:
  std::chrono::milliseconds Now() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
  void Sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace

std::string LockFilePath(const std::string& path) { return path + ".lock"; }

LockClock& SteadyLockClock() {
  static SteadyClock clock;
  return clock;
}

HeldLock LockForChange(FileSystem& fs, const std::string& path, LockClock& clock) {
  const std::string lockPath = LockFilePath(path);
  const std::chrono::milliseconds start = clock.Now();
  for (;;) {
    LockAttempt attempt = fs.TryLock(lockPath);
    if (attempt.lock) return {LockStatus::kTaken, std::move(attempt.lock)};
    if (!attempt.busy) return {LockStatus::kFailed, nullptr};
    const std::chrono::milliseconds waited = clock.Now() - start;
    if (waited >= kLockWaitLimit) return {LockStatus::kBusy, nullptr};
    clock.Sleep(std::min(kLockRetryInterval, kLockWaitLimit - waited));
  }
}

}  // namespace qr
