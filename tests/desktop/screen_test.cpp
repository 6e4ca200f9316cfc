// The window on any screen: the same captions line for line at every scale factor, a screen too
// small for the control area, and the face that stands for "宋体" on systems with other fonts.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <memory>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <cmath>

#include "desktop/control_widgets.h"
#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "support/qt_helpers.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {


// How every caption of every mode and view is drawn, line by line, after the size of a picture
// of the control area in device pixels.
QString drawnCaptions() {
  const std::vector<std::vector<const char*>> scenes = {{"r5"}, {"r4"}, {"l4"}, {"c"}, {"tr"}, {"mp3"}, {"texing"}};
  QString out;
  for (const auto& clicks : scenes) {
    auto form = createMainWindow();
    FormWidget view(*form);
    form->load();
    view.show();
    for (const char* c : clicks) form->click(c);
    QApplication::processEvents();
    const QPixmap shot = view.canvas()->grab();  // draws every caption shown
    out += QStringLiteral("picture %1x%2\n").arg(shot.width()).arg(shot.height());
    for (const Control& c : form->controls())
      if (form->isShown(c.name) && !c.caption.empty())
        out += QString::fromStdString(c.name) + ": " + view.viewFor(c.name)->drawnLines().join(u'|') + u'\n';
  }
  return out;
}

TEST(AnyScale, CaptionsAreDrawnLineForLineAsAtOneToOne) {
  // Run again by the test below at another scale factor: write what was drawn and stop.
  if (const QString file = qEnvironmentVariable("KALVORI_DRAWN_CAPTIONS"); !file.isEmpty()) {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(drawnCaptions().toUtf8());
    return;
  }
  if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) GTEST_SKIP() << "compares other scales with 1:1";
  const QStringList here = drawnCaptions().split(u'\n');
  const QTemporaryDir dir;
  for (double scale : {1.5, 2.0}) {
    SCOPED_TRACE(scale);
    const QString file = dir.filePath(QString::number(scale));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", QString::number(scale));
    env.insert("KALVORI_DRAWN_CAPTIONS", file);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=AnyScale.CaptionsAreDrawnLineForLineAsAtOneToOne")});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QStringList there = QString::fromUtf8(in.readAll()).split(u'\n');
    ASSERT_EQ(there.size(), here.size());
    for (qsizetype i = 0; i < here.size(); ++i) {
      if (here[i].startsWith("picture ")) {
        // The same control area, with `scale` times the pixels.
        const QStringList size = here[i].mid(8).split(u'x'), scaled = there[i].mid(8).split(u'x');
        EXPECT_NEAR(scaled[0].toDouble(), size[0].toDouble() * scale, 1);
        EXPECT_NEAR(scaled[1].toDouble(), size[1].toDouble() * scale, 1);
      } else {
        EXPECT_EQ(there[i].toStdString(), here[i].toStdString());
      }
    }
  }
}

TEST(SmallScreen, TheControlAreaScrollsOnlyWhereItDoesNotFit) {
  auto form = createMainWindow();
  FormWidget view(*form);
  form->load();
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QSize area(785, 553);
  struct Screen {
    QSize available;
    QSize window;
    QSize minimum;
  };
  const Screen screens[] = {
      {{1920, 1080}, area, area},
      {{785, 553}, area, area},
      {{640, 400}, {640, 400}, {0, 0}},
      {{1024, 500}, {785, 500}, {0, 0}},
  };
  for (const Screen& s : screens) {
    SCOPED_TRACE(s.available.width());
    view.fitToScreen(s.available);
    QApplication::processEvents();
    EXPECT_EQ(view.size(), s.window);
    EXPECT_EQ(view.minimumSize(), s.minimum);
    EXPECT_EQ(view.canvas()->size(), area);  // never squeezed
  }

  // On the small screen the keyboard brings what it reaches into view: the tolerance button at the
  // right, the tolerance box at the bottom, and back to the first button.
  view.fitToScreen({640, 400});
  QApplication::processEvents();
  QWidget* viewport = view.canvas()->parentWidget();
  for (const char* name : {"e0", "k5", "a0"}) {
    SCOPED_TRACE(name);
    QWidget* target = view.widgetFor(name);
    for (int i = 0; i < 200 && QApplication::focusWidget() != target; ++i) {
      if (!QApplication::focusWidget()) view.widgetFor("a0")->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), target);
    const QRect seen(target->mapTo(viewport, QPoint()), target->size());
    EXPECT_TRUE(viewport->rect().contains(seen)) << seen.x() << "," << seen.y();
  }
}

