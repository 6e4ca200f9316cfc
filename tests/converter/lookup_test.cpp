// The look-up from typed text to the answer line and to the keys Enter types: the markings of
// values against the colour and code rules, whole answer lines, and the keys typed into a real
// window, which must then read the value without a refusal.
#include "converter/lookup.h"

#include <gtest/gtest.h>

#include "converter/marking_keys.h"
#include "marking/markings.h"
#include "converter/value_reading.h"
#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

std::string orNone(const std::optional<std::string>& s) { return s.value_or("-"); }
std::string bandsOrNone(const Quantity& q, int digitBands) {
  const auto bands = colourBands(q, digitBands);
  return bands ? bandNames(*bands) : "-";
}

TEST(Markings, ResistorBandsAndChipCodes) {
  struct Case {
    Decimal ohms;
    const char *fourBand, *fiveBand, *chip3, *chip4, *eia96;
  };
  const Case cases[] = {
      {Decimal::of(47, 2), "黄紫红", "黄紫黑棕", "472", "4701", "-"},
      {Decimal::of(47, -2), "黄紫银", "黑黄紫银", "R47", "R470", "-"},
      {Decimal::of(1, 1), "棕黑黑", "棕黑黑金", "100", "10R0", "01X"},
      {Decimal::of(1, 9), "棕黑灰", "棕黑黑紫", "108", "1007", "-"},
      {Decimal::of(1, -2), "黑棕银", "-", "R01", "R010", "-"},  // never two leading black bands
      {Decimal::of(475, 1), "-", "黄紫绿棕", "-", "4751", "66B"},
      {Decimal::of(976, -3), "-", "-", "-", "R976", "96Z"},
      {Decimal::of(1002, 0), "-", "-", "-", "-", "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ohms.text());
    const Quantity q{c.ohms, Family::Resistance, {}, Written::Value};
    EXPECT_EQ(bandsOrNone(q, 2), c.fourBand);
    EXPECT_EQ(bandsOrNone(q, 3), c.fiveBand);
    EXPECT_EQ(orNone(chipCode(c.ohms, 3)), c.chip3);
    EXPECT_EQ(orNone(chipCode(c.ohms, 4)), c.chip4);
    EXPECT_EQ(orNone(eia96Code(c.ohms)), c.eia96);
  }
  // The tolerance band follows the multiplier where the tolerance has one.
  Quantity q{Decimal::of(47, 2), Family::Resistance, Decimal::of(25, -2), Written::Value};
  EXPECT_EQ(bandsOrNone(q, 3), "黄紫黑棕蓝");
  // A tolerance no band stands for has no band marking: three bands would read ±20 %.
  q.tolerance = Decimal::of(3, 0);
  EXPECT_EQ(bandsOrNone(q, 2), "-");
}

TEST(Markings, CapacitorCode) {
  const std::pair<Decimal, const char*> cases[] = {
      {Decimal::of(22, -12), "220"}, {Decimal::of(22, -13), "229"}, {Decimal::of(1, -13), "108"},
      {Decimal::of(1, -6), "105"},   {Decimal::of(1, -4), "107"},   {Decimal::of(1, -3), "-"},
      {Decimal::of(475, -11), "-"},  {Decimal::of(1, -14), "-"},
  };
  for (const auto& [farads, code] : cases) EXPECT_EQ(orNone(capacitorCode(farads)), code) << farads.text();
}

TEST(Lookup, AnswerLines) {
  const std::tuple<std::string, const char*, const char*> cases[] = {
      {"4k7 5%", "r4", "4.7 kΩ ±5%  四环 黄紫红金  五环 黄紫黑棕金  贴片 472  E6 标准值"},
      {"220", "c", "22 pF  代码 220（本窗口的按钮无法按出）  E6 标准值"},
      {"01C", "r4", "10 kΩ ±1%  四环 棕黑橙棕  五环 棕黑黑红棕  贴片 103 或 1002  EIA-96 01C（Enter 以五环显示）  E6 标准值"},
      {"4.8k", "r4", "4.8 kΩ  四环 黄灰红  五环 黄灰黑棕  贴片 482  不是标准值，最接近 4.7 kΩ、5.1 kΩ"},
      {"10uH", "r5", "10 uH  四环 棕黑黑  E6 标准值"},
      {"1.002k", "r4", "1.002 kΩ  没有色环或代码（本窗口的按钮无法按出）  不是标准值，最接近 1 kΩ、1.1 kΩ"},
      {"4k7k", "r4", "看不懂“4k7k”：只能有一个倍率字母"},
      {"a\nb", "r4", "看不懂“a b”：不认识字母“a”"},
      {"\xff", "r4", "看不懂：不是有效的 UTF-8 文字"},
      {std::string(300, 'x'), "r4", "看不懂“xxxxxxxxxxxxxxxx…”：太长了"},
      {" ", "r4", ""},
  };
  for (const auto& [text, mode, line] : cases) {
    const LookupAnswer a = lookUp(text, mode);
    EXPECT_EQ(a.line, line);
    EXPECT_EQ(a.understood, line[0] != '\0' && !std::string_view(line).starts_with("看不懂"));
  }
}

TEST(Lookup, WholePrintsAnswerEveryField) {
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"104K 2A", "c", "100 nF ±10%  100 V 直流  代码 104  E6 标准值", "104"},
      {"2A104J", "c", "100 nF ±5%  100 V 直流  代码 104  E6 标准值", "104"},
      {"47µF 25V", "c", "47 uF  25 V 直流  代码 476  E6 标准值", "476"},
      {"X7R", "c", "X7R：-55…+125 °C 内变化 ±15%", ""},  // understood, without a value to press
      {"000", "r4", "0 Ω 跳线  一条黑环  贴片 0 或 000（本窗口的按钮无法按出）", ""},
      {"brown black black red brown red", "r5",
       "10 kΩ ±1%  温漂 ±50 ppm/K  四环 棕黑橙棕  五环 棕黑黑红棕  贴片 103 或 1002  EIA-96 01C  E6 标准值", "10021"},
      {"470 6.3V", "c", "470 uF  6.3 V 直流  代码 477  E6 标准值\n也可能是 47 pF  6.3 V 直流", "477"},
      {"104K", "r4", "104 kΩ  五环 棕黑黄橙  贴片 1043  E192 标准值\n也可能是 100 nF ±10%", "1043"},
      // Enter goes where the tolerance cannot be shown, or shows a printed code by its bands: said.
      {"10k 2%", "r4", "10 kΩ ±2%  四环 棕黑橙红  五环 棕黑黑红红  贴片 103（Enter 显示为贴片代码，不含 ±2%）  E6 标准值", "103"},
      {"4k7 3%", "r4", "4.7 kΩ ±3%  色环 无（±3% 没有误差环）  贴片 472（Enter 显示为贴片代码，不含 ±3%）  E6 标准值", "472"},
      {"01C", "tr", "10 kΩ ±1%  四环 棕黑橙棕  五环 棕黑黑红棕  贴片 103 或 1002  EIA-96 01C（Enter 以五环显示）  E6 标准值", "10021"},
      {"10k 2%", "tr", "10 kΩ ±2%  四环 棕黑橙红  五环 棕黑黑红红  贴片 103  E6 标准值", "103"},
  };
  for (const auto& [text, mode, line, keys] : cases) {
    SCOPED_TRACE(std::string(text) + " in " + mode);
    const LookupAnswer a = lookUp(text, mode);
    EXPECT_TRUE(a.understood);
    EXPECT_EQ(a.line, line);
    EXPECT_EQ(a.presses.keys, keys);
    EXPECT_EQ(a.json.empty(), false);
    EXPECT_TRUE(a.picture);
  }
  // The picture shows the bands of the mode Enter goes to.
  const auto names = [](const LookupAnswer& a) {
    std::string out;
    for (const PaintedBand& b : a.picture->bands) out += b.name;
    return out;
  };
  EXPECT_EQ(names(lookUp("4k7 5%", "r5")), "黄紫红金");  // four-band has the gold button
  EXPECT_EQ(names(lookUp("4k7", "r5")), "黄紫黑棕");
  EXPECT_EQ(names(lookUp("01C", "tr")), "棕黑黑红棕");
  EXPECT_EQ(lookUp("472", "tr").picture->lines, std::vector<std::string>{"472"});
  EXPECT_EQ(lookUp("104K 2A", "c").picture->lines, (std::vector<std::string>{"104K", "2A"}));
  EXPECT_EQ(names(lookUp("brown black black red brown red", "r4")), "棕黑黑红棕红");
  // Refused and blank text.
  EXPECT_EQ(lookUp("4k7k", "r4").json, R"({"readings": [], "markings": null, "series": null, "refusal": "只能有一个倍率字母"})");
  EXPECT_EQ(lookUp(" ", "r4").json, "");
  EXPECT_FALSE(lookUp("4k7k", "r4").picture);
}

