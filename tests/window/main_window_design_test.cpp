// The window's design data against the literal values it must hold.
#include "window/main_window_design.h"

#include <gtest/gtest.h>

#include <set>

#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

constexpr OleColor S01 = 0x80000001, S0E = 0x8000000E, FACE = sys::buttonFace, BTXT = sys::buttonText,
                   WIN = sys::window, WTXT = sys::windowText;

class MainWindowDesign : public ::testing::Test {
 protected:
  std::unique_ptr<Form> form = createMainWindow();
  const Control& c(const char* name) { return form->control(name); }
};

TEST_F(MainWindowDesign, TheWindowItself) {
  EXPECT_EQ(form->window().caption, "Kalvori");
  EXPECT_EQ(form->window().backColor, 0x00808000u);
  EXPECT_EQ(form->window().font, (Font{825, false}));
  EXPECT_EQ(form->window().clientWidth, 11775);
  EXPECT_EQ(form->window().clientHeight, 8295);
}

TEST_F(MainWindowDesign, DesignOrderOfTheWindowAndOfZov) {
  std::vector<std::string> window, zov;
  for (const Control& k : form->controls()) {
    if (k.parent.empty()) window.push_back(k.name);
    if (k.parent == "zov") zov.push_back(k.name);
  }
  const std::vector<std::string> expectedWindow = {
      "zov", "mp3", "w3", "W1", "dc1", "dc2", "dc3", "dc4", "dc5", "dc6", "dc7", "dc8", "dc9", "dl0", "dl1", "dl2",
      "dl3", "dl4", "dl5", "dl6", "dl7", "dl8", "dl9", "c04", "b04", "kk5", "kk4", "kk3", "kk2", "kk1", "tr", "k5",
      "k4", "k3", "k2", "d9", "d8", "c", "l4", "r4", "r5", "e2", "e1", "e0", "d7", "d6", "d5", "d4", "d3", "d2",
      "d1", "d0", "c9", "c8", "c7", "c6", "c5", "c4", "c3", "c2", "c1", "c0", "b9", "b8", "b7", "b6", "b5", "b4",
      "b3", "b2", "b1", "b0", "a9", "a8", "a7", "a6", "a5", "a4", "a3", "a2", "k1", "a1", "a0", "Frame1", "ttt",
      "kkk", "texing", "sb2", "sb10", "sb9", "sb8", "sb7", "sb6", "sb5", "sb4", "sb3", "sb1", "Label11", "Label10",
      "Line4", "Line3", "Line2", "Line1", "ttc", "ttl", "ttr", "k13", "k12", "k11", "t10", "t9", "t8", "t7", "t6",
      "dd2", "dd1", "t1", "t5", "t4", "t3", "t2"};
  EXPECT_EQ(window, expectedWindow);
  const std::vector<std::string> expectedZov = {"F2",     "xilie",  "xxx",    "f1",     "Dir1",   "Drive1",
                                                "MMControl1", "File1", "Label9", "Label8", "Label7", "Label6",
                                                "Label5", "Label4", "Label3", "Label2"};
  EXPECT_EQ(zov, expectedZov);
  EXPECT_EQ(c("F2").order, 0);
  EXPECT_EQ(c("zov").order, 0);
  EXPECT_EQ(c("t2").order, static_cast<int>(expectedWindow.size()) - 1);
}

