#include "desktop/qt_handoff.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <utility>

namespace kalvori::desktop {

namespace {

// An answer held, with the receiver it came to: it is dropped if that one has gone meanwhile, as
// it would have been had it not waited.
struct Held {
  QPointer<QObject> receiver;
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
    if (next.receiver) next.answer();
  }
}

// Qt hands the call over under locks of its own, which ThreadSanitizer cannot see (the library is
// not built for it): these tell it that what the posting thread wrote into the call was written
// before the UI thread runs it.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
char handedOver;
void sent() { __tsan_release(&handedOver); }
void received() { __tsan_acquire(&handedOver); }
#else
void sent() {}
void received() {}
#endif

// What a posted call carries, made on the posting thread. Each copy or move of it (the last one
// into Qt's call) tells ThreadSanitizer that it was written before the UI thread reads it; the
// UI thread says so before it reads or drops it.
struct Carried {
  QObject* receiver;
  std::function<void()> answer;
  Carried(QObject* to, std::function<void()> posted) : receiver(to), answer(std::move(posted)) { sent(); }
  Carried(Carried&& other) noexcept : receiver(other.receiver), answer(std::move(other.answer)) { sent(); }
  Carried(const Carried& other) : receiver(other.receiver), answer(other.answer) { sent(); }
  Carried& operator=(const Carried&) = delete;
  ~Carried() { received(); }
};

// On the UI thread: runs the answer now, unless answers are held or earlier ones still wait; then
// it waits its turn.
void deliver(QObject* receiver, std::function<void()> answer) {
  if (holds > 0 || !held.empty()) held.push_back({receiver, std::move(answer)});
  else answer();
}

// Goes with its owner, and on its way out stops further posts.
class Receiver : public QObject {
 public:
  Receiver(QObject* owner, std::weak_ptr<QtHandoff> handoff, std::function<void()> gone)
      : QObject(owner), handoff_(std::move(handoff)), gone_(std::move(gone)) {}
  ~Receiver() override {
    if (handoff_.lock()) gone_();
  }

 private:
  std::weak_ptr<QtHandoff> handoff_;
  std::function<void()> gone_;
};

}  // namespace

std::shared_ptr<QtHandoff> QtHandoff::to(QObject* owner) {
  auto handoff = std::make_shared<QtHandoff>();
  QtHandoff* raw = handoff.get();
  handoff->receiver_ = new Receiver(owner, handoff, [raw] {
    const std::lock_guard lock(raw->mutex_);
    raw->receiver_ = nullptr;
  });
  return handoff;
}

void QtHandoff::post(std::function<void()> onUiThread) {
  const std::lock_guard lock(mutex_);
  if (!receiver_) return;
  // Queued: Qt keeps the calls to one receiver in the order posted, and drops them with it.
  QMetaObject::invokeMethod(
      receiver_,
      [carried = Carried(receiver_, std::move(onUiThread))]() mutable {
        received();
        deliver(carried.receiver, std::move(carried.answer));
      },
      Qt::QueuedConnection);
}

void QtHandoff::postAfter(std::chrono::milliseconds delay, std::function<void()> onUiThread) {
  const std::lock_guard lock(mutex_);
  if (!receiver_) return;
  QTimer::singleShot(delay, receiver_,
                     [receiver = receiver_, answer = std::move(onUiThread)]() mutable { deliver(receiver, std::move(answer)); });
}

AnswersHeld::AnswersHeld() { ++holds; }

AnswersHeld::~AnswersHeld() {
  // From the event loop: the handler that showed the box ends first, the rest of its batch with it.
  if (--holds == 0 && !held.empty() && !std::exchange(releaseQueued, true))
    QMetaObject::invokeMethod(QCoreApplication::instance(), release, Qt::QueuedConnection);
}

}  // namespace kalvori::desktop
