// The window on the screen, offscreen: geometry, stacking, clicks, focus order, fonts and messages.
#include "desktop/form_widget.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

#include "desktop/caption_text.h"
#include "desktop/control_widgets.h"
#include "support/open_window.h"
#include "support/qt_helpers.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {

class DesktopWindow : public testing::OpenWindow {
 protected:
  // The widget that takes a click at a point given in the window's twips.
  QWidget* topAt(int x, int y) { return view->canvas()->childAt(px(x), px(y)); }
  QString boxText(const char* name) { return static_cast<QLineEdit*>(w(name))->text(); }
};

TEST_F(DesktopWindow, EveryWidgetStandsAtItsTwipsOverFifteen) {
  EXPECT_EQ(view->canvas()->size(), QSize(785, 553));
  EXPECT_EQ(view->minimumSize(), QSize(785, 553));
  EXPECT_EQ(view->windowTitle(), "Kalvori");
  for (const Control& c : form->controls()) {
    SCOPED_TRACE(c.name);
    const QRect r = view->widgetFor(c.name)->geometry();
    if (c.kind == Kind::Line) {
      EXPECT_EQ(r.left(), std::min(c.line.x1, c.line.x2) / 15);
      EXPECT_EQ(r.top(), std::min(c.line.y1, c.line.y2) / 15);
      EXPECT_TRUE(r.width() == 1 || r.height() == 1);
      continue;
    }
    EXPECT_EQ(r, QRect(px(c.geometry.left), px(c.geometry.top), px(c.geometry.width), px(c.geometry.height)));
    EXPECT_NEAR(r.width() * 15, c.geometry.width, 8);
  }
  EXPECT_EQ(w("a0")->geometry(), QRect(272, 8, 73, 25));
  EXPECT_EQ(w("k4")->geometry(), QRect(408, 440, 249, 57));
}

TEST_F(DesktopWindow, StackingFollowsDesignOrderAndLayers) {
  // Option buttons lie over the frame they are drawn on.
  EXPECT_EQ(topAt(1000, 900), w("r5"));
  // A windowed control lies over a label: the swatch over the bottom of the tall colour name.
  EXPECT_EQ(topAt(4500, 5700), w("kk1"));
  form->setVisible("dd1", true);
  EXPECT_EQ(topAt(4900, 7000), w("k2"));  // k2 over the comma
  EXPECT_EQ(topAt(4720, 7400), w("dd1"));
  // Of two buttons on one spot, the earlier in design order lies on top.
  form->setVisible("b04", true);
  EXPECT_EQ(topAt(5700, 200), w("b04"));
  form->setVisible("e2", true);
  EXPECT_EQ(topAt(10400, 4500), w("e2"));
  form->setVisible("dc5", true);
  EXPECT_EQ(topAt(8800, 120 + 480 * 5 + 50), w("dc5"));
  // The frame zov covers the whole converter.
  form->setVisible("zov", true);
  QWidget* hit = topAt(4200, 200);
  EXPECT_TRUE(hit == w("zov") || w("zov")->isAncestorOf(hit));
  EXPECT_TRUE(w("zov")->isAncestorOf(topAt(11000, 8000)));
}

TEST_F(DesktopWindow, RealClicksUpdateTheOtherWidgets) {
  QTest::mouseClick(w("a1"), Qt::LeftButton);
  QTest::mouseClick(w("b0"), Qt::LeftButton);
  QTest::mouseClick(w("c4"), Qt::LeftButton);
  QTest::mouseClick(w("d5"), Qt::LeftButton);
  EXPECT_EQ(boxText("k1"), "1");
  EXPECT_EQ(boxText("k2"), "0");
  EXPECT_EQ(boxText("k3"), "4");
  EXPECT_EQ(boxText("k4"), "00 k");  // 104,00 k reads 10,400 k
  EXPECT_TRUE(w("dd2")->isVisible());
  EXPECT_FALSE(w("dd1")->isVisible());
  EXPECT_EQ(form->control("t9").caption, "绿");
  // The swatch is painted in the band colour.
  const QImage shot = view->canvas()->grab().toImage();
  const QRect swatch = w("kk1")->geometry();
  EXPECT_EQ(shot.pixelColor(swatch.center()), QColor(192, 64, 0));
  EXPECT_EQ(shot.pixelColor(w("kk3")->geometry().center()), QColor(255, 255, 0));
  // Keyboard: Space and Enter press a focused button.
  w("a7")->setFocus();
  QTest::keyClick(w("a7"), Qt::Key_Space);
  EXPECT_EQ(boxText("k1"), "7");
  w("a6")->setFocus();
  QTest::keyClick(w("a6"), Qt::Key_Return);
  QTest::qWait(200);  // Enter animates the press
  EXPECT_EQ(boxText("k1"), "6");
}