TEST_F(MainWindowDesign, ColourButtonFamilies) {
  const char* colourCaptions[] = {"黑      0", "棕      1", "红      2", "橙      3", "黄      4",
                                  "绿      5", "蓝      6", "紫      7", "灰      8", "白      9"};
  struct Family {
    std::string prefix;
    int left;
    int first;
    std::vector<int> tabs;
    bool visible;
  };
  const Family families[] = {
      {"a", 4080, 0, {0, 1, 3, 4, 5, 6, 7, 8, 9, 10}, true},
      {"b", 5640, 0, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, true},
      {"c", 7200, 0, {21, 22, 23, 24, 25, 26, 27, 28, 29, 30}, true},
      {"d", 8760, 0, {31, 32, 33, 34, 35, 36, 37, 38, 51, 52}, true},
      {"dl", 8760, 0, {81, 80, 79, 78, 77, 76, 75, 74, 73, 72}, false},
      {"dc", 8760, 1, {90, 89, 88, 87, 86, 85, 84, 83, 82}, false},
  };
  for (const Family& f : families) {
    for (int n = f.first; n <= 9; ++n) {
      const std::string name = f.prefix + std::to_string(n);
      SCOPED_TRACE(name);
      const Control& k = c(name.c_str());
      EXPECT_EQ(k.kind, Kind::CommandButton);
      EXPECT_EQ(k.parent, "");
      EXPECT_EQ(k.geometry, (Geometry{f.left, 120 + 480 * n, 1095, 375}));
      EXPECT_EQ(k.font, (Font{900, true}));
      EXPECT_EQ(k.tabIndex, f.tabs[n - f.first]);
      EXPECT_EQ(k.visible, f.visible);
      std::string caption = colourCaptions[n];
      if (f.prefix[0] == 'd' && n == 8) caption = "金";
      if (f.prefix[0] == 'd' && n == 9) caption = "银";
      if (f.prefix == "dc") caption = std::to_string(n);
      EXPECT_EQ(k.caption, caption);
      OleColor back = FACE;
      if (name == "a1") back = 0x00004080;
      if (name == "a3" || name == "a8" || name == "d9" || name == "dl9") back = 0x00E0E0E0;
      EXPECT_EQ(k.backColor, back);
    }
  }
  EXPECT_FALSE(form->has("dc0"));
}

struct Expect {
  const char* name;
  Kind kind;
  const char* parent;
  Geometry g;
  const char* caption;
  OleColor back, fore;
  std::optional<Font> font;
  int tab;
  bool visible;
};

void check(const Form& form, const Expect& e) {
  SCOPED_TRACE(e.name);
  const Control& k = form.control(e.name);
  EXPECT_EQ(k.kind, e.kind);
  EXPECT_EQ(k.parent, e.parent);
  EXPECT_EQ(k.geometry, e.g);
  EXPECT_EQ(k.caption, e.caption);
  EXPECT_EQ(k.backColor, e.back);
  EXPECT_EQ(k.foreColor, e.fore);
  EXPECT_EQ(k.font, e.font);
  EXPECT_EQ(k.tabIndex, e.tab);
  EXPECT_EQ(k.visible, e.visible);
}

constexpr Kind L = Kind::Label, T = Kind::TextBox, B = Kind::CommandButton, O = Kind::OptionButton, F = Kind::Frame;
const Font f8{825, false}, f9{900, false}, f9B{900, true}, f975{975, false}, f975B{975, true}, f12{1200, false},
    f12B{1200, true}, f1425{1425, false}, f1575{1575, false}, f1575B{1575, true}, f18B{1800, true},
    f2025B{2025, true}, f2775{2775, false}, f2775B{2775, true}, f36{3600, false};

