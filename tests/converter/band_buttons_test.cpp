// The colour buttons through real clicks on the whole window, checked as whole-state changes.
#include "converter/band_buttons.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "marking/band_colour.h"
#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

using testing::Changes;
using testing::clickAll;
using testing::Snapshot;

const std::string kTwoBlack = "老大，有没有搞错？前两环不可能都是黑色！！！";

class BandButtons : public ::testing::Test {
 protected:
  void SetUp() override { messages.attach(*form); }
  std::unique_ptr<Form> form = createMainWindow();
  testing::Messages messages;
};

TEST_F(BandButtons, FiveBandBrownBlackBlackRedBrownReadsTenThousandOhms) {
  const Snapshot start(*form);
  clickAll(*form, {"a1", "b0", "c0", "d2", "e0"});
  const Changes expected = {
      {"k1.Text", "1"},          {"kk1.BackColor", "0x000040C0"}, {"t6.Caption", "棕"},
      {"k2.Text", "0"},          {"kk2.BackColor", "0x00000000"}, {"t7.Caption", "黑"},
      {"k3.Text", "0"},          {"kk3.BackColor", "0x00000000"}, {"t8.Caption", "黑"},
      {"k12.Caption", "0"},      {"k4.Text", "00Ω"},              {"kk4.BackColor", "0x000000FF"},
      {"t9.Caption", "红"},      {"dd2.Visible", "True"},         {"k13.Caption", "2"},
      {"kk5.BackColor", "0x000040C0"}, {"t10.Caption", "棕"},     {"k5.Text", "误差率＋－1％"},
  };
  EXPECT_EQ(start.changesIn(*form), expected);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BandButtons, FiveBandLeadingBlackLeavesTheFirstBoxEmpty) {
  const Snapshot start(*form);
  clickAll(*form, {"a0", "b1", "c0", "d0", "e0"});
  const Changes expected = {
      {"kk1.BackColor", "0x00000000"}, {"t6.Caption", "黑"},   // k1 stays empty: 10Ω
      {"k2.Text", "1"},           {"kk2.BackColor", "0x000040C0"}, {"t7.Caption", "棕"}, {"k11.Caption", "1"},
      {"k3.Text", "0"},           {"kk3.BackColor", "0x00000000"}, {"t8.Caption", "黑"}, {"k12.Caption", "0"},
      {"k4.Text", "Ω"},           {"kk4.BackColor", "0x00000000"}, {"t9.Caption", "黑"},
      {"kk5.BackColor", "0x000040C0"}, {"t10.Caption", "棕"},  {"k5.Text", "误差率＋－1％"},
  };
  EXPECT_EQ(start.changesIn(*form), expected);
}

