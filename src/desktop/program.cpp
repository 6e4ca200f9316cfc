#include "desktop/program.h"

#include <QApplication>
#include <QTimer>

#include "desktop/desktop_setup.h"
#include "player/mounted_volumes.h"

namespace kalvori::desktop {

std::unique_ptr<Program> startProgram(QApplication& app, ProgramOptions options) {
  const auto step = [&](const char* name) {
    if (options.onStep) options.onStep(name);
  };
  prepareApplication(app);
  step("prepared");
  auto p = std::make_unique<Program>();
  // Answers first: the browser's workers and the device hand theirs back through it.
  p->handoff = QtHandoff::to(&p->answers);
  p->media = std::make_unique<GstMediaDevice>(options.sinks);  // GStreamer itself starts later
  p->files = std::make_unique<FileBrowser>(mountedVolumes, opticalDrives, p->handoff);
  p->form = createMainWindow(p->media.get(), *p->files, options.startFolder);
  step("model");
  p->window = std::make_unique<FormWidget>(*p->form, p->media.get(), p->files.get());
  step("widgets");
  p->form->load();
  step("loaded");
  if (options.beforeShow) options.beforeShow(*p);
  p->window->show();
  step("shown");
  // Soon after the first frame, so that the first file played need not wait for GStreamer.
  if (options.startGStreamerSoon) QTimer::singleShot(300, [] { GstMediaDevice::startInBackground(); });
  return p;
}

}  // namespace kalvori::desktop
