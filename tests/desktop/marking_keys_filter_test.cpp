// Typing and copying on the real window: the focus follows the pressed button, a box's selection
// stays its own, and nothing is typed or copied while a message box is open or a panel covers.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

#include "desktop/qt_handoff.h"
#include "support/open_window.h"
#include "support/qt_helpers.h"

namespace kalvori::desktop {
namespace {

using TypedMarking = testing::OpenWindow;

TEST_F(TypedMarking, KeysPressBandsAndTheReadingIsCopied) {
  const auto key = [this](int k, Qt::KeyboardModifiers m = {}) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : view.get(), Qt::Key(k), m);
  };
  const auto clipboard = [] { return QGuiApplication::clipboard()->text(); };
  w("k2")->setFocus();
  for (char k : std::string_view("10021")) key(k);
  EXPECT_EQ(QApplication::focusWidget(), w("e0"));
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard(), "10,000Ω 误差率＋－1％");
  w("k5")->setFocus();
  static_cast<QLineEdit*>(w("k5"))->selectAll();
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard(), "误差率＋－1％");

  QStringList entries;  // the box's own entries, then the reading
  // An answer from the background that comes while the menu is up waits for the menu to close.
  QObject owner;
  const auto answers = QtHandoff::to(&owner);
  bool answered = false, answeredInMenu = false;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions()) entries << a->text();
    answers->post([&] { answered = true; });
    QApplication::processEvents();
    answeredInMenu = answered;
    menu->actions().last()->trigger();
    menu->close();
  });
  QContextMenuEvent menu(QContextMenuEvent::Keyboard, {2, 2}, w("k2")->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w("k2"), &menu);
  EXPECT_TRUE(entries.size() > 2 && entries.last() == "复制读数") << entries.join('|').toStdString();
  EXPECT_FALSE(answeredInMenu) << "an answer ran inside the menu's loop";
  EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 1000));
  EXPECT_EQ(clipboard(), "10,000Ω 误差率＋－1％");

  testing::MessageBoxAnswerer answerer;
  QTimer meanwhile;  // a key sent to the window while the box is open
  QObject::connect(&meanwhile, &QTimer::timeout, [&] {
    if (!QApplication::activeModalWidget()) return;
    QTest::keyClick(w("a4"), '4');
    meanwhile.stop();
  });
  meanwhile.start(1);
  form->click("W1");
  EXPECT_FALSE(meanwhile.isActive());
  form->click("texing");
  QApplication::processEvents();
  QGuiApplication::clipboard()->setText("kept");
  key('4');
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(form->control("k1").text, "1");
  EXPECT_EQ(clipboard(), "kept");
}

}  // namespace
}  // namespace kalvori::desktop