TEST_F(BandButtons, TwoBlackLeadingBandsAreRefusedAndNothingChanges) {
  // At start neither partner swatch is black (kk2 has a text box's own colour, kk1 is white).
  form->click("b0");
  Snapshot before(*form);
  form->click("a0");
  EXPECT_EQ(messages.shown, std::vector<std::string>{kTwoBlack});
  EXPECT_TRUE(before.changesIn(*form).empty());

  // The other order: black first band, then black second band.
  form = createMainWindow();
  messages = {};
  messages.attach(*form);
  form->click("a0");
  before = Snapshot(*form);
  form->click("b0");
  EXPECT_EQ(messages.shown, std::vector<std::string>{kTwoBlack});
  EXPECT_TRUE(before.changesIn(*form).empty());

  // Changing the first band away from black lets the second be black.
  form->click("a2");
  form->click("b0");
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(form->control("k2").text, "0");
  // A black third band is always accepted.
  form->click("c0");
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(BandButtons, FourBandBlackButtonsGuardEachOther) {
  for (const char* b : {"b04", "c04"}) form->setVisible(b, true);
  const Snapshot start(*form);
  clickAll(*form, {"b04", "c04"});  // b04 first: accepted; c04 then finds kk2 black
  EXPECT_EQ(messages.shown, std::vector<std::string>{kTwoBlack});
  const Changes firstOnly = {{"kk2.BackColor", "0x00000000"}, {"t7.Caption", "黑"}};  // k2 stays empty, k11 untouched
  EXPECT_EQ(start.changesIn(*form), firstOnly);

  form->click("b7");
  form->click("c04");
  EXPECT_EQ(form->control("k3").text, "0");
  EXPECT_EQ(form->control("k12").caption, "0");
  EXPECT_EQ(form->control("kk3").backColor, 0u);
  form->click("b04");  // now kk3 is black
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(form->control("k2").text, "7");
}

TEST_F(BandButtons, MultiplierColumnWritesSuffixSwatchNameCommasAndCode) {
  struct Case {
    const char* button;
    const char* suffix;
    bool dd1, dd2;
    const char* code;  // k13 after the click; "5" was there before
  };
  const Case cases[] = {{"d0", "Ω", false, false, "5"},     {"d1", "0Ω", true, false, "1"},
                        {"d2", "00Ω", false, true, "2"},    {"d3", " k", false, false, "3"},
                        {"d4", "0 k", true, false, "4"},    {"d5", "00 k", false, true, "5"},
                        {"d6", " M", false, false, "6"},    {"d7", "0 M", true, false, "7"},
                        {"d8", "×0.1Ω", false, false, "5"}, {"d9", "×0.01Ω", false, false, "5"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    form->click("d5");  // both commas set differently, k13 "5"
    form->click("d4");
    form->setCaption("k13", "5");
    form->click(c.button);
    EXPECT_EQ(form->control("k4").text, c.suffix);
    EXPECT_EQ(form->control("dd1").visible, c.dd1);
    EXPECT_EQ(form->control("dd2").visible, c.dd2);
    EXPECT_EQ(form->control("k13").caption, c.code);
    const int row = c.button[1] - '0';
    EXPECT_EQ(form->control("kk4").backColor, bandColour(multiplierRow(row)).swatch);
    EXPECT_EQ(form->control("t9").caption, bandColour(multiplierRow(row)).name);
  }
}

TEST_F(BandButtons, WritesHappenInTheirOrder) {
  std::vector<std::string> writes;
  form->setPropertyListener([&](const Control& c, Property) { writes.push_back(c.name); });
  form->click("d7");
  EXPECT_EQ(writes, (std::vector<std::string>{"k4", "kk4", "t9", "dd1", "k13"}));  // dd2 was already hidden
  writes.clear();
  form->click("e1");  // hidden at start: nothing
  form->click("e0");
  EXPECT_EQ(writes, (std::vector<std::string>{"kk5", "t10", "k5"}));
  writes.clear();
  form->click("a4");  // k1's Change runs inside the write, before the swatch
  EXPECT_EQ(writes, (std::vector<std::string>{"k1", "kk1", "t6"}));
}

TEST_F(BandButtons, ZeroInK1HidesTheBlackButtonsOfColumnsBAndC) {
  std::vector<std::string> writes;
  form->setPropertyListener([&](const Control& c, Property) { writes.push_back(c.name); });
  form->setText("k1", "0");
  EXPECT_EQ(writes, (std::vector<std::string>{"k1", "b0", "c0"}));
  EXPECT_FALSE(form->isShown("b0"));
  EXPECT_FALSE(form->isShown("c0"));
  form->click("a3");
  EXPECT_TRUE(form->isShown("b0"));
  EXPECT_TRUE(form->isShown("c0"));
}

TEST_F(BandButtons, TheCommaRule) {
  EXPECT_TRUE(commasFor("0 pF").dd1);
  EXPECT_TRUE(commasFor("00 uH").dd2);
  EXPECT_FALSE(commasFor("00 uH").dd1);
  EXPECT_FALSE(commasFor("uH").dd1 || commasFor("uH").dd2);
  EXPECT_FALSE(commasFor("×0.1Ω").dd1 || commasFor("×0.1Ω").dd2);
}

// Many random clicks on whatever is shown: nothing crashes and every box holds a fixed text.
TEST_F(BandButtons, RandomClicksOnlyEverShowFixedTexts) {
  std::set<std::string> allowed = {"", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  std::set<std::string> names = {""};
  std::set<OleColor> swatches = {0x00FFFFFF, sys::window};
  for (const BandColour& b : kBandColours) {
    if (b.suffix) allowed.insert(std::string(*b.suffix));
    if (b.tolerance) allowed.insert(std::string(*b.tolerance));
    names.insert(std::string(b.name));
    swatches.insert(b.swatch);
  }
  std::vector<std::string> buttons;
  for (const Control& c : form->controls())
    if (c.kind == Kind::CommandButton && c.parent.empty() && c.name != "W1" && c.name != "w3" && c.name != "mp3" &&
        c.name != "texing" && c.name != "kkk" && c.name != "ttt")
      buttons.push_back(c.name);
  const unsigned seed = 20261208;
  std::mt19937 rng(seed);
  for (int i = 0; i < 20000; ++i) {
    const std::string& b = buttons[rng() % buttons.size()];
    form->click(b);
    for (const char* box : {"k1", "k2", "k3", "k4", "k5"})
      ASSERT_TRUE(allowed.count(form->control(box).text)) << "seed " << seed << " click " << i << " " << b;
    for (const char* label : {"t6", "t7", "t8", "t9", "t10"})
      ASSERT_TRUE(names.count(form->control(label).caption)) << "seed " << seed << " click " << i;
    for (const char* swatch : {"kk1", "kk2", "kk3", "kk4", "kk5"})
      ASSERT_TRUE(swatches.count(form->control(swatch).backColor)) << "seed " << seed << " click " << i;
    ASSERT_FALSE(form->control("dd1").visible && form->control("dd2").visible);
  }
}

}  // namespace
}  // namespace kalvori
