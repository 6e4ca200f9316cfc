// The three views on the screen, offscreen: what covers what for the mouse and the keyboard, the
// reference panel as drawn, and the information messages.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include "desktop/caption_text.h"
#include "desktop/control_widgets.h"
#include "desktop/form_widget.h"
#include "support/open_window.h"
#include "support/qt_helpers.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {

class ViewsOnScreen : public testing::OpenWindow {
 protected:
  // A real click at a point of the window, given in twips, routed by Qt to whatever lies on top.
  void clickAt(int x, int y) {
    QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {}, view->canvas()->mapTo(view.get(), QPoint(px(x), px(y))));
    QApplication::processEvents();
  }
  void clickOn(const char* name) {
    const Geometry& g = form->control(name).geometry;
    const Control& c = form->control(name);
    int x = g.left + g.width / 2, y = g.top + g.height / 2;
    for (std::string parent = c.parent; !parent.empty(); parent = form->control(parent).parent) {
      x += form->control(parent).geometry.left;
      y += form->control(parent).geometry.top;
    }
    clickAt(x, y);
  }
  bool inside(QWidget* widget, const char* frame) { return widget && (widget == w(frame) || w(frame)->isAncestorOf(widget)); }
};

TEST_F(ViewsOnScreen, RealClicksMoveBetweenTheViews) {
  clickOn("mp3");
  EXPECT_TRUE(w("zov")->isVisible());
  EXPECT_TRUE(w("File1")->isVisible());
  EXPECT_FALSE(w("F2")->isVisible());
  clickOn("xilie");
  EXPECT_TRUE(w("F2")->isVisible());
  clickOn("fanhui1");
  EXPECT_FALSE(w("zov")->isVisible());
  EXPECT_TRUE(w("a0")->isVisible());
  clickOn("texing");
  EXPECT_TRUE(w("F2")->isVisible());
  clickOn("fanhui2");
  EXPECT_TRUE(w("File1")->isVisible());
  clickOn("f1");
  EXPECT_FALSE(w("zov")->isVisible());
}

TEST_F(ViewsOnScreen, ACoveringFrameTakesTheClicksOfWhatLiesBeneath) {
  clickOn("mp3");
  // a1, W1 and c lie under zov: clicking where they are changes nothing.
  for (const char* covered : {"a1", "W1", "c"}) clickOn(covered);
  EXPECT_EQ(form->control("k1").text, "");
  EXPECT_TRUE(form->control("r5").value);
  EXPECT_TRUE(inside(view->canvas()->childAt(px(740), px(5700)), "zov"));  // kkk's spot
  clickOn("xilie");
  // The reference panel covers the player's buttons.
  EXPECT_TRUE(inside(view->canvas()->childAt(px(120 + 400), px(900)), "F2"));  // xxx's spot
  testing::MessageBoxAnswerer answerer;
  clickAt(120 + 1000, 1300);  // where xxx would be
  EXPECT_TRUE(answerer.seen.empty());
  EXPECT_TRUE(form->control("F2").visible);
}

TEST_F(ViewsOnScreen, TabNeverReachesACoveredControl) {
  auto tabAround = [&](const char* start, const std::function<bool(QWidget*)>& allowed) {
    w(start)->setFocus();
    QApplication::processEvents();
    for (int i = 0; i < 250; ++i) {
      QWidget* focus = QApplication::focusWidget();
      ASSERT_NE(focus, nullptr) << i;
      ASSERT_TRUE(allowed(focus)) << "Tab " << i << " reached " << focus->objectName().toStdString();
      QTest::keyClick(focus, Qt::Key_Tab);
    }
  };
  tabAround("a0", [&](QWidget* f) { return !inside(f, "zov"); });
  form->click("mp3");
  QApplication::processEvents();
  tabAround("xxx", [&](QWidget* f) { return inside(f, "zov") && !inside(f, "F2"); });
  form->click("xilie");
  QApplication::processEvents();
  std::set<QWidget*> seen;
  tabAround("fanhui1", [&](QWidget* f) {
    seen.insert(f);
    return f == w("fanhui1") || f == w("fanhui2");
  });
  EXPECT_EQ(seen.size(), 2u);
  // Space on the focused button presses it: back to the converter.
  w("fanhui1")->setFocus();
  QTest::keyClick(w("fanhui1"), Qt::Key_Space);
  EXPECT_FALSE(form->control("zov").visible);
}

TEST_F(ViewsOnScreen, TheReferencePanelAsDrawn) {
  form->click("texing");
  QApplication::processEvents();
  const QImage shot = view->canvas()->grab().toImage();
  // F2 stands at (0, 120) in zov, which stands at (120, 0): a point of F2 in twips on the canvas.
  auto at = [&](int x, int y) { return shot.pixelColor(px(120 + x), px(120 + y)); };
  // The grid is drawn over the opaque legend labels: Line7 crosses the heading Label12 and the
  // rows below it; Line19 crosses the series heading.
  EXPECT_EQ(at(720, 840), QColor(Qt::black));
  EXPECT_EQ(at(720, 3300), QColor(Qt::black));
  EXPECT_EQ(at(8760, 840), QColor(Qt::black));
  EXPECT_EQ(at(2400, 960), QColor(Qt::black));  // Line6 across the legend
  EXPECT_EQ(at(2400, 1500).rgb() & 0xFFFFFF, 0xC0C0C0u);  // label background beside the text
  // F2 reaches below zov and is clipped there: the canvas ends with zov.
  EXPECT_EQ(w("F2")->geometry().bottom() + 1, px(120 + 8775));
  EXPECT_GT(w("F2")->geometry().bottom(), w("zov")->height());
  // The narrow series labels break into one value per line.
  const Control& e24 = form->control("Label25");
  const QStringList lines = wrapCaption(QString::fromStdString(e24.caption), w("Label25")->font(), w("Label25")->width());
  ASSERT_EQ(lines.size(), 24);
  EXPECT_EQ(lines.front().trimmed(), "1.0");
  EXPECT_EQ(lines.back().trimmed(), "9.1");
  EXPECT_LE(24 * w("Label25")->font().pixelSize(), w("Label25")->height());  // all 24 fit
  const QStringList e12 = wrapCaption(QString::fromStdString(form->control("Label26").caption), w("Label26")->font(),
                                      w("Label26")->width());
  EXPECT_EQ(e12.size(), 12);
  // The tall narrow buttons show a column of characters.
  EXPECT_EQ(wrapCaption(QString::fromUtf8("返回主界面"), w("fanhui1")->font(), w("fanhui1")->width() - 8).size(), 5);
}

TEST_F(ViewsOnScreen, InformationMessagesBlockTheWindowUntilOk) {
  testing::MessageBoxAnswerer answerer;
  clickOn("W1");
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_TRUE(answerer.seen[0].text.startsWith(QString::fromUtf8("这是一个试用版本")));
  EXPECT_EQ(answerer.seen[0].title, "Kalvori");
  EXPECT_EQ(answerer.seen[0].buttons, 1);
  EXPECT_TRUE(answerer.seen[0].modal);
  clickOn("mp3");
  clickOn("xxx");
  ASSERT_EQ(answerer.seen.size(), 2u);
  EXPECT_TRUE(answerer.seen[1].text.contains(QString::fromUtf8("。         另外")));
}

}  // namespace
}  // namespace kalvori::desktop
