// The five modes through real clicks: what each layout shows, from every mode before it, and the
// readings of each mode.
#include "converter/mode_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "converter/modes.h"
#include "marking/band_colour.h"
#include "window/main_window_design.h"
#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

using testing::clickAll;
using Names = std::set<std::string>;

const std::string kTwoBlack = "老大，有没有搞错？前两环不可能都是黑色！！！";
const char* kModes[] = {"r5", "r4", "l4", "c", "tr"};

void addRange(Names& s, const std::string& prefix, int first, int last) {
  for (int n = first; n <= last; ++n) s.insert(prefix + std::to_string(n));
}

// What a mode shows. Two things depend on the modes before it: t1's own flag (only the five-band
// layout sets it, only the capacitor layout clears it) and which of c0 and c04 the printed-code
// modes keep.
Names expectedShown(const std::string& mode, bool t1Flag, const std::string& zeroButton) {
  Names s = {"Frame1", "r5", "r4", "l4", "c", "tr", "W1", "w3", "kkk", "mp3", "ttt", "texing",
             "Label10", "Label11", "Line1", "Line2", "Line3", "Line4"};
  if (mode == "r5") {
    for (const char* col : {"a", "b", "c", "d"}) addRange(s, col, 0, 9);
    s.insert({"e0", "ttr"});
    addRange(s, "t", 1, 10), addRange(s, "kk", 1, 5), addRange(s, "k", 1, 5), addRange(s, "sb", 1, 10);
  } else if (mode == "r4" || mode == "l4") {
    s.insert({"b04", "c04", "e1", "e2", mode == "r4" ? "ttr" : "ttl"});
    addRange(s, "b", 1, 9), addRange(s, "c", 1, 9), addRange(s, mode == "r4" ? "d" : "dl", 0, 9);
    addRange(s, "t", 2, 10), addRange(s, "kk", 2, 5), addRange(s, "k", 2, 5), addRange(s, "sb", 1, 10);
    if (t1Flag) s.insert("t1");
  } else {
    s.insert({zeroButton, "k11", "k12", "k13", mode == "c" ? "ttc" : "ttr"});
    addRange(s, "b", 1, 9), addRange(s, "c", 1, 9), addRange(s, "t", 2, 5), addRange(s, "k", 2, 4);
    if (mode == "c") addRange(s, "dc", 1, 9);
    else addRange(s, "d", 1, 7);
    if (mode == "tr" && t1Flag) s.insert("t1");
  }
  return s;
}

// The caption a shown control must carry in a mode; nullptr where the design caption stands.
std::string expectedCaption(const std::string& mode, const std::string& name) {
  const bool digitMode = mode == "c" || mode == "tr";
  const char col = name[0];
  if ((col == 'b' || col == 'c' || col == 'd') && name.size() >= 2 && std::isdigit(name[1])) {
    const int row = name[1] - '0';
    if (digitMode) return std::string(1, name.back() == '4' && name.size() == 3 ? '0' : name[1]);
    if (col == 'd' && row >= 8) return row == 8 ? "金" : "银";
    return std::string(digitColour(name.size() == 3 ? 0 : row).caption);
  }
  if (name.size() == 3 && name[0] == 'd' && name[1] == 'c') return name.substr(2);  // dc1..dc9, never relabelled
  static const std::map<std::string, std::vector<std::string>> headers = {
      {"r5", {"5环电阻第1环", "5环电阻第2环", "5环电阻第3环", "5环电阻第4环", "5环电阻第5环"}},
      {"r4", {"", "4环电阻第1环", "4环电阻第2环", "4环电阻第3环", "4环电阻第4环"}},
      {"l4", {"", "4环电感第1环", "4环电感第2环", "4环电感第3环", "4环电感第4环"}},
      {"c", {"", "   第一位", "   第二位", "   第三位", ""}},
      {"tr", {"", "   第一位", "   第二位", "   第三位", ""}}};
  if (name.size() == 2 && name[0] == 't' && name[1] >= '1' && name[1] <= '5') return headers.at(mode)[name[1] - '1'];
  return "\x01";  // not checked here
}