TEST(Lookup, EnterShowsItInTheFirstModeThatCan) {
  struct Case {
    const char* text;
    const char* mode;    // the mode selected when it is typed
    const char* option;  // "" when no mode can show it
    const char* keys;
    const char* reading;  // the window's value row after the keys
  };
  const Case cases[] = {
      {"4k7 5%", "r5", "r4", "472G", "4,700Ω 误差率＋－5％"},
      {"4k7", "r5", "r5", "4701", "4,700Ω"},
      {"4k7 1%", "r4", "r5", "47011", "4,700Ω 误差率＋－1％"},
      {"黄紫红", "r4", "r4", "472", "4,700Ω"},  // no band: ±20 %
      {"0.01", "r4", "r4", "01S", "1×0.01Ω"},   // one black leading band
      {"0.1", "r5", "r5", "010S", "10×0.01Ω"},
      {"104", "tr", "tr", "104", "100 k"},
      {"4R7", "tr", "r4", "47G", "47×0.1Ω"},
      {"1M", "tr", "tr", "105", "1,000 k"},
      {"100n", "r5", "c", "104", "100 nF"},
      {"229", "c", "c", "229", "22×0.1 pF"},
      {"10uH 5%", "r5", "l4", "100G", "10uH 误差率＋－5％"},
      {"4k7", "c", "r4", "472", "4,700Ω"},
      {"220", "c", "", "", ""},  // no third digit 0 on the capacitor code
      // Nor on the chip-resistor code, nor buttons for an EIA-96 or a 4-digit code: a colour mode
      // shows what was printed, five bands where only they have the tolerance.
      {"470", "tr", "r4", "470", "47Ω"},
      {"01C", "tr", "r5", "10021", "10,000Ω 误差率＋－1％"},
      {"1002", "tr", "r4", "103", "10 k"},
      {"4.75k 5%", "r4", "", "", ""},  // three digits, and five-band has only 1 %
      {"10uH 1%", "l4", "", "", ""},
      {"10G", "r5", "", "", ""},  // no grey multiplier button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + c.mode);
    const LookupAnswer a = lookUp(c.text, c.mode);
    ASSERT_TRUE(a.understood) << a.line;
    EXPECT_EQ(a.presses.option, c.option);
    EXPECT_EQ(a.presses.keys, c.keys);
    if (a.presses.option.empty()) {
      EXPECT_TRUE(a.line.find("本窗口的按钮无法按出") != std::string::npos);
      continue;
    }
    auto form = createMainWindow();
    testing::Messages messages;
    messages.attach(*form);
    MarkingKeys keys(*form);
    form->click(c.mode);
    form->click(a.presses.option);
    for (char k : a.presses.keys) EXPECT_NE(keys.type(k), nullptr) << k;
    EXPECT_EQ(messages.shown, std::vector<std::string>{});
    EXPECT_EQ(ValueReading(*form).text(), c.reading);
  }
}

}  // namespace
}  // namespace kalvori
