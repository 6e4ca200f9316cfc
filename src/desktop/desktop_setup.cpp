#include "desktop/desktop_setup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QMessageBox>

#include "desktop/accessibility.h"
#include "desktop/classic_style.h"
#include "desktop/control_widgets.h"
#include "desktop/toolkit_words.h"
#include "desktop/qt_handoff.h"
#include "player/log_line.h"

namespace kalvori::desktop {

void prepareApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Kalvori"));
  // Lets the desktop match the window to its launcher and show the installed icon (the window's
  // own icon follows its first frame: finishApplicationSetup()).
  QGuiApplication::setDesktopFileName(QStringLiteral("kalvori"));
  // The classic look of the program's own: flat back colours, classic bevels. Its palette is set
  // outright, so that a desktop theme's colours do not reach the message box or the lists.
  auto* style = new ClassicStyle;
  app.setStyle(style);
  QApplication::setPalette(style->standardPalette());
  // No font on Linux answers to "宋体" by itself: point it at Song-style faces, and after them at
  // whatever face for Chinese the system has, so that Chinese is never drawn as boxes.
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QFont::insertSubstitutions(QStringLiteral("宋体"), songSubstitutes(chinese));
  if (const QString notice = missingChineseFontNotice(chinese); !notice.isEmpty())
    logLine(notice.toStdString());
  QApplication::setFont(fontFor(Font{900, false}));
  // The toolkit's own words (a text box's Copy and Select All, the message box's OK) in Chinese
  // like the rest of the window, loaded when a menu, a box or a screen reader first needs them.
  loadToolkitWordsWhenNeeded(app);
  installAccessibleRoles();
}

void finishApplicationSetup() {
  // Looking the icon up loads the desktop's icon theme, which the first frame does not need.
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kalvori")));
}

QStringList songSubstitutes(const QStringList& chineseFamilies) {
  // AR PL UMing comes before Noto Serif CJK because its Latin letters are half-width and its Greek
  // full-width, as in the face the window was laid out with, so captions wrap where they were meant to.
  QStringList faces{QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")};
  const auto songStyle = [](const QString& family) {
    for (const char* mark : {"Song", "Sung", "Ming", "Serif", "宋"})
      if (family.contains(QString::fromUtf8(mark), Qt::CaseInsensitive)) return true;
    return false;
  };
  for (bool song : {true, false})
    for (const QString& family : chineseFamilies)
      if (songStyle(family) == song && !faces.contains(family)) faces << family;
  return faces;
}

QString missingChineseFontNotice(const QStringList& chineseFamilies) {
  if (!chineseFamilies.isEmpty()) return {};
  return QStringLiteral(
      "no installed font can draw Chinese, so the window's captions will show as boxes. "
      "Install one, for example: sudo apt install fonts-arphic-uming (or fonts-noto-cjk)");
}

void showMessageBox(QWidget* parent, const std::string& text) {
  loadToolkitWords();  // its button's word
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kalvori"), QString::fromStdString(text), QMessageBox::Ok,
                  parent);
  // The box's loop runs no answer from the background: the handler that shows it finishes first.
  const AnswersHeld later;
  box.exec();
}

}  // namespace kalvori::desktop