TEST_F(DesktopWindow, TheRefusalAppearsInAModalBoxWithOneOkButton) {
  QTest::mouseClick(w("a0"), Qt::LeftButton);
  testing::MessageBoxAnswerer answerer;
  QTest::mouseClick(w("b0"), Qt::LeftButton);
  ASSERT_EQ(answerer.seen.size(), 1u);
  const testing::SeenMessage& seen = answerer.seen[0];
  EXPECT_EQ(seen.text, QString::fromUtf8("老大，有没有搞错？前两环不可能都是黑色！！！"));
  EXPECT_EQ(seen.title, "Kalvori");
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_TRUE(seen.modal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // closed again
  EXPECT_EQ(boxText("k2"), "");
}

TEST_F(DesktopWindow, FocusFollowsTabIndexAndSkipsLabels) {
  EXPECT_EQ(w("a0")->nextInFocusChain(), w("a1"));
  EXPECT_EQ(w("a1")->nextInFocusChain(), w("k1"));
  EXPECT_EQ(w("k1")->nextInFocusChain(), w("a2"));
  EXPECT_EQ(w("d7")->nextInFocusChain(), w("e0"));
  for (const char* label : {"t6", "Label10", "sb3", "Frame1", "Line1"})
    EXPECT_EQ(w(label)->focusPolicy(), Qt::NoFocus) << label;
  EXPECT_EQ(w("a0")->accessibleName(), QString::fromUtf8("黑      0"));
  EXPECT_EQ(w("kk1")->accessibleName(), QString::fromUtf8("五环电阻第1环颜色"));  // named by its band heading
  form->click("a5");
  static_cast<QLineEdit*>(w("k1"))->selectAll();
  EXPECT_EQ(static_cast<QLineEdit*>(w("k1"))->selectedText(), "5");  // display boxes can be copied from
  EXPECT_TRUE(static_cast<QLineEdit*>(w("k1"))->isReadOnly());
}

TEST_F(DesktopWindow, ChineseIsDrawnWithACjkFace) {
  const QFont font = w("r5")->font();
  const QFontInfo info(font);
  EXPECT_TRUE(info.family().contains("CJK") || info.family().contains("SimSun") || info.family().contains("Ming"))
      << info.family().toStdString();
  for (const char* text : {"五环色标标识的电阻阻值", "老大，有没有搞错？", "误差率＋－1％", "Ω×"}) {
    for (QChar ch : QString::fromUtf8(text)) EXPECT_TRUE(QFontMetrics(font).inFontUcs4(ch.unicode())) << text;
  }
  EXPECT_EQ(w("k1")->font().pixelSize(), 48);
  EXPECT_EQ(w("t1")->font().pixelSize(), 12);
  EXPECT_TRUE(w("t1")->font().bold());
  EXPECT_EQ(w("W1")->font().pixelSize(), 11);  // the window's font
}

TEST(CaptionText, WrapsAtBlanksAndBetweenCjkAndKeepsRunsOfBlanks) {
  QFont song = fontFor(Font{975, true});
  EXPECT_EQ(wrapCaption(QString::fromUtf8("黑      0"), song, 65), QStringList{QString::fromUtf8("黑      0")});
  const QStringList column = wrapCaption(QString::fromUtf8("返回主界面"), fontFor(Font{1575, true}), 41);
  EXPECT_EQ(column.size(), 5);
  const QStringList e12 = wrapCaption("1.0  1.2  1.5  1.8  2.2  2.7  3.3  3.9  4.7  5.6  6.8  8.2", song, 25);
  ASSERT_EQ(e12.size(), 12);
  EXPECT_EQ(e12.front(), "1.0  ");
  EXPECT_EQ(e12.back(), "8.2");
  const QStringList twoLines = wrapCaption(QString::fromUtf8("电阻阻值表格"), song, 41);
  EXPECT_EQ(twoLines, (QStringList{QString::fromUtf8("电阻阻"), QString::fromUtf8("值表格")}));
}

}  // namespace
}  // namespace kalvori::desktop
