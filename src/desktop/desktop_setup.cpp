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
  // No font on Linux answers to "宋体" by itself: point it at Song-style faces. AR PL UMing comes
  // before Noto Serif CJK because its Latin letters are half-width and its Greek full-width, as in
  // the face the window was laid out with, so captions wrap where they were meant to.
  QFont::insertSubstitutions(QStringLiteral("宋体"),
                             {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("Noto Serif CJK SC")});
  QApplication::setFont(fontFor(Font{900, false}));
}

void showMessageBox(QWidget* parent, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kalvori"), QString::fromStdString(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

}  // namespace kalvori::desktop
