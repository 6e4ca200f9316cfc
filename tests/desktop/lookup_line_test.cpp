// The look-up line on the real window: opened by Ctrl+F or Ctrl+V, answering as the user types,
// showing a value on the window with Enter, and leaving the window as it was with Esc.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include "converter/value_reading.h"
#include "support/form_state.h"
#include "support/open_window.h"

namespace kalvori::desktop {
namespace {

class LookupWindow : public testing::OpenWindow {
 protected:
  void key(int k, Qt::KeyboardModifiers m = {}) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : view.get(), Qt::Key(k), m);
  }
  QLineEdit* input() const { return view->findChild<QLineEdit*>("lookupInput"); }
  QString answer() const { return view->findChild<QLabel*>("lookupAnswer")->accessibleName(); }
  bool open() const { return input() && input()->isVisible() && input()->hasFocus(); }
  static QString clipboard() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(LookupWindow, TypedValueIsAnsweredShownWithEnterAndEscChangesNothing) {
  EXPECT_EQ(input(), nullptr);  // nothing is made before it is first asked for
  w("k2")->setFocus();
  const testing::Snapshot before(*form);
  key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(open());
  EXPECT_EQ(input()->accessibleName(), "查数值");

  QTest::keyClicks(input(), "4k7 5%");
  EXPECT_EQ(input()->text(), "4k7 5%");  // the digits went into the line, not onto the band buttons
  EXPECT_TRUE(answer().remove(' ').contains("黄紫红金")) << answer().toStdString();
  EXPECT_EQ(input()->accessibleDescription(), answer());  // a screen reader hears it where the keyboard is
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard(), answer());

  key(Qt::Key_Escape);
  EXPECT_FALSE(input()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), w("k2"));
  EXPECT_EQ(before.changesIn(*form), testing::Changes{});

  key(Qt::Key_F, Qt::ControlModifier);  // the text it held comes back, selected
  ASSERT_TRUE(open());
  EXPECT_EQ(input()->selectedText(), "4k7 5%");
  key(Qt::Key_Return);
  EXPECT_FALSE(input()->isVisible());
  EXPECT_TRUE(form->control("r4").value);
  EXPECT_EQ(ValueReading(*form).text(), "4,700Ω 误差率＋－5％");
  for (auto [label, colour] : {std::pair{"t7", "黄"}, {"t8", "紫"}, {"t9", "红"}, {"t10", "金"}})
    EXPECT_EQ(form->control(label).caption, colour) << label;
  key(Qt::Key_C, Qt::ControlModifier);  // the window's reading, as if the buttons had been clicked
  EXPECT_EQ(clipboard(), "4,700Ω 误差率＋－5％");
}

TEST_F(LookupWindow, PasteOpensItWithTheClipboardsFirstLineAndAnUnshowableValueChangesNothing) {
  w("a0")->setFocus();
  QGuiApplication::clipboard()->setText("\n   4.75k 5% \nsecond line");
  key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(open());
  EXPECT_EQ(input()->text(), "4.75k 5%");
  EXPECT_TRUE(answer().contains("4.75 kΩ")) << answer().toStdString();
  const testing::Snapshot before(*form);
  key(Qt::Key_Return);  // no mode's buttons show three digits at ±5 %: the line stays, the window too
  EXPECT_TRUE(open());
  EXPECT_EQ(before.changesIn(*form), testing::Changes{});

  QGuiApplication::clipboard()->setText(QString(500, '7'));  // a paste longer than any value is cut
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_LE(input()->text().size(), 200);
  EXPECT_TRUE(input()->text().startsWith("4.75k 5%7"));

  // "查数值…" in the value row's menu opens it too, with the keyboard in it.
  key(Qt::Key_Escape);
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
      if (a->text() == "查数值…") a->trigger();
    menu->close();
  });
  QContextMenuEvent menu(QContextMenuEvent::Keyboard, {2, 2}, w("k2")->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w("k2"), &menu);
  view->activateWindow();  // as the desktop does when a menu closes; offscreen, nothing does
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  EXPECT_TRUE(open());

  // A click elsewhere closes it; with a panel over the converter it does not open.
  QTest::mouseClick(w("texing"), Qt::LeftButton);
  EXPECT_TRUE(form->isShown("F2"));
  EXPECT_FALSE(input()->isVisible());
  key(Qt::Key_F, Qt::ControlModifier);
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_FALSE(input()->isVisible());
}

}  // namespace
}  // namespace kalvori::desktop
