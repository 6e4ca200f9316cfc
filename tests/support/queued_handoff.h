// A Handoff for tests and tools without an event loop: what the background posts waits in a queue
// until the thread that plays the UI thread runs it, in order, with runPosted().
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <utility>

#include "player/handoff.h"

namespace kalvori::testing {

class QueuedHandoff final : public Handoff {
 public:
  void post(std::function<void()> onUiThread) override {
    const std::lock_guard lock(mutex_);
    posted_.push_back(std::move(onUiThread));
  }
  // Runs what has been posted so far; false when there was nothing.
  bool runPosted() {
    std::deque<std::function<void()>> posted;
    {
      const std::lock_guard lock(mutex_);
      posted.swap(posted_);
    }
    for (auto& f : posted) f();
    return !posted.empty();
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace kalvori::testing
