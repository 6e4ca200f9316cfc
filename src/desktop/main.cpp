#include <QApplication>

#include "desktop/program.h"
#include "terminal/terminal_start.h"

int main(int argc, char** argv) {
  // Answered before any QApplication exists: a look-up in the terminal, --help and --version need
  // no display, and a start without one ends with a line that says so rather than Qt's abort.
  if (const auto status = kalvori::terminal::runWithoutWindow(argc, argv)) return *status;
  QApplication app(argc, argv);
  const auto program = kalvori::desktop::startProgram(app);
  // Nothing is stored, and nothing is waited for on the way out: not a worker stuck on a mount,
  // nor a pipeline stuck on a stalled share (the device gives it up without joining it).
  return kalvori::desktop::endProcess(QApplication::exec());
}