TEST_F(MainWindowDesign, SingleControls) {
  const Expect table[] = {
      {"b04", B, "", {5640, 120, 1095, 375}, "黑      0", FACE, BTXT, f9B, 70, false},
      {"c04", B, "", {7200, 120, 1095, 375}, "黑      0", FACE, BTXT, f9B, 71, false},
      {"e0", B, "", {10320, 4440, 1095, 375}, "棕", FACE, BTXT, f9B, 39, true},
      {"e1", B, "", {10320, 3960, 1095, 375}, "金", FACE, BTXT, f9B, 40, false},
      {"e2", B, "", {10320, 4440, 1095, 375}, "银", FACE, BTXT, f9B, 41, false},
      {"t1", L, "", {3960, 4920, 1455, 255}, "五环电阻第1环", S01, 0x00FFFF80, f9B, 46, true},
      {"t2", L, "", {5520, 4920, 1455, 255}, "五环电阻第2环", S01, 0x00FFFF80, f9B, 42, true},
      {"t3", L, "", {7080, 4920, 1335, 255}, "五环电阻第3环", S01, 0x00FFFF80, f9B, 43, true},
      {"t4", L, "", {8640, 4920, 1335, 255}, "五环电阻第4环", S01, 0x00FFFF80, f9B, 44, true},
      {"t5", L, "", {10200, 4920, 1335, 255}, "五环电阻第5环", S01, 0x00FFFF80, f9B, 45, true},
      {"t6", L, "", {4440, 5160, 615, 735}, "", S01, S0E, f2025B, 65, true},
      {"t7", L, "", {6000, 5160, 615, 495}, "", S01, S0E, f2025B, 66, true},
      {"t8", L, "", {7560, 5160, 615, 495}, "", S01, S0E, f2025B, 67, true},
      {"t9", L, "", {9000, 5160, 615, 615}, "", S01, S0E, f2025B, 68, true},
      {"t10", L, "", {10440, 5160, 735, 615}, "", S01, S0E, f2025B, 69, true},
      {"kk1", T, "", {4440, 5640, 375, 615}, "", 0x00FFFFFF, WTXT, f9, 58, true},
      {"kk2", T, "", {6000, 5640, 375, 615}, "", WIN, WTXT, f9, 59, true},
      {"kk3", T, "", {7560, 5640, 375, 615}, "", WIN, WTXT, f9, 60, true},
      {"kk4", T, "", {9000, 5640, 375, 615}, "", WIN, WTXT, f9, 61, true},
      {"kk5", T, "", {10440, 5640, 375, 615}, "", 0x00FFFFFF, WTXT, f9, 62, true},
      {"k11", L, "", {4920, 6000, 495, 615}, "", S01, BTXT, f2775B, 91, false},
      {"k12", L, "", {5640, 6000, 495, 615}, "", S01, BTXT, f2775B, 92, false},
      {"k13", L, "", {6360, 6000, 495, 615}, "", S01, BTXT, f2775B, 93, false},
      {"k1", T, "", {4200, 6615, 495, 840}, "", 0x00E0E0E0, WTXT, f36, 2, true},
      {"k2", T, "", {4830, 6600, 495, 855}, "", 0x00E0E0E0, WTXT, f36, 53, true},
      {"k3", T, "", {5460, 6600, 495, 855}, "", 0x00E0E0E0, WTXT, f36, 54, true},
      {"k4", T, "", {6120, 6600, 3735, 855}, "", 0x00E0E0E0, WTXT, f36, 55, true},
      {"k5", T, "", {10080, 7150, 1575, 315}, "", 0x00E0E0E0, WTXT, f975, 56, true},
      {"dd1", L, "", {4695, 6840, 255, 855}, ",", S01, BTXT, f2775, 63, false},
      {"dd2", L, "", {5325, 6840, 135, 615}, ",", S01, BTXT, f2775, 64, false},
      {"ttr", L, "", {3720, 7560, 5655, 375}, "1,000Ω=1kΩ    1,000kΩ=1MΩ", S01, 0x008080FF, f18B, 95, true},
      {"ttl", L, "", {3720, 7560, 5655, 375}, "1,000uH=1mH    1,000mH=1H", S01, 0x0000FF00, f18B, 96, false},
      {"ttc", L, "", {3720, 7560, 7695, 735},
       "1,000pF=1nF   1,000nF=1uF   1,000uF=1mF                             1,000mF=1F", S01, 0x0000FFFF, f18B, 97,
       false},
      {"Frame1", F, "", {600, 120, 2655, 4695}, "请您选择:", S01, 0x00FF0000, f1575B, 94, true},
      {"r5", O, "", {720, 720, 2415, 375}, "五环色标标识的电阻阻值", 0x000000FF, BTXT, f9, 47, true},
      {"r4", O, "", {720, 1560, 2415, 375}, "四环色标标识的电阻阻值", 0x00C00000, BTXT, f9, 48, true},
      {"l4", O, "", {720, 2400, 2415, 375}, "四环色标标识电感电感量", 0x00008000, BTXT, f9, 49, true},
      {"c", O, "", {720, 3240, 2415, 375}, "三位表示法表示电容容量", 0x0000FFFF, BTXT, f9, 50, true},
      {"tr", O, "", {720, 3960, 2415, 615}, "三位表示法贴片电阻以及精密或单圈电位器电阻值", 0x00000080, BTXT, f9, 57,
       true},
      {"W1", B, "", {600, 4920, 735, 375}, "关于", FACE, BTXT, std::nullopt, 98, true},
      {"w3", B, "", {2520, 4920, 735, 375}, "感谢", FACE, BTXT, std::nullopt, 100, true},
      {"kkk", B, "", {720, 5640, 495, 615}, "播", FACE, BTXT, f975, 113, true},
      {"mp3", B, "", {1320, 5640, 1215, 615}, "多媒体播放器", FACE, BTXT, f975, 107, true},
      {"ttt", B, "", {2640, 5640, 495, 615}, "停", FACE, BTXT, f975, 112, true},
      {"texing", B, "", {10440, 600, 735, 855}, "电阻阻值表格", FACE, BTXT, f975B, 159, true},
      {"Label11", L, "", {10320, 2280, 1335, 255}, "使用说明：", S01, 0x0080FFFF, f12, 124, true},
      {"Label10", L, "", {10320, 2880, 1335, 615}, "纵排按钮都任选其一即可得到实际数值。", S01, 0x0080FFFF, f975, 123,
       true},
      {"zov", F, "", {120, 0, 11655, 8295}, "", S01, BTXT, f1425, 101, false},
      {"F2", F, "zov", {0, 120, 11655, 8775}, "关于电阻常见的几个系列以及颜色标注的根本含义：", 0x00C0C0C0, 0x00FF0000,
       f12B, 135, true},
      {"xilie", B, "zov", {5280, 6960, 855, 675}, "电阻阻值表格", FACE, BTXT, f975B, 158, true},
      {"xxx", B, "zov", {360, 840, 1935, 975}, "支持", FACE, BTXT, f2775, 109, true},
      {"f1", B, "zov", {9240, 840, 2055, 975}, "返回", FACE, BTXT, f2775B, 106, false},
      {"Dir1", Kind::DirListBox, "zov", {6240, 3360, 5295, 4410}, "", 0x008080FF, WTXT, f12, 105, false},
      {"Drive1", Kind::DriveListBox, "zov", {1320, 2640, 9015, 435}, "", 0x000080FF, WTXT, f1575, 104, false},
      {"MMControl1", Kind::MediaControl, "zov", {2760, 840, 6000, 975}, "", FACE, WTXT, std::nullopt, 102, false},
      {"File1", Kind::FileListBox, "zov", {120, 3360, 5055, 4365}, "", 0x0000C000, WTXT, f1425, 103, false},
      {"Label9", L, "zov", {360, 2760, 975, 255}, "选择盘符>", S01, BTXT, f975B, 122, true},
      {"Label8", L, "zov", {10320, 2760, 975, 255}, "<选择盘符", S01, BTXT, f975B, 121, true},
      {"Label7", L, "zov", {7320, 1920, 855, 495}, "停止", S01, 0x008080FF, f2025B, 120, true},
      {"Label6", L, "zov", {5280, 1920, 855, 495}, "暂停", S01, 0x008080FF, f2025B, 119, true},
      {"Label5", L, "zov", {5280, 5040, 855, 375}, "播放将变为可用", S01, BTXT, f975B, 118, true},
      {"Label4", L, "zov", {3360, 1920, 1215, 375}, "播放", S01, 0x008080FF, f2025B, 117, true},
      {"Label3", L, "zov", {5160, 4800, 1095, 255}, "<选择文件", S01, BTXT, f975B, 111, true},
      {"Label2", L, "zov", {5280, 3440, 1095, 255}, "双击向上>", S01, BTXT, f975B, 110, true},
  };
  for (const Expect& e : table) check(*form, e);
  EXPECT_EQ(c("File1").pattern, "*.wav;*.mid;*.avi;*.mpg;*.mp3");
  EXPECT_TRUE(c("r5").value);
  for (const char* o : {"r4", "l4", "c", "tr"}) EXPECT_FALSE(c(o).value) << o;
  EXPECT_EQ(form->effectiveFont("W1"), f8);
  EXPECT_EQ(form->effectiveFont("MMControl1"), f1425);  // zov's
  (void)f12B;
}