class Modes : public ::testing::Test {
 protected:
  void SetUp() override { messages.attach(*form); }

  // Checks that exactly the mode's controls are shown, fresh: empty boxes, empty names, white
  // swatches, and the mode's captions.
  void expectFreshMode(const std::string& mode, bool t1Flag, const std::string& zero) {
    Names shown;
    for (const Control& c : form->controls())
      if (form->isShown(c.name)) shown.insert(c.name);
    EXPECT_EQ(shown, expectedShown(mode, t1Flag, zero));
    for (const std::string& name : shown) {
      SCOPED_TRACE(mode + " " + name);
      const Control& c = form->control(name);
      if (c.kind == Kind::TextBox) {
        EXPECT_EQ(c.text, "");
        if (name.starts_with("kk")) {
          EXPECT_EQ(c.backColor, 0x00FFFFFFu);
        }
      }
      const bool colourName = name.size() >= 2 && name[0] == 't' && std::isdigit(name[1]) && name != "t1" &&
                              std::stoi(name.substr(1)) >= 6;
      const bool codeDigit = name.starts_with("k1") && name.size() == 3;
      if (colourName || codeDigit) {
        EXPECT_EQ(c.caption, "");
      }
      const std::string caption = expectedCaption(mode, name);
      if (caption != "\x01") {
        EXPECT_EQ(c.caption, caption);
      }
      if (c.kind == Kind::OptionButton) {
        EXPECT_EQ(c.value, name == mode);
      }
    }
    EXPECT_FALSE(form->control("dd1").visible);
    EXPECT_FALSE(form->control("dd2").visible);
  }

  // The value row as it reads on the screen: shown digit boxes with the commas between them, then
  // "|" and the suffix.
  std::string reading() {
    auto shownText = [&](const char* box) { return form->isShown(box) ? form->control(box).text : ""; };
    auto comma = [&](const char* dd) { return form->isShown(dd) ? "," : ""; };
    return shownText("k1") + comma("dd1") + shownText("k2") + comma("dd2") + shownText("k3") + "|" +
           form->control("k4").text;
  }

  std::unique_ptr<Form> form = createMainWindow();
  testing::Messages messages;
};

TEST_F(Modes, EachLayoutFromStartAndFromEveryOtherMode) {
  for (const char* from : {"start", "r5", "r4", "l4", "c", "tr"}) {
    for (const char* to : kModes) {
      SCOPED_TRACE(std::string(from) + " -> " + to);
      form = createMainWindow();
      messages = {};
      messages.attach(*form);
      bool t1Flag = true;
      std::string zero = "c0";
      if (std::string(from) != "start") {
        form->click(from);
        if (std::string(from) == "c") t1Flag = false;
        if (std::string(from) == "r4" || std::string(from) == "l4") zero = "c04";
        // Leave an entry behind in every column that is shown.
        for (const char* b : {"a4", "b04", "b7", "c04", "c0", "c3", "d5", "dl2", "dc4", "e0", "e1", "e2", "d1"})
          form->click(b);
      }
      form->click(to);
      if (std::string(to) == "r5") t1Flag = true, zero = "c0";
      if (std::string(to) == "c") t1Flag = false;
      if (std::string(to) == "r4" || std::string(to) == "l4") zero = "c04";
      expectFreshMode(to, t1Flag, zero);
    }
  }
}

TEST_F(Modes, FiveBandLayoutOnTheStartStateChangesOnlyHeadersAndSwatches) {
  const testing::Snapshot start(*form);
  form->click("r5");
  const testing::Changes expected = {
      {"t1.Caption", "5环电阻第1环"},   {"t2.Caption", "5环电阻第2环"},   {"t3.Caption", "5环电阻第3环"},
      {"t4.Caption", "5环电阻第4环"},   {"t5.Caption", "5环电阻第5环"},   {"kk2.BackColor", "0x00FFFFFF"},
      {"kk3.BackColor", "0x00FFFFFF"}, {"kk4.BackColor", "0x00FFFFFF"}};
  EXPECT_EQ(start.changesIn(*form), expected);
}

