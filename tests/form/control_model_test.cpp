// The window model's own rules, on a small form made for the purpose.
#include "form/control_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/form_state.h"
#include "form/design_data.h"

namespace kalvori {
namespace {

using design::button;
using design::label;

// Controls of one parent stand side by side, so that none covers another unless a test says so.
Geometry place(int slot) { return {slot * 400, 0, 300, 300}; }

Control frame(std::string name, std::string parent, bool visible) {
  Control c = label(std::move(name), std::move(parent), {0, 1000, 4000, 2000}, "", sys::desktop, sys::buttonText,
                    {}, 0, visible);
  c.kind = Kind::Frame;
  return c;
}
Control option(std::string name, std::string parent, bool selected, int slot) {
  Control c = button(std::move(name), std::move(parent), place(slot), "", sys::buttonFace, {}, 0);
  c.kind = Kind::OptionButton;
  c.value = selected;
  return c;
}
Control textBox(std::string name, int slot) {
  Control c = label(std::move(name), "", place(slot), "", sys::window, sys::windowText, {}, 0);
  c.kind = Kind::TextBox;
  return c;
}

std::unique_ptr<Form> smallForm() {
  std::vector<Control> controls;
  controls.push_back(frame("outer", "", false));
  controls.push_back(frame("inner", "outer", true));
  controls.push_back(button("deep", "inner", place(0), "deep", sys::buttonFace, design::pt9, 3));
  controls.push_back(button("hiddenDeep", "inner", place(1), "", sys::buttonFace, {}, 4, false));
  controls.push_back(button("top", "", place(0), "top", sys::buttonFace, {}, 5));
  controls.push_back(option("o1", "", true, 1));
  controls.push_back(option("o2", "", false, 2));
  controls.push_back(option("o3", "", false, 3));
  controls.push_back(option("f1", "outer", true, 1));
  controls.push_back(option("f2", "outer", false, 2));
  controls.push_back(textBox("box", 4));
  controls.push_back(textBox("other", 5));
  return std::make_unique<Form>(Form::Window{"W", 0x00808000, design::pt8_25, 4000, 3000}, std::move(controls));
}

TEST(ControlModel, VisibilityFollowsFramesWithoutTouchingOwnFlags) {
  auto form = smallForm();
  EXPECT_TRUE(form->control("deep").visible);
  EXPECT_FALSE(form->isShown("deep"));  // outer frame hidden
  EXPECT_FALSE(form->isShown("inner"));
  form->setVisible("outer", true);
  EXPECT_TRUE(form->isShown("inner"));
  EXPECT_TRUE(form->isShown("deep"));
  EXPECT_FALSE(form->isShown("hiddenDeep"));  // its own flag is False
  form->setVisible("inner", false);
  EXPECT_FALSE(form->isShown("deep"));
  EXPECT_TRUE(form->control("deep").visible);
  // A frame flagged visible while its own frame was hidden appears with it.
  form->setVisible("outer", false);
  form->setVisible("inner", true);
  EXPECT_FALSE(form->isShown("deep"));
  form->setVisible("outer", true);
  EXPECT_TRUE(form->isShown("inner"));
  EXPECT_TRUE(form->isShown("deep"));
}

TEST(ControlModel, ClicksOnControlsNotShownDoNothing) {
  auto form = smallForm();
  int clicks = 0;
  form->on("deep", Event::Click, [&](Form&) { ++clicks; });
  form->click("deep");
  EXPECT_EQ(clicks, 0);
  form->setVisible("outer", true);
  form->click("deep");
  EXPECT_EQ(clicks, 1);
}

TEST(ControlModel, OptionButtonsFormOneGroupPerParent) {
  auto form = smallForm();
  form->setVisible("outer", true);
  std::vector<std::string> clicked;
  for (const char* n : {"o1", "o2", "o3", "f1", "f2"})
    form->on(n, Event::Click, [&clicked, n](Form& f) {
      // Inside its Click the option is already the selected one.
      EXPECT_TRUE(f.control(n).value);
      clicked.push_back(n);
    });
  form->click("o3");
  EXPECT_FALSE(form->control("o1").value);
  EXPECT_FALSE(form->control("o2").value);
  EXPECT_TRUE(form->control("o3").value);
  // The group inside the frame is a group of its own.
  EXPECT_TRUE(form->control("f1").value);
  form->click("f2");
  EXPECT_TRUE(form->control("o3").value);
  EXPECT_FALSE(form->control("f1").value);
  // Clicking the selected option raises Click again and keeps it selected.
  form->click("o3");
  EXPECT_TRUE(form->control("o3").value);
  EXPECT_EQ(clicked, (std::vector<std::string>{"o3", "f2", "o3"}));
}

TEST(ControlModel, CommandButtonValueIsTrueOnlyDuringItsOwnClick) {
  auto form = smallForm();
  bool seen = false;
  form->on("top", Event::Click, [&](Form& f) { seen = f.control("top").value; });
  EXPECT_FALSE(form->control("top").value);
  form->click("top");
  EXPECT_TRUE(seen);
  EXPECT_FALSE(form->control("top").value);
}

TEST(ControlModel, TextWriteRaisesChangeBeforeItReturnsAndOnlyWhenItChanges) {
  auto form = smallForm();
  std::vector<std::string> log;
  form->on("box", Event::Change, [&](Form& f) {
    log.push_back("change:" + f.control("box").text);
    f.setText("other", "from change");
  });
  form->on("top", Event::Click, [&](Form& f) {
    f.setText("box", "a");
    log.push_back("after write, other=" + f.control("other").text);
    f.setText("box", "a");  // same text: no Change
    f.setText("box", "");
  });
  form->click("top");
  EXPECT_EQ(log, (std::vector<std::string>{"change:a", "after write, other=from change", "change:"}));
}

TEST(ControlModel, ListenerHearsEveryChangeInOrder) {
  auto form = smallForm();
  std::vector<std::string> heard;
  form->setPropertyListener([&](const Control& c, Property p) {
    heard.push_back(c.name + ":" + std::to_string(static_cast<int>(p)));
  });
  form->setCaption("top", "x");
  form->setCaption("top", "x");  // no change, nothing heard
  form->setBackColor("box", 0);
  form->setVisible("deep", false);
  form->click("o2");
  EXPECT_EQ(heard, (std::vector<std::string>{"top:0", "box:2", "deep:3", "o1:4", "o2:4"}));
}

TEST(ControlModel, ProgrammingErrorsFailLoudly) {
  auto form = smallForm();
  EXPECT_THROW(form->control("nope"), std::logic_error);
  EXPECT_THROW(form->setText("nope", "x"), std::logic_error);
  EXPECT_THROW(form->click("nope"), std::logic_error);
  EXPECT_THROW(form->on("nope", Event::Click, [](Form&) {}), std::logic_error);
  form->on("top", Event::Click, [](Form&) {});
  EXPECT_THROW(form->on("top", Event::Click, [](Form&) {}), std::logic_error);
  EXPECT_THROW(form->set("top", Property::Caption, true), std::bad_variant_access);

  std::vector<Control> orphan{button("b", "missing", {}, "", sys::buttonFace, {}, 0)};
  EXPECT_THROW(Form(Form::Window{}, std::move(orphan)), std::logic_error);
  std::vector<Control> twice{button("b", "", {}, "", sys::buttonFace, {}, 0),
                             button("b", "", {}, "", sys::buttonFace, {}, 1)};
  EXPECT_THROW(Form(Form::Window{}, std::move(twice)), std::logic_error);
}

TEST(ControlModel, FontsComeFromTheNearestContainer) {
  auto form = smallForm();
  EXPECT_EQ(form->effectiveFont("deep"), design::pt9);
  EXPECT_EQ(form->effectiveFont("hiddenDeep"), design::pt8_25);  // frames without a font: the window's
  EXPECT_EQ((Font{825, false}.pixelSize()), 11);
  EXPECT_EQ((Font{975, true}.pixelSize()), 13);
  EXPECT_EQ((Font{2775, true}.pixelSize()), 37);
  EXPECT_EQ((Font{3600, false}.pixelSize()), 48);
}

TEST(ControlModel, MessagesGoToTheSink) {
  auto form = smallForm();
  form->showMessage("lost quietly without a sink");
  testing::Messages messages;
  messages.attach(*form);
  form->showMessage("你好");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"你好"});
}

TEST(ControlModel, DrawnColours) {
  EXPECT_EQ(drawnRgb(0x000000FF), 0xFF0000u);  // red in the low byte
  EXPECT_EQ(drawnRgb(0x00FF0000), 0x0000FFu);
  EXPECT_EQ(drawnRgb(0x00808000), 0x008080u);  // teal
  EXPECT_EQ(drawnRgb(sys::desktop), 0x008080u);
  EXPECT_EQ(drawnRgb(sys::highlightText), 0xFFFFFFu);
  EXPECT_EQ(drawnRgb(sys::buttonFace), 0xC0C0C0u);
  EXPECT_EQ(drawnRgb(sys::window), 0xFFFFFFu);
  EXPECT_EQ(drawnRgb(sys::buttonText), 0x000000u);
}

}  // namespace
}  // namespace kalvori
