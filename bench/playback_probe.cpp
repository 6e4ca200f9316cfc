// The program playing a file with its window idle, for measuring what playback costs the whole
// process (playback_cpu.sh).
//
//   playback_probe FILE SECONDS
//
// Starts as src/desktop/main.cpp does, except that the media device plays into fake sinks that
// keep real time ("fakesink sync=true"), so neither a sound card nor a display is needed. Then it
// does what a user's clicks do: opens the player, opens the file's folder, chooses the file (which
// plays it), and goes back to the converter while it plays. It then leaves the window alone for
// SECONDS and reports the state and the playing position on its standard output.
//
// The window goes to the X server that DISPLAY names, or offscreen when there is none (or when
// QT_QPA_PLATFORM says so).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "desktop/program.h"
#include "support/media_probe.h"

namespace {

const char* stateName(kalvori::MediaDevice::State s) {
  using S = kalvori::MediaDevice::State;
  switch (s) {
    case S::Closed: return "closed";
    case S::Stopped: return "stopped";
    case S::Playing: return "playing";
    case S::Paused: return "paused";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::atof(argv[2]) <= 0) {
    std::fprintf(stderr, "usage: playback_probe FILE SECONDS\n");
    return 1;
  }
  const std::filesystem::path file = std::filesystem::absolute(argv[1]);
  const double seconds = std::atof(argv[2]);
  if (std::getenv("DISPLAY") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);

  // Started as src/desktop/main.cpp starts it, with the fake sinks.
  QApplication app(argc, argv);
  kalvori::desktop::ProgramOptions options;
  options.sinks = {"fakesink sync=true", "fakesink sync=true"};
  const auto program = kalvori::desktop::startProgram(app, std::move(options));
  kalvori::Form* const form = program->form.get();
  kalvori::GstMediaDevice& media = *program->media;

  // Once the window is up: the clicks of a user who plays the file and goes back to the converter.
  QTimer::singleShot(0, [&] {
    form->click("mp3");
    form->openFolder("Dir1", file.parent_path().string());
    form->chooseFile("File1", file.filename().string());
    form->click("f1");
    std::printf("after the clicks: %s\n", stateName(media.state()));
    std::fflush(stdout);
    QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QCoreApplication::quit(); });
  });
  const int status = QApplication::exec();

  const auto position = positionNs(media);
  std::printf("at the end: %s, position %.1f s\n", stateName(media.state()),
              position ? static_cast<double>(*position) / 1e9 : -1.0);
  return status;
}
