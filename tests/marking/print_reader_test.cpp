// The print reader on whole prints as they stand on parts: every field read, the readings of a print
// that means two things in the order the part in hand makes likelier, what pasting brings along,
// and refusals that name the field not understood. Readings are compared by their words, which name
// every field.
#include "marking/print_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marking/answer.h"
#include "marking/typed_text.h"

namespace kalvori {
namespace {

constexpr PartKind RB = PartKind::ResistorBands, IB = PartKind::InductorBands, CC = PartKind::CapacitorCode,
                   TR = PartKind::ChipResistorCode;

struct Case {
  const char* text;
  PartKind kind;
  std::vector<std::string> readings;  // the words of each reading, best first
};

void expectReadings(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " as kind " + std::to_string(static_cast<int>(c.kind)));
    const PrintReadings r = readPrint(c.text, c.kind);
    ASSERT_FALSE(r.readings.empty()) << r.refusal;
    std::vector<std::string> words;
    for (const PrintReading& p : r.readings) words.push_back(readingWords(p));
    EXPECT_EQ(words, c.readings);
  }
}

TEST(PrintReader, CapacitorPrintsReadWhole) {
  expectReadings({
      {"104K 2A", CC, {"100 nF ±10%  100 V 直流"}},
      {"2A104J", CC, {"100 nF ±5%  100 V 直流"}},
      {"1H104J", RB, {"100 nF ±5%  50 V 直流"}},
      {"222M 1KV", CC, {"2.2 nF ±20%  1 kV 直流"}},
      {"104K100V", CC, {"100 nF ±10%  100 V 直流"}},
      {".1J100", CC, {"100 nF ±5%  100 V 直流"}},
      {".047J100", RB, {"47 nF ±5%  100 V 直流"}},
      {".22J250", CC, {"220 nF ±5%  250 V 直流"}},
      {"47µF 25V", CC, {"47 uF  25 V 直流"}},
      {"470uF 6.3V", RB, {"470 uF  6.3 V 直流"}},
      {"4.7µ 50V", CC, {"4.7 uF  50 V 直流"}},
      {"1000uF/16V", CC, {"1000 uF  16 V 直流"}},
      {"1000uF,16V", CC, {"1000 uF  16 V 直流"}},
      {"0.47F 5.5V", CC, {"0.47 F  5.5 V 直流"}},
      {"1.0F", CC, {"1 F"}},
      {"47MFD", CC, {"47 uF"}},
      {"100MMFD", CC, {"100 pF"}},
      {".1", CC, {"100 nF"}},
      {"0.047", CC, {"47 nF"}},
      {"47", CC, {"47 pF"}},
      {"47J", CC, {"47 pF ±5%"}},
      {"4p7C", CC, {"4.7 pF ±0.25 pF"}},
      {"6n8J", RB, {"6.8 nF ±5%"}},
      {"X2 104K 275VAC", CC, {"100 nF ±10%  275 V 交流  X2 安规电容：接在电源线之间，耐脉冲至 2.5 kV"}},
      {"104K X7R 50V", CC, {"100 nF ±10%  50 V 直流  X7R：-55…+125 °C 内变化 ±15%"}},
      {"X7R", CC, {"X7R：-55…+125 °C 内变化 ±15%"}},
      {"107A", CC, {"100 uF  10 V 直流（钽电容）"}},
      {"105V", CC, {"1 uF  35 V 直流（钽电容）", "105 V 直流"}},
  });
}

