// The program's own start-up, reporting when its window's first frame is painted (see
// first_frame.h), then ending.
//
//   startup_probe [--gstreamer]
//
// With --gstreamer it also reports, at the first frame, whether GStreamer has been initialised and
// which of its files the process has mapped (the libraries it links, and any plugin): start-up is
// meant to leave GStreamer alone until the first file is opened.
#include <gst/gst.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "desktop/qt_handoff.h"
#include "first_frame.h"
#include "player/gst_media_device.h"
#include "player/mounted_volumes.h"
#include "window/main_window.h"

namespace {

// Prints "gstreamer initialised yes|no", then one line for each GStreamer file mapped now:
// "gstreamer library PATH" for the libraries the program links, "gstreamer plugin PATH" for
// anything loaded from a plugin folder.
void reportGStreamer() {
  std::printf("gstreamer initialised %s\n", gst_is_initialized() ? "yes" : "no");
  std::set<std::string> files;
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    const std::size_t slash = line.find('/');
    if (slash == std::string::npos) continue;
    const std::string path = line.substr(slash);
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.starts_with("libgst") || path.find("/gstreamer-1.0/") != std::string::npos) files.insert(path);
  }
  for (const std::string& path : files) {
    const bool plugin = path.find("/gstreamer-1.0/") != std::string::npos;
    std::printf("gstreamer %s %s\n", plugin ? "plugin" : "library", path.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  startup::mark("main");
  const bool gstreamerReport = argc > 1 && std::strcmp(argv[1], "--gstreamer") == 0;
  // The same steps as src/desktop/main.cpp, in the same order: keep the two in step.
  QApplication app(argc, argv);
  startup::mark("application");
  kalvori::desktop::prepareApplication(app);
  startup::mark("prepared");
  QObject answers;
  const auto handoff = kalvori::desktop::QtHandoff::to(&answers);
  kalvori::GstMediaDevice media({}, handoff);
  const kalvori::FileBrowser files(kalvori::mountedVolumes, kalvori::opticalDrives, handoff);
  const auto form = kalvori::createMainWindow(&media, files, kalvori::startingFolder());
  startup::mark("model");
  kalvori::desktop::FormWidget window(*form, &media, &files);
  startup::mark("widgets");
  form->load();
  startup::mark("loaded");
  auto* frame = new startup::FirstFrame(&window, form->controls().size());
  if (gstreamerReport) frame->atFrame(reportGStreamer);
  window.show();
  startup::mark("shown");
  QTimer::singleShot(300, [] { kalvori::GstMediaDevice::startInBackground(); });
  return QApplication::exec();
}
