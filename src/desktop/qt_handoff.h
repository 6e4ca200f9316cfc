// Answers found off the UI thread come back to it as queued calls on a Qt object: what the file
// browser's workers hand back (the player's lists, whether a drive can be read).
//
// What it deliberately does not do: run or wait for anything. Once the object it posts to is gone,
// later answers are dropped, so a worker that ends after the window has closed touches nothing.
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

 private:
  class Receiver;
  std::mutex mutex_;
  QObject* receiver_ = nullptr;  // a child of the owner; cleared, under the mutex, as it goes
};

}  // namespace kalvori::desktop