TEST_F(Modes, LayoutsLeaveWhatTheyDoNotWrite) {
  // Four-band keeps k1's hidden digit; the five-band layout clears it.
  clickAll(*form, {"a3", "b3", "c3", "d3", "e0"});
  form->click("r4");
  EXPECT_EQ(form->control("k1").text, "3");
  EXPECT_FALSE(form->isShown("k1"));
  EXPECT_EQ(form->control("t1").caption, "");
  form->click("r5");
  EXPECT_EQ(form->control("k1").text, "");
  // The printed-code modes leave the swatches and colour names as they were.
  clickAll(*form, {"b2", "c"});
  EXPECT_EQ(form->control("kk2").backColor, 0x000000FFu);
  EXPECT_EQ(form->control("t7").caption, "红");
  // A "0" in k1 hides b0 and c0 until the five-band layout, which ends with them shown.
  form->setText("k1", "0");
  EXPECT_FALSE(form->control("c0").visible);
  form->click("r5");
  EXPECT_TRUE(form->isShown("b0"));
  EXPECT_TRUE(form->isShown("c0"));
}

TEST_F(Modes, ClickingTheSelectedModeStartsAfresh) {
  for (const char* mode : kModes) {
    SCOPED_TRACE(mode);
    form->click(mode);
    clickAll(*form, {"b5", "c6", "d2", "dc2", "dl2", "e1"});
    form->click(mode);
    EXPECT_EQ(form->control("k2").text, "");
    EXPECT_EQ(form->control("k4").text, "");
    EXPECT_FALSE(form->control("dd2").visible);
  }
  // Only tr ignores its Value; the others do nothing when their Value is False.
  form->click("r5");
  const testing::Snapshot before(*form);
  applyLayout(*form, modeLayout("r4"));
  EXPECT_TRUE(before.changesIn(*form).empty());
  applyLayout(*form, modeLayout("tr"));
  EXPECT_FALSE(before.changesIn(*form).empty());
}

TEST_F(Modes, FourBandReadings) {
  form->click("r4");
  clickAll(*form, {"b4", "c7", "d3", "e1"});
  EXPECT_EQ(reading(), "47| k");
  EXPECT_EQ(form->control("k5").text, "误差率＋－5％");
  EXPECT_EQ(form->control("t7").caption + form->control("t8").caption + form->control("t9").caption +
                form->control("t10").caption,
            "黄紫橙金");
  form->click("e2");
  EXPECT_EQ(form->control("k5").text, "误差率＋－10％");
  EXPECT_EQ(form->control("kk5").backColor, 0x00E0E0E0u);
  // A brown multiplier puts the comma left of the first visible digit; red after it.
  form->click("d1");
  EXPECT_EQ(reading(), ",47|0Ω");
  EXPECT_TRUE(form->control("dd1").visible);
  form->click("d2");
  EXPECT_EQ(reading(), "4,7|00Ω");
  // Black may be the first or the second band, not both.
  form->click("r4");
  clickAll(*form, {"b04", "c04"});
  EXPECT_EQ(messages.shown, std::vector<std::string>{kTwoBlack});
  EXPECT_EQ(form->control("k3").text, "");
  form->click("r4");
  clickAll(*form, {"c04", "b04"});
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(form->control("k3").text, "0");
  EXPECT_EQ(form->control("kk2").backColor, 0x00FFFFFFu);
}

TEST_F(Modes, ChipResistorCodeReadings) {
  form->click("tr");
  clickAll(*form, {"b4", "c7", "d2"});
  EXPECT_EQ(form->control("k11").caption + form->control("k12").caption + form->control("k13").caption, "472");
  EXPECT_EQ(reading(), "4,7|00Ω");
  clickAll(*form, {"b1", "c0", "d3"});
  EXPECT_EQ(reading(), "10| k");
  form->click("d1");
  EXPECT_EQ(reading(), ",10|0Ω");
  EXPECT_TRUE(form->control("dd1").visible);
  EXPECT_EQ(form->control("k13").caption, "1");
}

