#include "desktop/desktop_setup.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QStyleFactory>

#include "desktop/control_widgets.h"

namespace kalvori::desktop {

void prepareApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Kalvori"));
  // Fusion draws the back colours of buttons; the platform themes may not.
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // No font on Linux answers to "宋体" by itself: point it at Song-style faces first.
  QFont::insertSubstitutions(QStringLiteral("宋体"),
                             {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("AR PL UMing CN")});
  QApplication::setFont(fontFor(Font{900, false}));
}

void showMessageBox(QWidget* parent, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kalvori"), QString::fromStdString(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

}  // namespace kalvori::desktop
