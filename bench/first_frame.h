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

namespace startup {

inline long long monotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

inline void mark(const char* phase) { std::printf("phase %s %lld\n", phase, monotonicNs()); }

// Watches the window for its first paint event and ends the program once that frame is done.
//
// The first Paint event the window gets opens its first frame; its children are painted and the
// frame is flushed to the screen within the same expose or update event, so a call queued at the
// first Paint runs right after the frame is complete. That moment is reported.
class FirstFrame : public QObject {
 public:
  FirstFrame(QWidget* window, std::size_t widgets) : QObject(window) {
    std::printf("widgets %zu\n", widgets);
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      mark("paint-begins");
      QMetaObject::invokeMethod(
          this,
          [] {
            std::printf("frame %lld\n", monotonicNs());
            QCoreApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

}  // namespace startup