TEST_F(Modes, CapacitorCodeReadings) {
  form->click("c");
  form->click("dc2");  // alone, before any digit
  EXPECT_EQ(form->control("k4").text, "00 pF");
  EXPECT_EQ(form->control("k13").caption, "2");
  EXPECT_TRUE(form->control("dd2").visible);
  clickAll(*form, {"b4", "c7", "dc4"});
  EXPECT_EQ(form->control("k11").caption + form->control("k12").caption + form->control("k13").caption, "474");
  EXPECT_EQ(reading(), ",47|0 nF");
  EXPECT_TRUE(form->control("dd1").visible);
  EXPECT_FALSE(form->control("dd2").visible);
  form->click("dc3");
  EXPECT_EQ(reading(), "47| nF");
  // 470 uF after 4,700 pF: the comma follows the zeros, not the last button.
  clickAll(*form, {"dc2", "dc7"});
  EXPECT_EQ(form->control("k4").text, "0 uF");
  EXPECT_TRUE(form->control("dd1").visible);
  EXPECT_FALSE(form->control("dd2").visible);
  // Third digits 8 and 9 are fractions of a picofarad: 229 is 2.2 pF, 108 is 0.1 pF.
  clickAll(*form, {"dc5", "b2", "c2", "dc9"});
  EXPECT_EQ(reading(), "22|×0.1 pF");
  EXPECT_EQ(form->control("k13").caption, "9");
  EXPECT_FALSE(form->control("dd1").visible || form->control("dd2").visible);
  clickAll(*form, {"dc4", "b1", "c0", "dc8"});
  EXPECT_EQ(reading(), "10|×0.01 pF");
  EXPECT_EQ(form->control("k13").caption, "8");
  EXPECT_FALSE(form->control("dd1").visible || form->control("dd2").visible);
  EXPECT_EQ(form->control("ttc").caption,
            "1,000pF=1nF   1,000nF=1uF   1,000uF=1mF                             1,000mF=1F");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Modes, CapacitorAfterABlackFirstBandOfAFourBandMode) {
  clickAll(*form, {"l4", "b04", "c"});
  ASSERT_TRUE(form->isShown("c04"));
  const testing::Snapshot before(*form);
  form->click("c04");
  EXPECT_EQ(messages.shown, std::vector<std::string>{kTwoBlack});
  EXPECT_TRUE(before.changesIn(*form).empty());
  clickAll(*form, {"b3", "c04"});
  EXPECT_EQ(form->control("k3").text, "0");
  EXPECT_EQ(form->control("k12").caption, "0");
  // After the five-band mode the zero of column c is c0, which never refuses.
  clickAll(*form, {"r5", "a0", "b0", "c"});
  EXPECT_EQ(messages.shown.size(), 2u);  // b0 refused after a0
  form->click("c0");
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(form->control("k3").text, "0");
}

TEST_F(Modes, InductorReadings) {
  form->click("l4");
  clickAll(*form, {"b1", "c04", "dl2", "e1"});
  EXPECT_EQ(reading(), "1,0|00 uH");
  EXPECT_EQ(form->control("k5").text, "误差率＋－5％");
  EXPECT_EQ(form->control("t7").caption + form->control("t8").caption + form->control("t9").caption +
                form->control("t10").caption,
            "棕黑红金");
  form->click("dl8");
  EXPECT_EQ(form->control("k4").text, "×0.1 uH");
  EXPECT_FALSE(form->control("dd2").visible);
  EXPECT_EQ(form->control("kk4").backColor, 0x00C0FFFFu);
  form->click("l4");
  clickAll(*form, {"b04", "c2", "dl1"});
  EXPECT_EQ(form->control("k2").text, "");
  EXPECT_EQ(reading(), ",2|0 uH");
  EXPECT_TRUE(form->control("dd1").visible);
  form->click("dl0");
  EXPECT_EQ(form->control("k4").text, "uH");
  form->click("dl9");
  EXPECT_EQ(form->control("k4").text, "×0.01 uH");
  EXPECT_EQ(form->control("t9").caption, "银");
  // Black then black: the second is refused and band 2 keeps what it had.
  form->click("c04");
  EXPECT_EQ(messages.shown, std::vector<std::string>{kTwoBlack});
  EXPECT_EQ(form->control("k3").text, "2");
  EXPECT_EQ(form->control("t8").caption, "红");
}

