// The look-up line on the real window: opened by Ctrl+F or Ctrl+V, answering as the user types,
// showing a value on the window with Enter, and leaving the window as it was with Esc; what was
// typed shown as text, and no more held than the reader reads.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextDocument>
#include <QTimer>

#include "converter/lookup.h"
#include "converter/modes.h"
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

TEST_F(LookupWindow, TypedMarkupShowsAsTextAndARefusalDrawsNoPicture) {
  key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(open());
  auto* label = view->findChild<QLabel*>("lookupAnswer");
  auto* picture = view->findChild<QWidget*>("lookupPicture");
  ASSERT_NE(picture, nullptr);
  for (const char* text : {"<h1>x</h1>", "<img src=/etc/passwd>"}) {
    SCOPED_TRACE(text);
    input()->setText(text);
    EXPECT_TRUE(answer().startsWith("看不懂")) << answer().toStdString();
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    QTextDocument tooltip;
    tooltip.setHtml(label->toolTip());
    EXPECT_EQ(tooltip.toPlainText(), answer());  // every character as it stands: no heading, no image
    EXPECT_FALSE(picture->isVisible());
  }
  // What is understood is drawn where the look-up has a picture of it; blank text draws nothing.
  input()->setText("4k7 5%");
  EXPECT_EQ(picture->isVisible(), lookUp("4k7 5%", selectedMode(*form).value_or("")).picture.has_value());
  input()->clear();
  EXPECT_FALSE(picture->isVisible());
}

// Whatever the line holds, the reader reads: it is counted in UTF-16 units, as the reader counts.
TEST_F(LookupWindow, TheLineHoldsNoMoreThanTheReaderReads) {
  struct Case {
    const char* name;
    QString before;
    int cursor;
    QString pasted;
    QString after;
  };
  const QString yellow = QString::fromUtf8("黄"), emoji = QString::fromUtf8("😀"),
                accented = QString::fromUtf8("e\u0301");
  const Case cases[] = {
      {"a long paste is cut where it ends", "", 0, QString(300, '7'), QString(120, '7')},
      {"a unit a character", "", 0, yellow.repeated(130), yellow.repeated(120)},
      {"never half a surrogate pair", "", 0, "a" + emoji.repeated(60), "a" + emoji.repeated(59)},
      {"never an accent torn from its letter", "", 0, "x" + accented.repeated(70), "x" + accented.repeated(59)},
      {"into the middle: what stood after it stays", "4k7", 0, QString(300, '1'), QString(117, '1') + "4k7"},
  };
  key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(open());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    input()->setText(c.before);
    input()->setCursorPosition(c.cursor);
    QGuiApplication::clipboard()->setText(c.pasted);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(input()->text(), c.after);
    EXPECT_FALSE(answer().contains("太长了")) << answer().toStdString();
  }
  input()->setText(QString(120, '7'));  // a key typed into a full line adds nothing
  input()->setCursorPosition(100);
  QTest::keyClicks(input(), "8");
  EXPECT_EQ(input()->text(), QString(120, '7'));
}

}  // namespace
}  // namespace kalvori::desktop
