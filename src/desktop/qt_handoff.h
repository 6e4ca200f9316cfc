// Answers found off the UI thread come back to it through a Qt object: what the workers find (the
// player's lists, whether a drive can be read) and what the media device's pipelines report. Each
// answer is a queued call to a receiver that lives on the UI thread, which Qt delivers there in the
// order posted, whatever the event loop is.
//
// Handlers run one at a time: while a message box or a context menu is up (AnswersHeld), answers
// are not run inside its loop, and so not inside the handler that showed it; they wait, and once
// it is gone they run from the event loop in the order they came. An answer that opens a box
// finishes first, the rest of its own batch included, before anything that came meanwhile.
//
// What it deliberately does not do: run or wait for anything on another thread. Once the object it
// posts to is gone, later answers are dropped, so a worker that ends after the window has closed
// touches nothing.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

#include "player/handoff.h"

namespace kalvori::desktop {

class QtHandoff final : public Handoff {
 public:
  // Posts to the thread of `owner` for as long as `owner` lives.
  static std::shared_ptr<QtHandoff> to(QObject* owner);
  void post(std::function<void()> onUiThread) override;
  void postAfter(std::chrono::milliseconds delay, std::function<void()> onUiThread) override;

 private:
  std::mutex mutex_;
  QObject* receiver_ = nullptr;  // a child of the owner; cleared, under the mutex, as it goes
};

// While one lives (on the UI thread: around a modal message box or a menu), answers wait; after
// the last one has gone they run from the event loop, in the order they came.
class AnswersHeld {
 public:
  AnswersHeld();
  ~AnswersHeld();
  AnswersHeld(const AnswersHeld&) = delete;
  AnswersHeld& operator=(const AnswersHeld&) = delete;
};

}  // namespace kalvori::desktop
