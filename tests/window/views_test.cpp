// The three views and the information messages, through clicks on the whole window.
#include "window/views.h"

#include <gtest/gtest.h>

#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

using testing::Changes;
using testing::clickAll;
using testing::Snapshot;

enum class View { Converter, Player, Reference };

class Views : public ::testing::Test {
 protected:
  void SetUp() override { messages.attach(*form); }
  View view() const {
    if (!form->control("zov").visible) return View::Converter;
    return form->control("F2").visible ? View::Reference : View::Player;
  }
  // The own flags of the five controls that entering the player shows and leaving it hides.
  std::string playerFlags() const {
    std::string s;
    for (const char* c : {"MMControl1", "f1", "Drive1", "Dir1", "File1"}) s += form->control(c).visible ? "1" : "0";
    return s;
  }
  std::unique_ptr<Form> form = createMainWindow();
  testing::Messages messages;
};

TEST_F(Views, LoadOnlySetsTheDeviceType) {
  const Snapshot start(*form);
  form->load();
  EXPECT_EQ(start.changesIn(*form), (Changes{{"MMControl1.DeviceType", "MPEGVideo"}}));
  EXPECT_EQ(view(), View::Converter);
}

TEST_F(Views, EveryButtonOfEveryViewLeadsWhereItShould) {
  struct Step {
    const char* click;
    View view;
    const char* playerFlags;
    bool f2Flag;
  };
  // From start: reference, player, reference, converter, reference, player, converter, player.
  const Step tour[] = {
      {"texing", View::Reference, "00000", true},   // before the player was ever opened
      {"fanhui2", View::Player, "11111", false},    // shows the player with all its controls
      {"xilie", View::Reference, "11111", true},
      {"fanhui1", View::Converter, "11111", false},  // leaves the player's own flags alone
      {"texing", View::Reference, "11111", true},
      {"fanhui2", View::Player, "11111", false},
      {"f1", View::Converter, "00000", false},       // leaves F2's flag as it was
      {"mp3", View::Player, "11111", false},
  };
  for (const Step& s : tour) {
    SCOPED_TRACE(s.click);
    form->click(s.click);
    EXPECT_EQ(view(), s.view);
    EXPECT_EQ(playerFlags(), s.playerFlags);
    EXPECT_EQ(form->control("F2").visible, s.f2Flag);
  }
  // f1 after xilie... is not possible: F2 covers f1. From the reference view only its own buttons act.
  form->click("xilie");
  const Snapshot reference(*form);
  for (const char* covered : {"f1", "xilie", "xxx", "mp3", "texing", "W1", "kkk", "a1", "r4"}) form->click(covered);
  EXPECT_TRUE(reference.changesIn(*form).empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Views, TheWritesOfEachButtonInOrder) {
  std::vector<std::string> writes;
  form->setPropertyListener([&](const Control& c, Property p) {
    if (p == Property::Visible) writes.push_back(c.name + (c.visible ? "+" : "-"));
  });
  form->click("mp3");
  EXPECT_EQ(writes, (std::vector<std::string>{"zov+", "MMControl1+", "f1+", "Drive1+", "Dir1+", "File1+", "F2-"}));
  writes.clear();
  form->click("f1");
  EXPECT_EQ(writes, (std::vector<std::string>{"MMControl1-", "f1-", "Drive1-", "Dir1-", "File1-", "zov-"}));
  writes.clear();
  form->click("texing");
  EXPECT_EQ(writes, (std::vector<std::string>{"zov+", "F2+"}));
  writes.clear();
  form->click("fanhui1");
  EXPECT_EQ(writes, (std::vector<std::string>{"F2-", "zov-"}));
}

TEST_F(Views, WhatEachViewLetsTheUserReach) {
  auto reachable = [&](std::initializer_list<const char*> names) {
    for (const char* n : names) EXPECT_TRUE(form->isReachable(n)) << n;
  };
  auto unreachable = [&](std::initializer_list<const char*> names) {
    for (const char* n : names) EXPECT_FALSE(form->isReachable(n)) << n;
  };
  reachable({"a0", "kkk", "ttt", "mp3", "texing", "W1", "w3", "r5", "Label10"});
  unreachable({"xxx", "fanhui1", "b04"});
  form->click("mp3");
  reachable({"xxx", "xilie", "f1", "File1", "Dir1", "Drive1", "MMControl1", "Label2"});
  unreachable({"a0", "kkk", "ttt", "texing", "r5", "Frame1", "Label10", "fanhui1", "fanhui2"});
  form->click("xilie");
  reachable({"fanhui1", "fanhui2", "Label25", "Line7"});
  unreachable({"xxx", "xilie", "f1", "File1", "a0", "kkk"});
}

TEST_F(Views, InformationMessagesWordForWord) {
  clickAll(*form, {"W1", "w3", "mp3", "xxx"});
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0], "这是一个试用版本，在只会一点分支语句的艰苦条件下，历经十好几个小时完成的。高手见笑了!");
  EXPECT_EQ(messages.shown[1],
            "感谢qorvi的电子爱好者网站以及电子爱好者网站里的众位高手对我的无私帮助！我还想再编一些有助于大家提高效率的"
            "更实用的程序，比如一些电路的基本参数的计算，希望大家能够喜欢。再次感谢大家！");
  EXPECT_EQ(messages.shown[2],
            "主要支持的文件格式：*.mp3； *.avi； *.mpga； *.mpg； *.wav； *.mid。"
            "         "  // nine blanks
            "另外：这是一个后台程序，比如播放mp3音乐时，点击返回按钮，音乐不会停止，可以和前台程序一同运行，不会占用您过多的"
            "系统资源。");
}

