// The program's own start-up, reporting when its window's first frame is painted (see
// first_frame.h), then ending.
#include <QApplication>

#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "first_frame.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  startup::mark("main");
  // The same steps as src/desktop/main.cpp, in the same order: keep the two in step.
  QApplication app(argc, argv);
  startup::mark("application");
  kalvori::desktop::prepareApplication(app);
  startup::mark("prepared");
  const auto form = kalvori::createMainWindow();
  startup::mark("model");
  kalvori::desktop::FormWidget window(*form);
  startup::mark("widgets");
  form->load();
  startup::mark("loaded");
  new startup::FirstFrame(&window, form->controls().size());
  window.show();
  startup::mark("shown");
  return QApplication::exec();
}
