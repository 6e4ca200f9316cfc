// The program's own start-up (startProgram(), as main() starts it), reporting the end of each of its
// steps and when its window's first frame is painted (see first_frame.h), then ending.
//
//   startup_probe [--gstreamer]
//
// With --gstreamer it also reports, at the first frame, whether GStreamer has been initialised and
// which of its files the process has mapped (the libraries it links, and any plugin): start-up is
// meant to leave GStreamer alone until the first file is opened.
#include <gst/gst.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <utility>

#include "desktop/program.h"
#include "first_frame.h"

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
  QApplication app(argc, argv);
  startup::mark("application");
  kalvori::desktop::ProgramOptions options;
  options.onStep = startup::mark;
  options.beforeShow = [&](kalvori::desktop::Program& program) {
    auto* frame = new startup::FirstFrame(program.window.get(), program.form->controls().size());
    if (gstreamerReport) frame->atFrame(reportGStreamer);
  };
  const auto program = kalvori::desktop::startProgram(app, std::move(options));
  return QApplication::exec();
}
