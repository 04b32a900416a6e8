// The time of a window that waits for a lock in a test: a sleep is over at once, and the
// clock shows how long the window would have waited.
#pragma once

#include <chrono>

#include "base/file_lock.h"

namespace qr::testing {

class StepClock final : public LockClock {
 public:
  std::chrono::milliseconds Now() override { return now; }
  void Sleep(std::chrono::milliseconds duration) override { now += duration; }

  std::chrono::milliseconds now{0};
};

}  // namespace qr::testing
