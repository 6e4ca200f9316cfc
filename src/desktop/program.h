// The program put together: the application's setup, the way the workers' answers come back to the
// UI thread, the media device, the file browser, the window's model and its widgets, the window
// shown, and then what waits for its first frame (finishApplicationSetup(), and GStreamer's start
// in the background soon after). main() starts the program with it, and so does every probe and
// tour that must start exactly as the program does; what they need differently (fake sinks, a
// moment to watch the window before it shows) they say in ProgramOptions.
//
// What it deliberately does not do: make the QApplication or run its event loop (the caller does
// both, so that argc and argv stay the caller's), or wait for anything.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "desktop/form_widget.h"
#include "desktop/qt_handoff.h"
#include "player/file_browser.h"
#include "player/gst_media_device.h"
#include "window/main_window.h"

class QApplication;

namespace kalvori::desktop {

struct Program;

struct ProgramOptions {
  GstMediaDevice::Sinks sinks{};              // playbin's own unless given (probes: fake sinks)
  std::string startFolder = startingFolder();  // where the player's lists start
  // GStreamer starts in the background 300 ms after the window is shown; false leaves it to the
  // first file played.
  bool startGStreamerSoon = true;
  // Called as each step of start-up ends ("prepared", "model", "widgets", "loaded", "shown").
  std::function<void(const char* step)> onStep;
  // Called with everything made, right before the window is shown.
  std::function<void(Program&)> beforeShow;
};

// Destroyed in the reverse order of making: the window before the model it shows, the model
// before the browser and device its handlers use, the object the answers come back through last.
struct Program {
  QObject answers;  // what the workers answer is delivered on the UI thread through it
  std::shared_ptr<QtHandoff> handoff;
  std::unique_ptr<GstMediaDevice> media;
  std::unique_ptr<FileBrowser> files;
  std::unique_ptr<Form> form;
  std::unique_ptr<FormWidget> window;
};

// Sets `app` up and starts the program in it: on return the window is shown and the caller runs
// the event loop.
std::unique_ptr<Program> startProgram(QApplication& app, ProgramOptions options = {});

// Ends the process with `status` once the event loop has returned: standard output and error are
// flushed, and no destructor runs (not the program's, nor those of statics and libraries), since
// threads still inside GStreamer on a stalled share would run beside them. Nothing is stored, so
// nothing is lost. Never returns.
[[noreturn]] int endProcess(int status);

}  // namespace kalvori::desktop