TEST(Fonts, SongFirstThenAnyFaceForChineseAndANoticeOnlyWhenThereIsNone) {
  const QStringList song{"SimSun", "AR PL UMing CN", "Noto Serif CJK SC"};
  struct Case {
    const char* system;
    QStringList chinese;  // installed families that write Simplified Chinese
    QStringList after;    // what follows the three Song faces
    bool notice;
  };
  const Case cases[] = {
      {"the house fonts", {"AR PL UMing CN", "Noto Sans CJK SC", "Noto Serif CJK SC"}, {"Noto Sans CJK SC"}, false},
      {"a sans face only", {"WenQuanYi Zen Hei"}, {"WenQuanYi Zen Hei"}, false},
      {"Song-style faces first", {"WenQuanYi Micro Hei", "AR PL UKai CN", "Source Han Serif SC", "AR PL SungtiL GB"},
       {"Source Han Serif SC", "AR PL SungtiL GB", "WenQuanYi Micro Hei", "AR PL UKai CN"}, false},
      {"no face for Chinese", {}, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    EXPECT_EQ(songSubstitutes(c.chinese), song + c.after);
    const QString notice = missingChineseFontNotice(c.chinese);
    EXPECT_EQ(notice.contains("fonts-arphic-uming") && notice.contains("fonts-noto-cjk"), c.notice);
    EXPECT_EQ(notice.isEmpty(), !c.notice);
  }
}

// With Qt's translations installed (scripts/setup installs them), the toolkit's own words are
// Chinese too, loaded when first needed: a text box's context menu (a value box's has entries of
// the window's own as well), and the message box's button. ctest runs each test in a process of
// its own, so each of these is the first need.
bool haveTranslations() {
  return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm");
}

// The entries of the context menu that `box` opens for the keyboard's menu key.
QString menuEntries(QWidget* box) {
  QStringList entries;
  QTimer::singleShot(0, [&] {  // the menu pops up, or runs its own loop
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return entries << QStringLiteral("(no menu)"), void();
    for (const QAction* a : menu->actions()) entries << a->text();
    menu->close();
  });
  QContextMenuEvent menu(QContextMenuEvent::Keyboard, {2, 2}, box->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(box, &menu);
  (void)QTest::qWaitFor([&] { return !entries.isEmpty(); }, 2000);
  return entries.join(u' ');
}

TEST(Translations, AValueBoxMenuInChinese) {
  if (!haveTranslations()) GTEST_SKIP() << "Qt's Chinese translations (qt6-translations-l10n) are not installed";
  const auto form = createMainWindow();
  FormWidget window(*form);
  form->load();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QString entries = menuEntries(window.widgetFor("k2"));
  EXPECT_TRUE(entries.contains(QStringLiteral("复制读数"))) << entries.toStdString();
  EXPECT_FALSE(entries.contains(QStringLiteral("Copy"))) << entries.toStdString();
}

TEST(Translations, ATextBoxMenuAndTheMessageBoxInChinese) {
  if (!haveTranslations()) GTEST_SKIP() << "Qt's Chinese translations (qt6-translations-l10n) are not installed";
  QLineEdit box(QStringLiteral("47"));
  box.show();
  const QString entries = menuEntries(&box);
  EXPECT_TRUE(entries.contains(QStringLiteral("复制"))) << entries.toStdString();
  EXPECT_FALSE(entries.contains(QStringLiteral("Copy"))) << entries.toStdString();

  QString ok;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!message || !message->isVisible()) return;
    ok = message->button(QMessageBox::Ok)->text();
    message->button(QMessageBox::Ok)->click();
  });
  answer.start(5);
  showMessageBox(nullptr, "?");
  EXPECT_TRUE(ok.contains(QStringLiteral("确定"))) << ok.toStdString();
}

}  // namespace
}  // namespace kalvori::desktop