TEST(PrintReader, ResistorAndInductorPrintsReadWhole) {
  expectReadings({
      {"4K7J", RB, {"4.7 kΩ ±5%"}},
      {"4.7 k Ω", RB, {"4.7 kΩ"}},
      {"100 n F", RB, {"100 nF"}},
      {"1M0F", CC, {"1 MΩ ±1%"}},
      {"R33J", RB, {"0.33 Ω ±5%"}},
      {"2R2K", RB, {"2.2 Ω ±10%"}},
      {"5W 0R1J", RB, {"0.1 Ω ±5%  功率 5 W"}},
      {"10W 47RJ", RB, {"47 Ω ±5%  功率 10 W"}},
      {"5W10RJ", RB, {"10 Ω ±5%  功率 5 W"}},
      {"4.7kΩ 1/4W", RB, {"4.7 kΩ  功率 0.25 W"}},
      {"10k 5% 1/2W", RB, {"10 kΩ ±5%  功率 0.5 W"}},
      {"B10K", RB, {"10 kΩ  B 线性电位器"}},
      {"A100K", CC, {"100 kΩ  A 对数电位器"}},
      {"C5K", RB, {"5 kΩ  C 反对数电位器", "C5K：0 ±250 ppm/K"}},
      {"WH148 B100K", RB, {"100 kΩ  B 线性电位器  型号 WH148"}},
      {"3296W 103", RB, {"10 kΩ  型号 3296W", "103 Ω  型号 3296W"}},
      {"brown black black red brown red", RB, {"10 kΩ ±1%  温漂 ±50 ppm/K"}},
      {"000", TR, {"0 Ω 跳线"}},
      {"6N8", IB, {"6.8 nH"}},
      {"101K", IB, {"100 uH ±10%", "100 pF ±10%", "101 kΩ"}},
      {"R47", IB, {"0.47 uH"}},
      {"4R7", IB, {"4.7 uH"}},
  });
}

TEST(PrintReader, TwoMeaningsInTheOrderThePartMakesLikelier) {
  expectReadings({
      // An electrolytic's bare microfarads beside its voltage, or a code with a voltage.
      {"470 6.3V", CC, {"470 uF  6.3 V 直流", "47 pF  6.3 V 直流"}},
      {"470 6.3V", RB, {"470 uF  6.3 V 直流", "47 pF  6.3 V 直流"}},
      {"104 50V", CC, {"100 nF  50 V 直流", "104 uF  50 V 直流"}},
      // A tantalum letter that is a tolerance letter too: tantalum from 1 uF up.
      {"476J", CC, {"47 uF  6.3 V 直流（钽电容）", "47 uF ±5%"}},
      {"104J", CC, {"100 nF ±5%", "100 nF  6.3 V 直流（钽电容）"}},
      // An EIA-96 code whose letter is a unit: henries first but for a chip resistor in hand.
      {"73H", RB, {"73 H", "5.62 kΩ ±1%"}},
      {"73H", TR, {"5.62 kΩ ±1%", "73 H"}},
      // A code with a tolerance letter, or a value with a prefix.
      {"104K", RB, {"104 kΩ", "100 nF ±10%"}},
      {"104K", CC, {"100 nF ±10%", "104 kΩ"}},
      {"X2", CC, {"X2 安规电容：接在电源线之间，耐脉冲至 2.5 kV", "750 pF"}},
      // A bare number means what the part in hand makes of it, alone.
      {"472", RB, {"472 Ω"}},
      {"472", TR, {"4.7 kΩ"}},
      {"472", CC, {"4.7 nF"}},
      {"10K", RB, {"10 kΩ"}},
  });
}

TEST(PrintReader, PastedTextReadsAsTyped) {
  const std::pair<const char*, const char*> same[] = {
      {"4.7\u2009kΩ", "4.7 kΩ"},   {"4.7\u202Fk\u2126", "4.7 kΩ"}, {"4.7\u00A0k\u03A9", "4.7 kΩ"},
      {"\uFEFF10k", "10k"},         {"10\u200Bk", "10 k"},           {"\u202E10k\u202C", "10k"},
      {"\u200E4k7\u200F 5%", "4k7 5%"}, {"4\u2066k7\u2069", "4k7"},  {"4.7\u00B5F", "4.7uF"},
      {"4.7\u03BCF", "4.7uF"},      {"10\u00ADk", "10k"},            {"1\u2060k", "1k"},
  };
  for (const auto& [pasted, typed] : same) {
    const PrintReadings a = readPrint(pasted, RB), b = readPrint(typed, RB);
    ASSERT_FALSE(a.readings.empty()) << typed << ": " << a.refusal;
    EXPECT_EQ(a.readings, b.readings) << typed;
  }
  // What shows nothing is named by its code point, never quoted.
  const std::pair<const char*, const char*> invisible[] = {
      {"10k\u2061", "不认识看不见的字符 U+2061"}, {"10\uFE0Fk", "不认识看不见的字符 U+FE0F"},
      {"1\u0301k", "不认识看不见的字符 U+0301"},   {"1\U000E0041k", "不认识看不见的字符 U+E0041"},
  };
  for (const auto& [text, reason] : invisible) EXPECT_EQ(readPrint(text, RB).refusal, reason);
  EXPECT_EQ(quotedTyped("\u202E4k7\u2061\u200B"), "4k7 ");
}

