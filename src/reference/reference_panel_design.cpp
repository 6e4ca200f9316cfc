// The reference panel: a colour legend (digit, multiplier and tolerance of each colour), the E24
// and E12 value series side by side, two notes, and a grid of lines drawn over the labels. Its
// columns line up only through the blanks and ideographic spaces (U+3000) in the captions, so they
// are written exactly as they are drawn. Nothing on the panel changes at run time.
#include "reference/reference_panel_design.h"

#include "form/design_data.h"

namespace kalvori {

using namespace design;

namespace {

struct PanelLabel {
  const char* name;
  Geometry g;
  Font font;
  int tabIndex;
  const char* caption;
};

// Plain labels: the platform's label colours, opaque.
Control panelLabel(const PanelLabel& l) {
  return label(l.name, "F2", l.g, l.caption, sys::buttonFace, sys::buttonText, l.font, l.tabIndex);
}

std::vector<Control> defined() {
  std::vector<Control> out;
  // Tall and narrow, so their captions stand as a column of characters between the two tables.
  out.push_back(button("fanhui2", "F2", {5640, 2760, 735, 2295}, "返回播放器", sys::buttonFace, pt15_75B, 160));
  out.push_back(button("fanhui1", "F2", {5640, 5400, 735, 2295}, "返回主界面", sys::buttonFace, pt15_75B, 136));

  // The colour legend, one row a label.
  static const PanelLabel legend[] = {
      {"Label12", {240, 720, 4935, 255}, pt9_75B, 141, "颜色 有效数字 \u3000\u3000\u3000 乘数 \u3000\u3000\u3000\u3000  误差（％）\u3000\u3000"},
      {"Label13", {240, 1080, 6015, 255}, pt9_75B, 142, "银色    －           0.01        \u3000±10%    E12系列"},
      {"Label24", {120, 1440, 6135, 255}, pt9_75B, 153, " 金色    －            0.1        \u3000±5%     E24系列"},
      {"Label22", {120, 1800, 4935, 255}, pt9_75B, 151, " 黑色    0             －         \u3000  －"},
      {"Label23", {120, 2160, 4935, 255}, pt9_75B, 152, " 棕色    1                  10      ±1%     "},
      {"Label21", {240, 2520, 4935, 255}, pt9_75B, 150, "红色    2                 100    \u3000±2%      "},
      {"Label20", {240, 2880, 4815, 255}, pt9_75B, 149, "橙色    3              1，000    \u3000  － "},
      {"Label19", {240, 3240, 4815, 255}, pt9_75B, 148, "黄色    4             10，000    \u3000  －  "},
      {"Label18", {240, 3600, 4815, 255}, pt9_75B, 147, "绿色    5            100，000    \u3000±0.5%   "},
      {"Label17", {240, 3960, 4935, 255}, pt9_75B, 146, "蓝色    6         1，000，000    \u3000±0.2% "},
      {"Label16", {240, 4320, 4815, 255}, pt9_75B, 145, "紫色    7        10，000，000    \u3000±0.1%       "},
      {"Label15", {240, 4680, 4935, 255}, pt9_75B, 144, "灰色    8       100，000，000    \u3000  －         "},
      {"Label14", {240, 5040, 4935, 255}, pt9_75B, 143, "白色    9    1，000，000，000    +5～－20%  "},
  };
  // The series and the notes. Label25 and Label26 are one value wide, so their captions break
  // into a column of values.
  static const PanelLabel series[] = {
      {"Label27", {6840, 720, 4335, 255}, pt9_75B, 138, "E24系列误差±5％  E12系列系列误差±10％  "},
      {"Label25", {7560, 1080, 375, 4695}, pt9_75B, 140,
       "1.0 1.1 1.2 1.3 1.5 1.6 1.8 2.0 2.2 2.4 2.7 3.0 3.3 3.6 3.9 4.3 4.7 5.1 5.6 6.2 6.8 7.5 8.2 9.1"},
      {"Label26", {9840, 1080, 375, 4695}, pt9_75B, 139, "1.0  1.2  1.5  1.8  2.2  2.7  3.3  3.9  4.7  5.6  6.8  8.2"},
      {"Label31", {7080, 6000, 1335, 255}, pt9_75B, 156, "最后一环是金"},
      {"Label32", {9360, 6000, 1215, 255}, pt9B, 157, "最后一环是银"},
      {"Label30", {360, 6600, 4815, 735}, pt9_75B, 155,
       "由于常见的精度等级是：棕、金、银，所以软件没有其他精度等级按钮可选。                  如果遇到比较特殊的精度等级请参看此表即可。"},
      {"Label29", {6840, 6600, 4335, 855}, pt9_75B, 154,
       "上面是比较常见的取值规律，精度等级越高，则划分得越细。                       例如如E24系列被划分为24个递进档，其他的也都依此类推。"},
  };
  for (const PanelLabel& l : legend) out.push_back(panelLabel(l));
  for (const PanelLabel& l : series) out.push_back(panelLabel(l));
  // One pixel high: only a thin strip of its background shows, across the series' column line.
  out.push_back(label("Label28", "F2", {8520, 5760, 2295, 15}, "Label28", sys::buttonFace, sys::buttonText,
                      containerFont, 137));

  struct GridLine {
    const char* name;
    LineEnds ends;
  };
  static const GridLine grid[] = {
      {"Line19", {8760, 600, 8760, 5880}},   // between the E24 and E12 columns
      {"Line18", {6720, 960, 11280, 960}},   // under the series heading
      {"Line17", {6720, 5880, 11280, 5880}}, // bottom of the series table
      {"Line5", {120, 600, 5280, 600}},      // top of the legend
      {"Line6", {120, 960, 5280, 960}},      // under the legend heading
      {"Line7", {720, 600, 720, 5400}},      // after the colour names
      {"Line8", {1680, 600, 1680, 5400}},    // after the digits
      {"Line9", {3960, 600, 3960, 5400}},    // after the multipliers
      {"Line10", {5280, 600, 5280, 4440}},   // the right edge again, shorter
      {"Line11", {5280, 600, 5280, 5400}},   // right edge of the legend
      {"Line12", {120, 600, 120, 5400}},     // left edge of the legend
      {"Line13", {120, 5400, 5280, 5400}},   // bottom of the legend
      {"Line14", {6720, 600, 11280, 600}},   // top of the series table
      {"Line15", {6720, 600, 6720, 5880}},   // left edge of the series table
      {"Line16", {11280, 600, 11280, 5880}}, // right edge of the series table
  };
  for (const GridLine& l : grid) out.push_back(line(l.name, "F2", l.ends));
  return out;
}

// The grid lines come before the legend labels, so they are drawn over them and stay unbroken.
std::vector<std::string> designOrder() {
  std::vector<std::string> o = {"fanhui2", "fanhui1", "Label32", "Label31", "Label30", "Label29",
                                "Line19",  "Line18",  "Line17"};
  appendRange(o, "Line", 5, 13);
  for (const char* n : {"Label25", "Label26", "Label27", "Line14", "Line15", "Line16", "Label28", "Label12",
                        "Label13", "Label24", "Label22", "Label23", "Label21", "Label20", "Label19", "Label18",
                        "Label17", "Label16", "Label15", "Label14"})
    o.push_back(n);
  return o;
}

}  // namespace

std::vector<Control> referencePanelControls() { return inDesignOrder(defined(), designOrder()); }

}  // namespace kalvori
