// Work that may block (reading a folder on a mount that hangs) leaves the UI thread, and its answer
// comes back to it.
//
// What it deliberately does not do: know about any toolkit (the desktop posts with Qt's queued
// calls), wait for a worker, or cancel one: a worker stuck on a hung mount is simply left to
// finish, or never to. Without a Handoff, the work runs at once where it is asked for, which is
// what the handlers' own tests and tools without an event loop want.
#pragma once

#include <functional>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

namespace kalvori {

class Handoff {
 public:
  virtual ~Handoff() = default;
  // Runs `onUiThread` on the UI thread, later. Callable from any thread; dropped once the UI that
  // would run it has gone.
  virtual void post(std::function<void()> onUiThread) = 0;
};

// Runs `work()` in a thread of its own that nothing waits for, then `answer(result)` on the UI
// thread through `handoff`. With no handoff, both run here and now.
template <class Work, class Answer>
void offUiThread(const std::shared_ptr<Handoff>& handoff, Work work, Answer answer) {
  if (!handoff) {
    answer(work());
    return;
  }
  // Kept apart from the thread, so that they are still at hand when no thread can be had.
  auto job = std::make_shared<std::pair<Work, Answer>>(std::move(work), std::move(answer));
  try {
    std::thread([handoff, job] {
      handoff->post([job, result = job->first()]() mutable { job->second(std::move(result)); });
    }).detach();
  } catch (const std::system_error&) {
    // The process is at its limit of threads: better late on this thread than never.
    job->second(job->first());
  }
}

}  // namespace kalvori
