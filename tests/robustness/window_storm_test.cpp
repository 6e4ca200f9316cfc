// Ten thousand random clicks through the real window, offscreen: each a real mouse click at a
// random point of something the model says a user can reach, delivered by Qt to whatever lies on
// top there, with every message box answered. After every click the storm rules hold and the
// widgets mirror the model.
//
// A failure names its seed and click; KALVORI_STORM_SEED=<seed> runs that seed alone.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "desktop/control_widgets.h"
#include "desktop/form_widget.h"
#include "storm_rules.h"
#include "support/fake_media_device.h"
#include "support/qt_helpers.h"
#include "support/temp_folder.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kSeeds = 5;
constexpr int kClicksPerSeed = 2000;

class WindowStorm : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder_ + "/live");
    for (const char* f : {"a.wav", "b.mid", "c.avi", "d.mpg", "e.mp3"}) std::ofstream(folder_ + "/" + f);
  }

  // Runs one seed in a new window; the first fault, with where it happened, or "".
  std::string storm(unsigned seed) {
    testing::RecordingMediaDevice device;
    auto form = createMainWindow(&device, files_, folder_);
    testing::StormRules rules(*form, fixed_);
    FormWidget view(*form, &device, &files_);
    form->load();
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) return "the window is not shown";
    testing::MessageBoxAnswerer answerer;

    std::mt19937 random(seed);
    std::vector<std::string> pool;
    for (const Control& c : form->controls())
      if (c.kind != Kind::Line) pool.push_back(c.name);
    for (int click = 1; click <= kClicksPerSeed; ++click) {
      std::string chosen;
      do chosen = pool[random() % pool.size()];
      while (!form->isReachable(chosen));

      // A random point of the control, and what Qt finds on top there: for a button, the button
      // itself. (Labels lie beneath windowed controls, and frames beneath the option buttons.)
      QWidget* target = view.widgetFor(chosen);
      const QPoint inside(2 + static_cast<int>(random() % std::max(1, target->width() - 4)),
                          2 + static_cast<int>(random() % std::max(1, target->height() - 4)));
      const QPoint at = target->mapTo(&view, inside);
      QWidget* top = view.childAt(at);
      const std::string hit = controlOf(*form, top);
      std::string fault;
      const Kind kind = form->control(chosen).kind;
      if ((kind == Kind::CommandButton || kind == Kind::OptionButton) && top != target)
        fault = chosen + " is reachable, but " + (hit.empty() ? "nothing" : hit) + " lies on top of it";

      const std::size_t answered = answerer.seen.size();
      testing::markStormPosition(seed, click);
      QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, at);
      // A user closes the drive list's drop-down again before clicking elsewhere.
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      QApplication::processEvents();  // the window's own deferred updates

      if (fault.empty()) fault = rules.afterClick(hit);
      for (std::size_t m = answered; m < answerer.seen.size() && fault.empty(); ++m)
        fault = rules.checkMessage(answerer.seen[m].text.toStdString());
      if (fault.empty()) fault = mirrorFault(*form, view);
      if (!fault.empty())
        return "seed " + std::to_string(seed) + " click " + std::to_string(click) + " on " + chosen + ": " + fault +
               "\n  replay: KALVORI_STORM_SEED=" + std::to_string(seed);
      ++clicks_;
      boxes_ += answerer.seen.size() - answered;
      if (testing::viewAfter(hit)) ++viewSwitches_;
    }
    return rules.sweep();
  }

  // The control a widget shows, or belongs to (a list's viewport, a transport button): each
  // control's widget is named after it.
  static std::string controlOf(const Form& form, const QWidget* w) {
    for (; w; w = w->parentWidget())
      if (const std::string name = w->objectName().toStdString(); !name.empty() && form.has(name)) return name;
    return "";
  }

  // Whether every widget shows what the model says: shown or hidden, the value boxes' text and
  // colour, and keyboard focus for exactly the buttons a user can reach.
  static std::string mirrorFault(const Form& form, const FormWidget& view) {
    for (const Control& c : form.controls()) {
      const QWidget* w = view.widgetFor(c.name);
      if (w->isVisible() != form.isShown(c.name))
        return c.name + (w->isVisible() ? " is drawn although hidden" : " is not drawn");
      if (c.kind == Kind::TextBox) {
        const auto* box = static_cast<const QLineEdit*>(w);
        if (box->text().toStdString() != c.text) return c.name + " shows \"" + box->text().toStdString() + "\"";
        if (box->palette().color(QPalette::Base) != drawnColour(c.backColor))
          return c.name + " is drawn in another colour";
      }
      if (c.kind == Kind::CommandButton || c.kind == Kind::OptionButton) {
        if ((w->focusPolicy() != Qt::NoFocus) != form.isReachable(c.name))
          return c.name + (form.isReachable(c.name) ? " takes no keyboard focus" : " takes the focus, unreachable");
      }
    }
    return "";
  }

  testing::TempFolder temp_{"kalvori-storm"};
  std::string folder_ = temp_.path();
  FileBrowser files_;
  std::unique_ptr<Form> design_ = createMainWindow();
  testing::FixedValues fixed_{*design_};
  long clicks_ = 0, boxes_ = 0, viewSwitches_ = 0;
};

TEST_F(WindowStorm, EveryRuleHoldsAndTheWidgetsMirrorTheModel) {
  if (const char* seed = std::getenv("KALVORI_STORM_SEED"); seed && *seed) {
    ASSERT_EQ(storm(static_cast<unsigned>(std::strtoul(seed, nullptr, 10))), "");
    return;
  }
  for (unsigned seed = 1; seed <= kSeeds; ++seed) ASSERT_EQ(storm(seed), "");
  EXPECT_EQ(clicks_, long{kSeeds} * kClicksPerSeed);
  std::printf("%ld clicks survived, %ld of them on view buttons, %ld message boxes answered\n", clicks_, viewSwitches_,
              boxes_);
}

}  // namespace
}  // namespace kalvori::desktop
