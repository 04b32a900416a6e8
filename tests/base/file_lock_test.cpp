#include "base/file_lock.h"

#include <gtest/gtest.h>

#include "support/memory_file_system.h"

namespace qr {
namespace {

using std::chrono::milliseconds;

// Another window holds the lock until `releaseAt` (never, when negative).
class HolderClock final : public LockClock {
 public:
  HolderClock(std::unique_ptr<FileLock> held, milliseconds releaseAt)
      : held_(std::move(held)), releaseAt_(releaseAt) {}
  milliseconds Now() override { return now; }
  void Sleep(milliseconds duration) override {
    now += duration;
    if (releaseAt_.count() >= 0 && now >= releaseAt_) held_.reset();
  }
  milliseconds now{0};

 private:
  std::unique_ptr<FileLock> held_;
  milliseconds releaseAt_;
};

TEST(LockForChangeTest, WaitsFiveSecondsForAnotherHolder) {
  const struct {
    const char* what;
    const char* folder;
    milliseconds releaseAt;
    LockStatus status;
    milliseconds waited;
    bool denied = false;
  } cases[] = {
      {"released during the wait", "C:\\books\\", milliseconds(4990), LockStatus::kTaken,
       milliseconds(5000)},
      {"held throughout", "C:\\books\\", milliseconds(-1), LockStatus::kBusy, milliseconds(5000)},
      {"cannot be made", "C:\\gone\\", milliseconds(-1), LockStatus::kFailed, milliseconds(0)},
      {"cannot be opened throughout (read-only, a folder)", "C:\\books\\", milliseconds(-1),
       LockStatus::kFailed, milliseconds(5000), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::MemoryFileSystem fs;
    fs.folders.insert("C:\\books\\");
    const std::string book = std::string(c.folder) + "Friends.adb";
    HolderClock clock(c.denied ? nullptr : fs.TryLock(book + ".lock").lock, c.releaseAt);
    if (c.denied) fs.deniedLocks.insert(book + ".lock");
    const HeldLock held = LockForChange(fs, book, clock);
    EXPECT_EQ(held.status, c.status);
    EXPECT_EQ(held.lock != nullptr, c.status == LockStatus::kTaken);
    EXPECT_EQ(clock.now, c.waited);
  }
}

}  // namespace
}  // namespace qr
