#include <QApplication>

#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kalvori::desktop::prepareApplication(app);
  const auto form = kalvori::createMainWindow();
  kalvori::desktop::FormWidget window(*form);
  form->load();
  window.show();
  return QApplication::exec();
}
