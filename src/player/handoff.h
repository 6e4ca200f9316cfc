// The one way back to the UI thread: what the background threads find (a folder's listing, whether
// a drive can be read, what a media pipeline did) is handed to the UI thread through a Handoff, and
// runs there later, one answer at a time, in the order they were posted. The UI thread can also
// ask to be called again after a while (postAfter): what waits for a thread is judged again so.
//
// What it deliberately does not do: know about any toolkit (the desktop's is QtHandoff), start,
// wait for or cancel a thread (background_worker.h and the media device do that).
#pragma once

#include <chrono>
#include <functional>

namespace kalvori {

class Handoff {
 public:
  virtual ~Handoff() = default;
  // Runs `onUiThread` on the UI thread, later. Callable from any thread; dropped once the UI that
  // would run it has gone.
  virtual void post(std::function<void()> onUiThread) = 0;
  // Runs `onUiThread` on the UI thread once `delay` has passed. Call on the UI thread.
  virtual void postAfter(std::chrono::milliseconds delay, std::function<void()> onUiThread) = 0;
};

}  // namespace kalvori