TEST_F(Views, ReferencePanelDesign) {
  std::vector<std::string> order;
  for (const Control& c : form->controls())
    if (c.parent == "F2") order.push_back(c.name);
  const std::vector<std::string> expected = {
      "fanhui2", "fanhui1", "Label32", "Label31", "Label30", "Label29", "Line19", "Line18", "Line17", "Line5",
      "Line6",   "Line7",   "Line8",   "Line9",   "Line10",  "Line11",  "Line12", "Line13", "Label25", "Label26",
      "Label27", "Line14",  "Line15",  "Line16",  "Label28", "Label12", "Label13", "Label24", "Label22", "Label23",
      "Label21", "Label20", "Label19", "Label18", "Label17", "Label16", "Label15", "Label14"};
  EXPECT_EQ(order, expected);

  const Control& fanhui1 = form->control("fanhui1");
  EXPECT_EQ(fanhui1.caption, "返回主界面");
  EXPECT_EQ(fanhui1.geometry, (Geometry{5640, 5400, 735, 2295}));
  EXPECT_EQ(fanhui1.tabIndex, 136);
  EXPECT_EQ(form->control("fanhui2").geometry, (Geometry{5640, 2760, 735, 2295}));
  EXPECT_EQ(form->control("fanhui2").font, (Font{1575, true}));
  EXPECT_EQ(form->control("Label12").caption,
            "颜色 有效数字 \u3000\u3000\u3000 乘数 \u3000\u3000\u3000\u3000  误差（％）\u3000\u3000");
  EXPECT_EQ(form->control("Label14").caption, "白色    9    1，000，000，000    +5～－20%  ");
  EXPECT_EQ(form->control("Label24").geometry, (Geometry{120, 1440, 6135, 255}));
  EXPECT_EQ(form->control("Label25").geometry, (Geometry{7560, 1080, 375, 4695}));
  EXPECT_EQ(form->control("Label32").font, (Font{900, true}));
  EXPECT_EQ(form->control("Label28").geometry, (Geometry{8520, 5760, 2295, 15}));
  EXPECT_FALSE(form->control("Label28").font.has_value());
  EXPECT_EQ(form->control("Line10").line, (LineEnds{5280, 600, 5280, 4440}));
  EXPECT_EQ(form->control("Line17").line, (LineEnds{6720, 5880, 11280, 5880}));
  for (const Control& c : form->controls()) {
    if (c.parent != "F2" || c.kind != Kind::Label) continue;
    EXPECT_EQ(c.backColor, sys::buttonFace) << c.name;
    EXPECT_EQ(c.foreColor, sys::buttonText) << c.name;
  }
}

}  // namespace
}  // namespace kalvori