TEST_F(MainWindowDesign, ColourStripsAndLines) {
  const OleColor strips[] = {0x00000000, 0x000040C0, 0x000000FF, 0x000080FF, 0x0000FFFF,
                             0x0000C000, 0x00FF0000, 0x00C000C0, 0x00C0C0C0, 0x00FFFFFF};
  const int tabs[] = {125, 134, 126, 127, 128, 129, 130, 131, 132, 133};
  for (int n = 1; n <= 10; ++n) {
    const std::string name = "sb" + std::to_string(n);
    SCOPED_TRACE(name);
    const Control& k = c(name.c_str());
    EXPECT_EQ(k.kind, Kind::Label);
    EXPECT_EQ(k.geometry, (Geometry{3480, 480 * (n - 1), 375, 495}));
    EXPECT_EQ(k.backColor, strips[n - 1]);
    EXPECT_EQ(k.tabIndex, tabs[n - 1]);
    EXPECT_EQ(k.caption, n == 1 ? "Label12" : "");
    EXPECT_FALSE(k.font.has_value());
    EXPECT_EQ(k.foreColor, BTXT);  // sb1's caption is black on black
  }
  EXPECT_EQ(c("Line1").line, (LineEnds{600, 5520, 3240, 5520}));
  EXPECT_EQ(c("Line2").line, (LineEnds{3240, 5520, 3240, 6360}));
  EXPECT_EQ(c("Line3").line, (LineEnds{600, 6360, 600, 5520}));
  EXPECT_EQ(c("Line4").line, (LineEnds{600, 6360, 3240, 6360}));
}

