// How long after a click on a mode button the real window has repainted: the click (the model's
// whole layout and every widget kept in step with it), then the window's next update, up to the
// moment its frame has been painted and flushed.
//
//   layout_repaint [ROUNDS]     (default 20; the first round fills the caches and is not counted)
//
// The window is built as the program builds it, without a media device. QT_QPA_PLATFORM defaults
// to offscreen; set it (and DISPLAY) to measure on an X server.
//
// The time runs from right before form->click() to the end of the paint of the window that
// follows: an application-wide event filter sees the first Paint event for any widget of the
// window after the click, and queues a call that runs once that update (all dirty widgets, and
// the flush) is over, as first_frame.h does for the first frame. "click" is the part spent in
// form->click() itself.
#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "window/main_window.h"

namespace {

double nowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Notes when the first update of the window after arm() is complete.
class RepaintWatch : public QObject {
 public:
  explicit RepaintWatch(QWidget* window) : window_(window) { qApp->installEventFilter(this); }

  void arm() {
    armed_ = true;
    doneAt_ = 0;
    paints_ = 0;
  }
  bool done() const { return doneAt_ > 0; }
  double doneAt() const { return doneAt_; }
  int paints() const { return paints_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && armed_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      if (paints_++ == 0)
        QMetaObject::invokeMethod(this, [this] {
          doneAt_ = nowMs();
          armed_ = false;
        }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool armed_ = false;
  double doneAt_ = 0;
  int paints_ = 0;  // paint events of the update, one per widget painted
};

struct Sample {
  double clickMs, frameMs;
  int paints;
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  if (rounds < 2) {
    std::fprintf(stderr, "usage: layout_repaint [ROUNDS >= 2]\n");
    return 1;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);

  // As src/desktop/main.cpp, without a media device.
  QApplication app(argc, argv);
  kalvori::desktop::prepareApplication(app);
  const auto form = kalvori::createMainWindow();
  kalvori::desktop::FormWidget window(*form);
  form->load();
  window.show();
  const double giveUp = nowMs() + 10'000;
  while (!(window.windowHandle() && window.windowHandle()->isExposed()) && nowMs() < giveUp)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  if (!window.windowHandle() || !window.windowHandle()->isExposed()) {
    std::fprintf(stderr, "layout_repaint: the window was never exposed\n");
    return 1;
  }
  RepaintWatch watch(&window);
  const std::vector<std::string> modes{"r5", "r4", "l4", "c", "tr"};
  // The window opens in the five-band mode: leave it, so that the first click changes the layout too.
  form->click(modes.back());
  // Whatever the first show and that click left to do (frames, queued calls).
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  std::vector<std::vector<Sample>> samples(modes.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t m = 0; m < modes.size(); ++m) {
      watch.arm();
      const double start = nowMs();
      form->click(modes[m]);
      const double clicked = nowMs();
      while (!watch.done()) {
        QCoreApplication::processEvents();
        if (nowMs() - start > 5'000) {
          std::fprintf(stderr, "layout_repaint: no repaint within 5 s after clicking %s\n", modes[m].c_str());
          return 1;
        }
      }
      if (round > 0) samples[m].push_back({clicked - start, watch.doneAt() - start, watch.paints()});
      // Leave nothing of this click for the next one to pay for.
      for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
  }

  std::printf("%d rounds of the five modes in turn, the first not counted; QT_QPA_PLATFORM=%s\n\n", rounds - 1,
              std::getenv("QT_QPA_PLATFORM"));
  std::printf("%-5s %18s   %18s   %s\n", "mode", "click ms", "click to frame ms", "widgets painted");
  std::printf("%-5s %8s %9s   %8s %9s\n", "", "median", "max", "median", "max");
  double worst = 0;
  for (std::size_t m = 0; m < modes.size(); ++m) {
    std::vector<double> click, frame, paints;
    for (const Sample& s : samples[m]) {
      click.push_back(s.clickMs);
      frame.push_back(s.frameMs);
      paints.push_back(s.paints);
    }
    const double maxFrame = *std::max_element(frame.begin(), frame.end());
    worst = std::max(worst, maxFrame);
    std::printf("%-5s %8.2f %9.2f   %8.2f %9.2f   %.0f\n", modes[m].c_str(), median(click),
                *std::max_element(click.begin(), click.end()), median(frame), maxFrame, median(paints));
  }
  std::printf("\nslowest click to frame: %.2f ms (goal: within one 16 ms frame)\n", worst);
  return 0;
}
