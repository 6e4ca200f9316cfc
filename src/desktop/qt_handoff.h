// Answers found off the UI thread come back to it through a Qt object: what the workers find (the
// player's lists, whether a drive can be read) and what the media device's pipelines report.
// Posted answers wait in a queue of the handoff's own; a wake through an eventfd that the owner's
// thread watches runs them there in the order they were posted. Nothing here depends on the event
// loop being GLib's.
//
// Handlers run one at a time: while a message box is up (AnswersHeld), answers are not run inside
// its loop, and so not inside the handler that showed it; they wait, and once the box is gone they
// run from the event loop in the order they came, from every handoff alike.
//
// What it deliberately does not do: run or wait for anything on another thread. Once the object it
// posts to is gone, later answers are dropped, so a worker that ends after the window has closed
// touches nothing.
#pragma once

#include <QObject>
#include <deque>
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
  // Whether its owner is still there.
  bool live();

 private:
  class Receiver;
  static void runPosted(const std::shared_ptr<QtHandoff>& handoff);  // on the owner's thread

  std::mutex mutex_;
  Receiver* receiver_ = nullptr;  // a child of the owner; cleared, under the mutex, as it goes
  int wake_ = -1;                 // the receiver's eventfd, while it lives
  std::deque<std::function<void()>> posted_;
  bool called_ = false;  // a call to runPosted is queued
};

// While one lives (on the UI thread: around a modal message box), answers wait; after the last
// one has gone they run from the event loop, in the order they came.
class AnswersHeld {
 public:
  AnswersHeld();
  ~AnswersHeld();
  AnswersHeld(const AnswersHeld&) = delete;
  AnswersHeld& operator=(const AnswersHeld&) = delete;
};

}  // namespace kalvori::desktop
