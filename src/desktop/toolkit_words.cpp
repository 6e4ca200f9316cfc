#include "desktop/toolkit_words.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kalvori::desktop {

namespace {

bool loaded = false;

// Sees every event until the first context menu (the menu is built when the widget gets the
// event, after the application's filters have seen it), then goes. Also hears accessibility being
// switched on.
class FirstNeed : public QObject, public QAccessible::ActivationObserver {
 public:
  explicit FirstNeed(QApplication& app) : QObject(&app) {
    app.installEventFilter(this);
    QAccessible::installActivationObserver(this);
  }
  ~FirstNeed() override { QAccessible::removeActivationObserver(this); }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ContextMenu) done();
    return false;
  }
  void accessibilityActiveChanged(bool active) override {
    if (active) done();
  }

 private:
  void done() {
    loadToolkitWords();
    qApp->removeEventFilter(this);
    QAccessible::removeActivationObserver(this);
    deleteLater();
  }
};

}  // namespace

void loadToolkitWords() {
  if (loaded || !qApp) return;
  loaded = true;
  auto* chineseQt = new QTranslator(qApp);
  if (chineseQt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(chineseQt);
  else
    delete chineseQt;
}

void loadToolkitWordsWhenNeeded(QApplication& app) {
  if (loaded) return;
  if (QAccessible::isActive()) return loadToolkitWords();
  new FirstNeed(app);
}

}  // namespace kalvori::desktop
