// The window without a mouse, offscreen: Tab through what each view shows, the arrow keys among the
// mode options, Space and Enter on buttons, and the message box closed from the keyboard.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "desktop/form_widget.h"
#include "support/fake_media_device.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    device.become(MediaDevice::State::Stopped);  // so that the play button can take the focus
    open();
  }
  void open() {
    view.reset();
    form = createMainWindow();
    view = std::make_unique<FormWidget>(*form, &device);
    form->load();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->widgetFor("a0")->setFocus();
  }
  // The control the focused widget belongs to (the transport row's buttons belong to MMControl1).
  std::string focused() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
      if (form->has(w->objectName().toStdString())) return w->objectName().toStdString();
    return "(none)";
  }
  void press(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return ADD_FAILURE() << "nothing has the keyboard focus";
    QTest::keyClick(target, key);
    QApplication::processEvents();
  }
  void tabTo(const std::string& name) {
    for (int i = 0; i < 200 && focused() != name; ++i) press(Qt::Key_Tab);
    ASSERT_EQ(focused(), name);
  }
  const std::string& text(const char* name) { return form->control(name).text; }
  const std::string& caption(const char* name) { return form->control(name).caption; }

  testing::RecordingMediaDevice device;
  std::unique_ptr<Form> form;
  std::unique_ptr<FormWidget> view;
};

TEST_F(Keyboard, TabVisitsWhatTheViewShowsInTabIndexOrderEachNamed) {
  struct Scene {
    const char* name;
    std::vector<const char*> clicks;
  };
  const Scene scenes[] = {
      {"five-band", {"r5"}},       {"four-band", {"r4"}},   {"inductor", {"l4"}},
      {"capacitor", {"c"}},        {"chip resistor", {"tr"}}, {"player", {"mp3"}},
      {"series over the player", {"mp3", "xilie"}},          {"reference panel", {"texing"}},
  };
  for (const Scene& scene : scenes) {
    SCOPED_TRACE(scene.name);
    open();
    for (const char* c : scene.clicks) form->click(c);
    QApplication::processEvents();
    std::vector<const Control*> reachable;
    for (const Control& c : form->controls())
      if (takesFocus(c.kind) && form->isReachable(c.name)) reachable.push_back(&c);
    std::stable_sort(reachable.begin(), reachable.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::string> expected, visited;
    for (const Control* c : reachable) expected.push_back(c->name);

    view->widgetFor(expected.back())->setFocus();
    for (std::size_t i = 0; i < expected.size(); ++i) {
      press(Qt::Key_Tab);
      visited.push_back(focused());
      // A screen reader names every stop in words, never by the control's internal name.
      if (QAccessibleInterface* stop = QAccessible::queryAccessibleInterface(QApplication::focusWidget())) {
        const QString heard = stop->text(QAccessible::Name);
        EXPECT_FALSE(heard.trimmed().isEmpty()) << focused();
        EXPECT_NE(heard.toStdString(), focused());
      }
    }
    EXPECT_EQ(visited, expected);  // ending where it started: round again
  }
}

TEST_F(Keyboard, ArrowsWalkTheModesAndAFourBandReadingNeedsNoMouse) {
  tabTo("r5");
  // Up and Left go back, Down and Right forward, round from the last mode to the first; each
  // selects its mode as a click does, so its unit hint shows.
  struct Step {
    Qt::Key key;
    const char* option;
    const char* hint;
  };
  const Step walk[] = {
      {Qt::Key_Down, "r4", "ttr"}, {Qt::Key_Down, "l4", "ttl"}, {Qt::Key_Right, "c", "ttc"},
      {Qt::Key_Down, "tr", "ttr"}, {Qt::Key_Down, "r5", "ttr"}, {Qt::Key_Up, "tr", "ttr"},
      {Qt::Key_Left, "c", "ttc"},  {Qt::Key_Up, "l4", "ttl"},   {Qt::Key_Left, "r4", "ttr"},
  };
  for (const Step& step : walk) {
    SCOPED_TRACE(step.option);
    press(step.key);
    EXPECT_EQ(focused(), step.option);
    for (const char* option : {"r5", "r4", "l4", "c", "tr"})
      EXPECT_EQ(form->control(option).value, std::string(option) == step.option) << option;
    for (const char* hint : {"ttr", "ttl", "ttc"})
      EXPECT_EQ(form->isShown(hint), std::string(hint) == step.hint) << hint;
  }
  EXPECT_TRUE(form->isShown("b04"));  // the four-band columns

  // Enter on an option starts its reading afresh, as a click does.
  form->click("b4");
  press(Qt::Key_Return);
  QTest::qWait(200);  // Enter animates the press
  EXPECT_EQ(text("k2"), "");

  // Yellow, violet, red, gold: 4,700 Ω at 5 %, with Space and Enter on the band buttons.
  tabTo("b4");
  press(Qt::Key_Space);
  tabTo("c7");
  press(Qt::Key_Space);
  tabTo("d2");
  press(Qt::Key_Enter);
  QTest::qWait(200);
  tabTo("e1");
  press(Qt::Key_Space);
  EXPECT_EQ(text("k2") + text("k3") + text("k4"), "4700Ω");
  EXPECT_EQ(text("k5"), "误差率＋－5％");
  EXPECT_EQ(caption("t7") + caption("t8") + caption("t9") + caption("t10"), "黄紫红金");
}

// A key held down acts once: the keyboard's repeats press nothing and move nowhere.
TEST_F(Keyboard, AKeyHeldDownOnAButtonOrAnOptionActsOnce) {
  struct Held {
    const char* control;
    Qt::Key key;
    const char* focusAfter;
    int clicks;  // of `control`
  };
  for (const Held& held : {Held{"b4", Qt::Key_Return, "b4", 1}, Held{"r5", Qt::Key_Down, "r4", 0}}) {
    SCOPED_TRACE(held.control);
    tabTo(held.control);
    int clicks = 0;
    auto* button = qobject_cast<QAbstractButton*>(view->widgetFor(held.control));
    const auto counting = QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::keyPress(QApplication::focusWidget(), held.key);
    for (int i = 0; i < 5; ++i) {
      QKeyEvent repeat(QEvent::KeyPress, held.key, Qt::NoModifier, QString(), true);
      QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    }
    QTest::keyRelease(QApplication::focusWidget(), held.key);
    QTest::qWait(250);  // Enter animates the press
    QObject::disconnect(counting);
    EXPECT_EQ(focused(), held.focusAfter);
    EXPECT_EQ(clicks, held.clicks);
  }
}

TEST_F(Keyboard, EscapeOrEnterClosesTheMessageBox) {
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    SCOPED_TRACE(key);
    // Answers the box with the key; clicks OK itself only if the key left the box open, so that a
    // failing test does not wait for ever.
    bool keyed = false, forced = false;
    int polls = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      if (!keyed) {
        keyed = true;
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
      } else if (++polls > 100) {
        forced = true;
        box->button(QMessageBox::Ok)->click();
      }
    });
    answer.start(5);
    tabTo("W1");
    press(Qt::Key_Space);
    EXPECT_TRUE(keyed);
    EXPECT_FALSE(forced);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(view->focusWidget(), view->widgetFor("W1"));  // where the keyboard carries on
    view->activateWindow();  // what the window manager does when the box has gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  }
}

}  // namespace
}  // namespace kalvori::desktop
