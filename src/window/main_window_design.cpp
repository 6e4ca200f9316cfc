// The design data of the window: every control of the converter, the frame zov with the media
// player, and the frame F2 (whose children are the reference panel). Families of colour buttons are
// generated from the colour table; everything else is written out once, as it is laid out.
#include "window/main_window_design.h"

#include "marking/band_colour.h"
#include "reference/reference_panel_design.h"
#include "form/design_data.h"

namespace kalvori {

using namespace design;

namespace {

constexpr OleColor white = 0x00FFFFFF;
constexpr OleColor lightGrey = 0x00E0E0E0;
constexpr OleColor unitHintRed = 0x008080FF;

// ---- The colour-button columns -------------------------------------------------------------

constexpr int kColourButtonWidth = 1095, kColourButtonHeight = 375;
constexpr int rowTop(int row) { return 120 + 480 * row; }

struct Column {
  std::string_view prefix;
  int left;
  int firstRow;
  bool visible;
  int (*tabIndex)(int row);
  std::string_view (*caption)(int row);
  OleColor (*backColor)(int row);
};

std::string_view digitCaption(int row) { return digitColour(row).caption; }
std::string_view multiplierCaption(int row) { return bandColour(multiplierRow(row)).caption; }
std::string_view bareDigit(int row) { return digitText(row); }
OleColor plainButton(int) { return sys::buttonFace; }
// The silver button of a multiplier column is light grey, like its swatch.
OleColor silverIsGrey(int row) { return row == 9 ? lightGrey : sys::buttonFace; }
// Brown is drawn darker than its swatch; orange and grey light grey.
OleColor columnAColours(int row) {
  return row == 1 ? OleColor{0x00004080} : (row == 3 || row == 8) ? lightGrey : sys::buttonFace;
}

const Column kColumns[] = {
    {"a", 4080, 0, true, [](int n) { return n < 2 ? n : n + 1; }, digitCaption, columnAColours},
    {"b", 5640, 0, true, [](int n) { return 11 + n; }, digitCaption, plainButton},
    {"c", 7200, 0, true, [](int n) { return 21 + n; }, digitCaption, plainButton},
    {"d", 8760, 0, true, [](int n) { return n < 8 ? 31 + n : 43 + n; }, multiplierCaption, silverIsGrey},
    {"dl", 8760, 0, false, [](int n) { return 81 - n; }, multiplierCaption, silverIsGrey},
    {"dc", 8760, 1, false, [](int n) { return 91 - n; }, bareDigit, plainButton},
};

void addColumns(std::vector<Control>& out) {
  for (const Column& col : kColumns) {
    for (int row = col.firstRow; row <= 9; ++row) {
      out.push_back(button(std::string(col.prefix) + std::to_string(row), "",
                           {col.left, rowTop(row), kColourButtonWidth, kColourButtonHeight},
                           std::string(col.caption(row)), col.backColor(row), pt9B, col.tabIndex(row),
                           col.visible));
    }
  }
}

void addSingleColourButtons(std::vector<Control>& out) {
  struct Single {
    const char* name;
    int left, top;
    Band band;
    int tabIndex;
    bool visible;
  };
  // b04 and c04 lie on b0 and c0, e2 on e0; the black ones carry the full caption, the tolerance
  // buttons the colour name alone.
  static const Single singles[] = {
      {"b04", 5640, 120, Band::Black, 70, false}, {"c04", 7200, 120, Band::Black, 71, false},
      {"e0", 10320, 4440, Band::Brown, 39, true}, {"e1", 10320, 3960, Band::Gold, 40, false},
      {"e2", 10320, 4440, Band::Silver, 41, false},
  };
  for (const Single& s : singles) {
    const BandColour& row = bandColour(s.band);
    const std::string_view caption = s.band == Band::Black ? row.caption : row.name;
    out.push_back(button(s.name, "", {s.left, s.top, kColourButtonWidth, kColourButtonHeight},
                         std::string(caption), sys::buttonFace, pt9B, s.tabIndex, s.visible));
  }
}

// ---- The value row, the swatches and the labels under the columns --------------------------

Control textBox(std::string name, Geometry g, OleColor back, Font font, int tabIndex) {
  Control c = label(std::move(name), "", g, "", back, sys::windowText, font, tabIndex);
  c.kind = Kind::TextBox;
  return c;
}

void addDisplay(std::vector<Control>& out) {
  constexpr OleColor headerCyan = 0x00FFFF80;
  const char* headers[] = {"五环电阻第1环", "五环电阻第2环", "五环电阻第3环", "五环电阻第4环", "五环电阻第5环"};
  const Geometry headerPlaces[] = {{3960, 4920, 1455, 255},
                                   {5520, 4920, 1455, 255},
                                   {7080, 4920, 1335, 255},
                                   {8640, 4920, 1335, 255},
                                   {10200, 4920, 1335, 255}};
  const int headerTabs[] = {46, 42, 43, 44, 45};
  for (int i = 0; i < 5; ++i)
    out.push_back(label("t" + std::to_string(i + 1), "", headerPlaces[i], headers[i], sys::desktop, headerCyan,
                        pt9B, headerTabs[i]));

  // Colour names above the swatches, and the swatches.
  const Geometry namePlaces[] = {{4440, 5160, 615, 735},
                                 {6000, 5160, 615, 495},
                                 {7560, 5160, 615, 495},
                                 {9000, 5160, 615, 615},
                                 {10440, 5160, 735, 615}};
  const int swatchLefts[] = {4440, 6000, 7560, 9000, 10440};
  // Only the outer swatches are white by design; the others keep a text box's own background.
  const OleColor swatchColours[] = {white, sys::window, sys::window, sys::window, white};
  for (int i = 0; i < 5; ++i) {
    out.push_back(label("t" + std::to_string(i + 6), "", namePlaces[i], "", sys::desktop, sys::highlightText,
                        pt20_25B, 65 + i));
    out.push_back(textBox("kk" + std::to_string(i + 1), {swatchLefts[i], 5640, 375, 615}, swatchColours[i], pt9,
                          58 + i));
  }

  // The printed code of the three-digit modes.
  for (int i = 0; i < 3; ++i)
    out.push_back(label("k1" + std::to_string(i + 1), "", {4920 + 720 * i, 6000, 495, 615}, "", sys::desktop,
                        sys::buttonText, pt27_75B, 91 + i, false));

  // The value row: digits, suffix, tolerance, and the commas between the digits.
  out.push_back(textBox("k1", {4200, 6615, 495, 840}, lightGrey, pt36, 2));
  out.push_back(textBox("k2", {4830, 6600, 495, 855}, lightGrey, pt36, 53));
  out.push_back(textBox("k3", {5460, 6600, 495, 855}, lightGrey, pt36, 54));
  out.push_back(textBox("k4", {6120, 6600, 3735, 855}, lightGrey, pt36, 55));
  out.push_back(textBox("k5", {10080, 7150, 1575, 315}, lightGrey, pt9_75, 56));
  out.push_back(label("dd1", "", {4695, 6840, 255, 855}, ",", sys::desktop, sys::buttonText, pt27_75, 63, false));
  out.push_back(label("dd2", "", {5325, 6840, 135, 615}, ",", sys::desktop, sys::buttonText, pt27_75, 64, false));

  // Unit hints, one place, one shown per mode.
  out.push_back(label("ttr", "", {3720, 7560, 5655, 375}, "1,000Ω=1kΩ    1,000kΩ=1MΩ", sys::desktop,
                      unitHintRed, pt18B, 95));
  out.push_back(label("ttl", "", {3720, 7560, 5655, 375}, "1,000uH=1mH    1,000mH=1H", sys::desktop, 0x0000FF00,
                      pt18B, 96, false));
  out.push_back(label("ttc", "", {3720, 7560, 7695, 735},
                      "1,000pF=1nF   1,000nF=1uF   1,000uF=1mF                             1,000mF=1F",
                      sys::desktop, 0x0000FFFF, pt18B, 97, false));

  // The row legend: one strip of each digit's colour beside its button row.
  for (int n = 1; n <= 10; ++n) {
    const int tabIndex = n == 1 ? 125 : n == 2 ? 134 : 123 + n;
    out.push_back(label("sb" + std::to_string(n), "", {3480, 480 * (n - 1), 375, 495}, n == 1 ? "Label12" : "",
                        *digitColour(n - 1).strip, sys::buttonText, containerFont, tabIndex));
  }
}

// ---- Mode selection, the player buttons and the notes --------------------------------------

Control optionButton(std::string name, int top, int height, std::string caption, OleColor back, int tabIndex) {
  Control c = button(std::move(name), "", {720, top, 2415, height}, std::move(caption), back, pt9, tabIndex);
  c.kind = Kind::OptionButton;
  return c;
}

void addModesAndButtons(std::vector<Control>& out) {
  Control frame1 = label("Frame1", "", {600, 120, 2655, 4695}, "请您选择:", sys::desktop, 0x00FF0000, pt15_75B, 94);
  frame1.kind = Kind::Frame;
  out.push_back(frame1);

  Control r5 = optionButton("r5", 720, 375, "五环色标标识的电阻阻值", 0x000000FF, 47);
  r5.value = true;
  out.push_back(r5);
  out.push_back(optionButton("r4", 1560, 375, "四环色标标识的电阻阻值", 0x00C00000, 48));
  out.push_back(optionButton("l4", 2400, 375, "四环色标标识电感电感量", 0x00008000, 49));
  out.push_back(optionButton("c", 3240, 375, "三位表示法表示电容容量", 0x0000FFFF, 50));
  out.push_back(optionButton("tr", 3960, 615, "三位表示法贴片电阻以及精密或单圈电位器电阻值", 0x00000080, 57));

  out.push_back(button("W1", "", {600, 4920, 735, 375}, "关于", sys::buttonFace, containerFont, 98));
  out.push_back(button("w3", "", {2520, 4920, 735, 375}, "感谢", sys::buttonFace, containerFont, 100));
  out.push_back(button("kkk", "", {720, 5640, 495, 615}, "播", sys::buttonFace, pt9_75, 113));
  out.push_back(button("mp3", "", {1320, 5640, 1215, 615}, "多媒体播放器", sys::buttonFace, pt9_75, 107));
  out.push_back(button("ttt", "", {2640, 5640, 495, 615}, "停", sys::buttonFace, pt9_75, 112));
  out.push_back(button("texing", "", {10440, 600, 735, 855}, "电阻阻值表格", sys::buttonFace, pt9_75B, 159));

  constexpr OleColor noteYellow = 0x0080FFFF;
  out.push_back(label("Label11", "", {10320, 2280, 1335, 255}, "使用说明：", sys::desktop, noteYellow, pt12, 124));
  out.push_back(label("Label10", "", {10320, 2880, 1335, 615}, "纵排按钮都任选其一即可得到实际数值。", sys::desktop,
                      noteYellow, pt9_75, 123));

  // A box around kkk, mp3 and ttt.
  out.push_back(line("Line1", "", {600, 5520, 3240, 5520}));
  out.push_back(line("Line2", "", {3240, 5520, 3240, 6360}));
  out.push_back(line("Line3", "", {600, 6360, 600, 5520}));
  out.push_back(line("Line4", "", {600, 6360, 3240, 6360}));
}

// ---- The frame zov: the media player, under the reference panel F2 -------------------------

void addPlayerFrame(std::vector<Control>& out) {
  Control zov = label("zov", "", {120, 0, 11655, 8295}, "", sys::desktop, sys::buttonText, pt14_25, 101, false);
  zov.kind = Kind::Frame;
  out.push_back(zov);

  // F2 reaches 600 twips below zov and is clipped there.
  Control f2 = label("F2", "zov", {0, 120, 11655, 8775}, "关于电阻常见的几个系列以及颜色标注的根本含义：", 0x00C0C0C0,
                     0x00FF0000, pt12B, 135);
  f2.kind = Kind::Frame;
  out.push_back(f2);

  out.push_back(button("xilie", "zov", {5280, 6960, 855, 675}, "电阻阻值表格", sys::buttonFace, pt9_75B, 158));
  out.push_back(button("xxx", "zov", {360, 840, 1935, 975}, "支持", sys::buttonFace, pt27_75, 109));
  out.push_back(button("f1", "zov", {9240, 840, 2055, 975}, "返回", sys::buttonFace, pt27_75B, 106, false));

  auto list = [](std::string name, Kind kind, Geometry g, OleColor back, Font font, int tabIndex) {
    Control c = label(std::move(name), "zov", g, "", back, sys::windowText, font, tabIndex, false);
    c.kind = kind;
    return c;
  };
  out.push_back(list("Dir1", Kind::DirListBox, {6240, 3360, 5295, 4410}, 0x008080FF, pt12, 105));
  out.push_back(list("Drive1", Kind::DriveListBox, {1320, 2640, 9015, 435}, 0x000080FF, pt15_75, 104));
  Control media = list("MMControl1", Kind::MediaControl, {2760, 840, 6000, 975}, sys::buttonFace, pt8_25, 102);
  media.font.reset();
  out.push_back(media);
  Control file1 = list("File1", Kind::FileListBox, {120, 3360, 5055, 4365}, 0x0000C000, pt14_25, 103);
  file1.pattern = "*.wav;*.mid;*.avi;*.mpg;*.mp3";
  out.push_back(file1);

  struct Note {
    const char* name;
    Geometry g;
    const char* caption;
    OleColor fore;
    Font font;
    int tabIndex;
  };
  static const Note notes[] = {
      {"Label9", {360, 2760, 975, 255}, "选择盘符>", sys::buttonText, pt9_75B, 122},
      {"Label8", {10320, 2760, 975, 255}, "<选择盘符", sys::buttonText, pt9_75B, 121},
      {"Label7", {7320, 1920, 855, 495}, "停止", unitHintRed, pt20_25B, 120},
      {"Label6", {5280, 1920, 855, 495}, "暂停", unitHintRed, pt20_25B, 119},
      {"Label5", {5280, 5040, 855, 375}, "播放将变为可用", sys::buttonText, pt9_75B, 118},
      {"Label4", {3360, 1920, 1215, 375}, "播放", unitHintRed, pt20_25B, 117},
      {"Label3", {5160, 4800, 1095, 255}, "<选择文件", sys::buttonText, pt9_75B, 111},
      {"Label2", {5280, 3440, 1095, 255}, "双击向上>", sys::buttonText, pt9_75B, 110},
  };
  for (const Note& n : notes)
    out.push_back(label(n.name, "zov", n.g, n.caption, sys::desktop, n.fore, n.font, n.tabIndex));
}

std::vector<std::string> designOrder() {
  std::vector<std::string> o;
  auto add = [&o](std::initializer_list<const char*> names) { o.insert(o.end(), names.begin(), names.end()); };
  // The window's children.
  add({"zov", "mp3", "w3", "W1"});
  appendRange(o, "dc", 1, 9);
  appendRange(o, "dl", 0, 9);
  add({"c04", "b04"});
  appendRange(o, "kk", 5, 1);
  add({"tr", "k5", "k4", "k3", "k2", "d9", "d8", "c", "l4", "r4", "r5", "e2", "e1", "e0"});
  appendRange(o, "d", 7, 0);
  appendRange(o, "c", 9, 0);
  appendRange(o, "b", 9, 0);
  appendRange(o, "a", 9, 2);
  add({"k1", "a1", "a0", "Frame1", "ttt", "kkk", "texing", "sb2"});
  appendRange(o, "sb", 10, 3);
  add({"sb1", "Label11", "Label10", "Line4", "Line3", "Line2", "Line1", "ttc", "ttl", "ttr", "k13", "k12", "k11"});
  appendRange(o, "t", 10, 6);
  add({"dd2", "dd1", "t1", "t5", "t4", "t3", "t2"});
  // The children of zov.
  add({"F2", "xilie", "xxx", "f1", "Dir1", "Drive1", "MMControl1", "File1"});
  appendRange(o, "Label", 9, 2);
  return o;
}

}  // namespace

Form::Window mainWindowFrame() { return {"Kalvori", 0x00808000, pt8_25, 11775, 8295}; }

std::vector<Control> mainWindowControls() {
  std::vector<Control> defined;
  addColumns(defined);
  addSingleColourButtons(defined);
  addDisplay(defined);
  addModesAndButtons(defined);
  addPlayerFrame(defined);
  std::vector<Control> controls = inDesignOrder(std::move(defined), designOrder());
  for (Control& c : referencePanelControls()) controls.push_back(std::move(c));
  return controls;
}

}  // namespace kalvori
