// What a start-up probe reports to startup_runner on its standard output, one item a line:
//   phase NAME NS   a step of its start-up finished (optional, for --phases)
//   widgets N       how many controls or widgets the window has
//   frame NS        its window's first frame has been painted
// NS is CLOCK_MONOTONIC in nanoseconds, the clock the runner reads right before it starts the
// process, so the two can be subtracted.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>

namespace startup {

inline long long monotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

inline void mark(const char* phase) { std::printf("phase %s %lld\n", phase, monotonicNs()); }

// Watches the window for its first paint event and ends the program once that frame is done.
//
// The first Paint event that any widget of the window gets opens its first frame (the window
// itself may get none: a child that covers it whole, such as a scroll area, is painted instead).
// Every widget of the frame is painted and the frame is flushed to the screen within the same
// expose or update event, so a call queued at the first Paint runs right after the frame is
// complete. That moment is reported.
class FirstFrame : public QObject {
 public:
  FirstFrame(QWidget* window, std::size_t widgets) : QObject(window), window_(window) {
    std::printf("widgets %zu\n", widgets);
    QCoreApplication::instance()->installEventFilter(this);
  }

  // Something to run once the frame has been reported (not counted in its time), before quitting.
  void atFrame(std::function<void()> then) { then_ = std::move(then); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      seen_ = true;
      mark("paint-begins");
      QMetaObject::invokeMethod(
          this,
          [this] {
            std::printf("frame %lld\n", monotonicNs());
            if (then_) then_();
            QCoreApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool seen_ = false;
  std::function<void()> then_;
};

}  // namespace startup