TEST(PrintReader, LengthLimitInUtf16UnitsAsTheLineCounts) {
  const auto repeated = [](std::string_view piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
  };
  // Chinese characters are one unit each (three bytes), characters past U+FFFF two.
  EXPECT_NE(readPrint(repeated("黄", kMaxTypedChars), RB).refusal, "太长了");
  EXPECT_EQ(readPrint(repeated("黄", kMaxTypedChars + 1), RB).refusal, "太长了");
  EXPECT_NE(readPrint(repeated("\U0001F600", kMaxTypedChars / 2), RB).refusal, "太长了");
  EXPECT_EQ(readPrint(repeated("\U0001F600", kMaxTypedChars / 2 + 1), RB).refusal, "太长了");
  EXPECT_EQ(readPrint("4k7" + repeated(" ", kMaxTypedChars - 3), RB).readings.size(), 1u);
  EXPECT_EQ(readPrint(std::string(1 << 20, '1'), RB).refusal, "太长了");
}

TEST(PrintReader, RefusalsNameWhatIsNotUnderstood) {
  const std::pair<const char*, const char*> cases[] = {
      {"4R7R", "只能有一个倍率字母"},
      {"1RR", "只能有一个倍率字母"},
      {"10k (5%)", "误差要直接写在数值后面，不加括号"},
      {"10k (J)", "不认识括号"},
      {"4k7k 25V", "“4k7k”：只能有一个倍率字母"},
      {"104K 2Y", "不认识字母“Y”"},
      {"10k 25V", "“25V”不是电阻的标注"},
      {"10uH X7R", "“X7R”不是电感的标注"},
      {"47uF 25V 10uF", "有两个数值"},
      {"4 7k", "数字中间不能有空格"},
      {"3296W", "只有型号，没有数值"},
      {"1N4148", "只有型号，没有数值"},
      {"4k7 5% 10%", "误差写了两次"},
      {"2A104J 5%", "误差写了两次"},
      {"100nF 5W", "这些标注不属于同一个元件"},
      {"黄紫红金 5%", "色环已经标出误差"},
      {"1 2 3 4 5 6 7 8 9", "标注的段数太多"},
  };
  for (const auto& [text, reason] : cases) {
    const PrintReadings r = readPrint(text, RB);
    EXPECT_TRUE(r.readings.empty()) << text;
    EXPECT_EQ(r.refusal, reason) << text;
  }
}

TEST(PrintReader, CommaAfterAUnitPartsTheTolerance) {
  const std::pair<const char*, Decimal> cases[] = {
      {"10kΩ,5%", Decimal::of(5, 0)},   {"10kΩ，5%", Decimal::of(5, 0)}, {"100nF,10%", Decimal::of(1, 1)},
      {"10k,5%", Decimal::of(5, 0)},    {"4k7 0,5%", Decimal::of(5, -1)}, {"10kΩ, 5%", Decimal::of(5, 0)},
  };
  for (const auto& [text, percent] : cases) {
    const PrintReadings r = readPrint(text, RB);
    ASSERT_FALSE(r.readings.empty()) << text << ": " << r.refusal;
    EXPECT_EQ(r.readings.front().quantity->tolerance, Tolerance(percent)) << text;
  }
}

}  // namespace
}  // namespace kalvori