TEST_F(MainWindowDesign, StartStateShowsOnlyTheConverter) {
  std::set<std::string> shown;
  for (const Control& k : form->controls())
    if (form->isShown(k.name)) shown.insert(k.name);
  std::set<std::string> expected = {"mp3", "w3", "W1", "kk5", "kk4", "kk3", "kk2", "kk1", "tr", "k5", "k4", "k3",
                                    "k2", "d9", "d8", "c", "l4", "r4", "r5", "e0", "k1", "Frame1", "ttt", "kkk",
                                    "texing", "Label11", "Label10", "Line1", "Line2", "Line3", "Line4", "ttr",
                                    "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9", "t10"};
  for (const char* family : {"a", "b", "c", "d"})
    for (int n = 0; n <= 9; ++n) expected.insert(family + std::to_string(n));
  for (int n = 1; n <= 10; ++n) expected.insert("sb" + std::to_string(n));
  EXPECT_EQ(shown, expected);
  // The frame's contents keep their own flags although nothing of it is shown.
  for (const char* own : {"F2", "xilie", "xxx", "Label2", "Label9"}) EXPECT_TRUE(c(own).visible) << own;
}

TEST_F(MainWindowDesign, TabIndexesAreUniqueAndA0TakesTheFocusFirst) {
  std::set<int> seen;
  const Control* first = nullptr;
  for (const Control& k : form->controls()) {
    if (k.kind == Kind::Line) continue;
    EXPECT_TRUE(seen.insert(k.tabIndex).second) << k.name << " repeats TabIndex " << k.tabIndex;
    if (takesFocus(k.kind) && (!first || k.tabIndex < first->tabIndex)) first = &k;
  }
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->name, "a0");
  for (const char* never : {"Label11", "Label10", "t6", "t10", "sb1", "Frame1", "zov"})
    EXPECT_FALSE(takesFocus(c(never).kind)) << never;
}

}  // namespace
}  // namespace kalvori

namespace kalvori {
namespace {

// Every control a handler or layout writes is looked up when the handlers are bound: a design that
// lacks one (as a misspelt name in a handler table would) stops at start, naming it, rather than on
// the click that would write it.
TEST(HandlerNames, AreResolvedWhenTheHandlersAreBound) {
  const FileBrowser files;
  for (const char* missing : {"kk4", "k13", "dd2", "t9", "ttc", "sb7", "MMControl1", "Dir1"}) {
    std::vector<Control> controls = mainWindowControls();
    std::erase_if(controls, [&](const Control& c) { return c.name == missing; });
    Form form(mainWindowFrame(), std::move(controls));
    try {
      bindHandlers(form, nullptr, files, "/");
      ADD_FAILURE() << "bound without " << missing;
    } catch (const std::logic_error& e) {
      EXPECT_EQ(e.what(), "no control named " + std::string(missing));
    }
  }
}

}  // namespace
}  // namespace kalvori
