#include <QApplication>

#include "desktop/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const auto program = kalvori::desktop::startProgram(app);
  // Nothing is stored, and nothing is waited for on the way out: not a worker stuck on a mount,
  // nor a pipeline stuck on a stalled share (the device gives it up without joining it).
  return kalvori::desktop::endProcess(QApplication::exec());
}