// Many random clicks on whatever is shown, in all modes, with the rules that must always hold.
TEST_F(Modes, RandomClicksKeepEveryModeConsistent) {
  std::set<std::string> fixedTexts = {"", "0 pF", "00 pF", " nF", "0 nF", "00 nF", " uF", "0 uF", "×0.01 pF",
                                      "×0.1 pF", "uH", "0 uH", "00 uH", " mH", "0 mH", "00 mH", " H", "0 H",
                                      "×0.1 uH", "×0.01 uH"};
  for (int d = 0; d <= 9; ++d) fixedTexts.insert(std::to_string(d));
  for (const BandColour& b : kBandColours) {
    if (b.suffix) fixedTexts.insert(std::string(*b.suffix));
    if (b.tolerance) fixedTexts.insert(std::string(*b.tolerance));
  }
  std::vector<std::string> clickable;
  for (const Control& c : form->controls())
    if ((c.kind == Kind::CommandButton || c.kind == Kind::OptionButton) && c.parent.empty() && c.name != "W1" &&
        c.name != "w3" && c.name != "mp3" && c.name != "texing")
      clickable.push_back(c.name);
  for (unsigned seed = 1; seed <= 20; ++seed) {
    form = createMainWindow();
    messages = {};
    messages.attach(*form);
    std::mt19937 rng(seed);
    std::string mode = "r5";
    bool t1Flag = true;
    std::string zero = "c0";
    for (int i = 0; i < 2000; ++i) {
      const std::string& name = clickable[rng() % clickable.size()];
      if (!form->isShown(name)) continue;
      form->click(name);
      const std::string where = "seed " + std::to_string(seed) + " click " + std::to_string(i) + " " + name;
      int selected = 0;
      for (const char* m : kModes) selected += form->control(m).value;
      ASSERT_EQ(selected, 1) << where;
      ASSERT_FALSE(form->control("dd1").visible && form->control("dd2").visible) << where;
      for (const Control& c : form->controls())
        if (c.kind == Kind::TextBox && form->isShown(c.name)) {
          ASSERT_TRUE(fixedTexts.count(c.text)) << where;
        }
      if (form->control(name).kind == Kind::OptionButton) {
        mode = name;
        if (mode == "r5") t1Flag = true, zero = "c0";
        if (mode == "c") t1Flag = false;
        if (mode == "r4" || mode == "l4") zero = "c04";
        Names shown;
        for (const Control& c : form->controls())
          if (form->isShown(c.name)) shown.insert(c.name);
        ASSERT_EQ(shown, expectedShown(mode, t1Flag, zero)) << where;
      }
    }
  }
}

// The one table of mode names: the window's option buttons in their order, each with its own layout,
// and a window without one of them is refused at start rather than when the mode is first chosen.
TEST(ModeTable, NamesTheWindowsOptionButtonsEachWithItsLayout) {
  ASSERT_EQ(std::size(kModes), kalvori::kModes.size());
  for (std::size_t i = 0; i < kalvori::kModes.size(); ++i) {
    EXPECT_EQ(kalvori::kModes[i].option, kModes[i]);
    EXPECT_EQ(modeLayout(kalvori::kModes[i].option).option, kModes[i]);
  }
  EXPECT_EQ(partKindOf("c"), PartKind::CapacitorCode);
  EXPECT_EQ(partKindOf(""), PartKind::ResistorBands);
  std::vector<Control> controls = mainWindowControls();
  for (Control& c : controls)
    if (c.name == "l4") c.kind = Kind::CommandButton;
  const Form withoutL4(mainWindowFrame(), std::move(controls));
  EXPECT_THROW(checkModes(withoutL4), std::logic_error);
  EXPECT_NO_THROW(checkModes(*createMainWindow()));
}

}  // namespace
}  // namespace kalvori
