#include "desktop/qt_handoff.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdint>
#include <cstdio>
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

}  // namespace

// Goes with its owner, and on its way out stops further posts. It is woken through an eventfd that
// the posting thread writes to: no Qt object or event is made on that thread, so the answers'
// only way across is the handoff's own queue and mutex.
class QtHandoff::Receiver : public QObject {
 public:
  Receiver(QObject* owner, std::shared_ptr<QtHandoff> handoff, int wake)
      : QObject(owner), handoff_(std::move(handoff)), wake_(wake), notifier_(wake, QSocketNotifier::Read, this) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] {
      std::uint64_t count = 0;
      (void)!read(wake_, &count, sizeof count);
      if (const auto handoff = handoff_.lock()) runPosted(handoff);
    });
  }
  ~Receiver() override {
    if (const auto handoff = handoff_.lock()) {
      const std::lock_guard lock(handoff->mutex_);
      handoff->receiver_ = nullptr;
      handoff->wake_ = -1;
    }
    notifier_.setEnabled(false);
    close(wake_);
  }

 private:
  std::weak_ptr<QtHandoff> handoff_;
  int wake_;
  QSocketNotifier notifier_;
};

std::shared_ptr<QtHandoff> QtHandoff::to(QObject* owner) {
  auto handoff = std::make_shared<QtHandoff>();
  handoff->wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (handoff->wake_ < 0) {
    // Without a descriptor to be had, answers are dropped, as after the window has gone.
    std::perror("Kalvori: no eventfd for answers from the background");
    return handoff;
  }
  handoff->receiver_ = new Receiver(owner, handoff, handoff->wake_);
  return handoff;
}

void QtHandoff::post(std::function<void()> onUiThread) {
  const std::lock_guard lock(mutex_);
  if (!receiver_) return;
  posted_.push_back(std::move(onUiThread));
  if (!std::exchange(called_, true)) {
    const std::uint64_t one = 1;
    (void)!write(wake_, &one, sizeof one);
  }
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
    // Unless answers are held, or earlier ones still wait: then each waits its turn. One answer
    // may close the window that the next would have gone to.
    if (holds > 0 || !held.empty()) held.push_back({handoff, std::move(answer)});
    else if (handoff->live()) answer();
  }
}

AnswersHeld::AnswersHeld() { ++holds; }

AnswersHeld::~AnswersHeld() {
  // From the event loop: the handler that showed the box ends first.
  if (--holds == 0 && !held.empty() && !std::exchange(releaseQueued, true))
    QMetaObject::invokeMethod(QCoreApplication::instance(), release, Qt::QueuedConnection);
}

}  // namespace kalvori::desktop
