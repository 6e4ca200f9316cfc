#include "desktop/program.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "desktop/desktop_setup.h"
#include "player/mounted_volumes.h"

namespace kalvori::desktop {

namespace {

// Runs `then` once the window's first frame is on the screen: the window's first exposure paints
// and flushes it. The call is queued from there twice over, so that it also comes after whatever
// the painting itself queued.
class AfterFirstFrame : public QObject {
 public:
  AfterFirstFrame(QWidget& window, std::function<void()> then) : QObject(&window), then_(std::move(then)) {
    QWindow* handle = window.windowHandle();
    if (handle && !handle->isExposed()) handle->installEventFilter(this);
    else queue();
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      watched->removeEventFilter(this);
      queue();
    }
    return false;
  }

 private:
  void queue() {
    QMetaObject::invokeMethod(
        this,
        [this] {
          QMetaObject::invokeMethod(
              this,
              [this] {
                then_();
                deleteLater();
              },
              Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
  }
  std::function<void()> then_;
};

}  // namespace

std::unique_ptr<Program> startProgram(QApplication& app, ProgramOptions options) {
  const auto step = [&](const char* name) {
    if (options.onStep) options.onStep(name);
  };
  prepareApplication(app);
  step("prepared");
  auto p = std::make_unique<Program>();
  // The way back to the UI thread first: what the workers find is handed over through it.
  p->handoff = QtHandoff::to(&p->answers);
  p->media = std::make_unique<GstMediaDevice>(options.sinks, p->handoff);  // GStreamer itself starts later
  p->files = std::make_unique<FileBrowser>(mountedVolumes, opticalDrives, p->handoff);
  p->form = createMainWindow(p->media.get(), *p->files, options.startFolder);
  step("model");
  p->window = std::make_unique<FormWidget>(*p->form, p->media.get(), p->files.get(), nullptr, p->handoff);
  step("widgets");
  p->form->load();
  step("loaded");
  if (options.beforeShow) options.beforeShow(*p);
  p->window->show();
  step("shown");
  new AfterFirstFrame(*p->window, finishApplicationSetup);
  // Soon after the first frame, so that the first file played need not wait for GStreamer.
  if (options.startGStreamerSoon) QTimer::singleShot(300, [] { GstMediaDevice::startInBackground(); });
  return p;
}

[[noreturn]] int endProcess(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace kalvori::desktop
