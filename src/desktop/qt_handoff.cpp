#include "desktop/qt_handoff.h"

namespace kalvori::desktop {

// Goes with its owner, and on its way out stops further posts; Qt drops those already queued.
class QtHandoff::Receiver : public QObject {
 public:
  Receiver(QObject* owner, std::shared_ptr<QtHandoff> handoff) : QObject(owner), handoff_(std::move(handoff)) {}
  ~Receiver() override {
    if (const auto handoff = handoff_.lock()) {
      const std::lock_guard lock(handoff->mutex_);
      handoff->receiver_ = nullptr;
    }
  }

 private:
  std::weak_ptr<QtHandoff> handoff_;
};

std::shared_ptr<QtHandoff> QtHandoff::to(QObject* owner) {
  auto handoff = std::make_shared<QtHandoff>();
  handoff->receiver_ = new Receiver(owner, handoff);
  return handoff;
}

void QtHandoff::post(std::function<void()> onUiThread) {
  const std::lock_guard lock(mutex_);
  if (receiver_) QMetaObject::invokeMethod(receiver_, std::move(onUiThread), Qt::QueuedConnection);
}

}  // namespace kalvori::desktop
