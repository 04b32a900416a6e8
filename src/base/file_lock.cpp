#include "base/file_lock.h"

#include <algorithm>
#include <utility>

namespace qr {

namespace {

class SteadyClock final : public LockClock {
 public:
  std::chrono::milliseconds Now() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
  void Sleep(std::chrono::milliseconds duration) override { SleepWhileWaiting(duration); }
};

}  // namespace

std::string LockFilePath(const std::string& path) { return path + ".lock"; }

LockClock& SteadyLockClock() {
  static SteadyClock clock;
  return clock;
}

TryOutcome RetryWhileBusy(LockClock& clock, std::chrono::milliseconds limit,
                          const std::function<TryOutcome()>& attempt) {
  const std::chrono::milliseconds start = clock.Now();
  for (;;) {
    const TryOutcome outcome = attempt();
    if (outcome != TryOutcome::kBusy) return outcome;
    const std::chrono::milliseconds waited = clock.Now() - start;
    if (waited >= limit) return outcome;
    clock.Sleep(std::min(kLockRetryInterval, limit - waited));
  }
}

HeldLock LockForChange(FileSystem& fs, const std::string& path, LockClock& clock) {
  const std::string lockPath = LockFilePath(path);
  HeldLock held;
  bool denied = false;
  const TryOutcome outcome = RetryWhileBusy(clock, kLockWaitLimit, [&] {
    LockAttempt attempt = fs.TryLock(lockPath);
    held.lock = std::move(attempt.lock);
    denied = attempt.denied;
    if (held.lock) return TryOutcome::kDone;
    return attempt.busy || attempt.denied ? TryOutcome::kBusy : TryOutcome::kFailed;
  });
  // A lock file that could not be opened throughout is no other window's: it is one
  // that cannot be used, and the caller names it.
  if (outcome == TryOutcome::kDone) {
    held.status = LockStatus::kTaken;
  } else {
    held.status = outcome == TryOutcome::kBusy && !denied ? LockStatus::kBusy : LockStatus::kFailed;
  }
  return held;
}

}  // namespace qr
