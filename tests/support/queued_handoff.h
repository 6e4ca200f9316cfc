// A Handoff for tests and tools without an event loop: what the background posts waits in a queue
// until the thread that plays the UI thread runs it, in order, with runPosted(). Its clock moves
// only when the test moves it (advance()): what is posted for later runs once the clock has
// passed its time, and the media device can judge stuck files by the same clock, without sleeps.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "player/handoff.h"

namespace kalvori::testing {

class QueuedHandoff final : public Handoff {
 public:
  using Clock = std::chrono::steady_clock;

  void post(std::function<void()> onUiThread) override {
    const std::lock_guard lock(mutex_);
    posted_.push_back(std::move(onUiThread));
  }
  void postAfter(std::chrono::milliseconds delay, std::function<void()> onUiThread) override {
    const std::lock_guard lock(mutex_);
    timed_.push_back({now() + delay, std::move(onUiThread)});
  }
  // Runs what has been posted so far, and what was posted for a time now passed; false when there
  // was nothing.
  bool runPosted() {
    std::deque<std::function<void()>> posted;
    {
      const std::lock_guard lock(mutex_);
      posted.swap(posted_);
      std::stable_sort(timed_.begin(), timed_.end(), [](const Timed& a, const Timed& b) { return a.due < b.due; });
      while (!timed_.empty() && timed_.front().due <= now()) {
        posted.push_back(std::move(timed_.front().run));
        timed_.erase(timed_.begin());
      }
    }
    for (auto& f : posted) f();
    return !posted.empty();
  }

  // The test's clock: it stands still until advance().
  Clock::time_point now() const { return Clock::time_point(Clock::duration(offset_.load())); }
  void advance(std::chrono::milliseconds by) { offset_ += std::chrono::duration_cast<Clock::duration>(by).count(); }

 private:
  struct Timed {
    Clock::time_point due;
    std::function<void()> run;
  };
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
  std::vector<Timed> timed_;
  std::atomic<Clock::rep> offset_{Clock::duration(std::chrono::hours(1)).count()};
};

}  // namespace kalvori::testing
