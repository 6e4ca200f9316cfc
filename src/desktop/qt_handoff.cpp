#include "desktop/qt_handoff.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

namespace kalvori::desktop {

namespace {

// An answer held, with the handoff it came through: it is dropped if that one's owner has gone
// meanwhile, as it would have been had it not waited.
struct Held {
  std::weak_ptr<QtHandoff> handoff;
  std::function<void()> answer;
};

// The UI thread's own: how many AnswersHeld live, and the answers that came meanwhile.
int holds = 0;
std::deque<Held> held;
bool releaseQueued = false;

// Runs the held answers in order, until one of them shows a message box in turn.
void release() {
  releaseQueued = false;
  while (holds == 0 && !held.empty()) {
    Held next = std::move(held.front());
    held.pop_front();
    if (const auto handoff = next.handoff.lock(); handoff && handoff->live()) next.answer();
  }
}

// A custom event carries no data: the answers wait in the handoff's queue, under its mutex.
const QEvent::Type kRunPosted = QEvent::Type(QEvent::User + 17);

}  // namespace

// Goes with its owner, and on its way out stops further posts.
class QtHandoff::Receiver : public QObject {
 public:
  Receiver(QObject* owner, std::shared_ptr<QtHandoff> handoff) : QObject(owner), handoff_(std::move(handoff)) {}
  ~Receiver() override {
    if (const auto handoff = handoff_.lock()) {
      const std::lock_guard lock(handoff->mutex_);
      handoff->receiver_ = nullptr;
    }
  }

 protected:
  // Qt hands custom events here; this receiver gets no other, so the event itself is not read.
  void customEvent(QEvent*) override {
    if (const auto handoff = handoff_.lock()) runPosted(handoff);
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
  if (!receiver_) return;
  posted_.push_back(std::move(onUiThread));
  if (!std::exchange(called_, true)) QCoreApplication::postEvent(receiver_, new QEvent(kRunPosted));
}

bool QtHandoff::live() {
  const std::lock_guard lock(mutex_);
  return receiver_ != nullptr;
}

void QtHandoff::runPosted(const std::shared_ptr<QtHandoff>& handoff) {
  std::deque<std::function<void()>> answers;
  {
    const std::lock_guard lock(handoff->mutex_);
    answers.swap(handoff->posted_);
    handoff->called_ = false;
  }
  for (auto& answer : answers) {
    // Unless answers are held, or earlier ones still wait: then each waits its turn.
    if (holds > 0 || !held.empty()) held.push_back({handoff, std::move(answer)});
    else answer();
  }
}

AnswersHeld::AnswersHeld() { ++holds; }

AnswersHeld::~AnswersHeld() {
  // From the event loop: the handler that showed the box ends first.
  if (--holds == 0 && !held.empty() && !std::exchange(releaseQueued, true))
    QMetaObject::invokeMethod(QCoreApplication::instance(), release, Qt::QueuedConnection);
}

}  // namespace kalvori::desktop
