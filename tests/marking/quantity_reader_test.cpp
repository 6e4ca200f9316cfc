// The reader against what people type: each case names the mode it is typed in and the exact value
// (digits × 10^power in ohms, farads or henries) it must read, grouped by what a fault would break.
#include "marking/quantity_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvori {
namespace {

constexpr Family R = Family::Resistance, F = Family::Capacitance, H = Family::Inductance;
constexpr PartKind RB = PartKind::ResistorBands, IB = PartKind::InductorBands, CC = PartKind::CapacitorCode,
                   TR = PartKind::ChipResistorCode;

struct Case {
  const char* text;
  PartKind kind;
  std::uint64_t digits;
  int power;
  Family family;
  Written written = Written::Value;
};

void expectReads(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " as kind " + std::to_string(static_cast<int>(c.kind)));
    const Reading r = readQuantity(c.text, c.kind);
    ASSERT_TRUE(r.quantity) << r.refusal;
    EXPECT_EQ(r.quantity->value, Decimal::of(c.digits, c.power));
    EXPECT_EQ(r.quantity->family, c.family);
    EXPECT_EQ(r.quantity->written, c.written);
  }
}

TEST(QuantityReader, UnitsAndPrefixes) {
  expectReads({
      {"4.7k", RB, 47, 2, R},        {"4.7 kΩ", RB, 47, 2, R},    {"4.7k\u2126", RB, 47, 2, R},
      {"4700", RB, 47, 2, R},        {"4,700", RB, 47, 2, R},     {"4,7k", RB, 47, 2, R},
      {"1,000,000.5", RB, 10000005, -1, R}, {"0.47", RB, 47, -2, R}, {"1M", RB, 1, 6, R},
      {"1MΩ", RB, 1, 6, R},          {"100 ohms", RB, 1, 2, R},   {"47R", RB, 47, 0, R},
      {"4.7 mΩ", RB, 47, -4, R},     {"100n", RB, 1, -7, F},      {"0.1uF", RB, 1, -7, F},
      {"100nF", CC, 1, -7, F},        {"22p", RB, 22, -12, F},     {"22pF", CC, 22, -12, F},
      {"22pf", CC, 22, -12, F},       {"10uH", RB, 1, -5, H},      {"10µH", RB, 1, -5, H},
      {"10μH", RB, 1, -5, H},        {"4.7mH", RB, 47, -4, H},    {"10 H", RB, 1, 1, H},
      {"4.7", CC, 47, -7, F},         {"10", IB, 1, -5, H},        {"100n", IB, 1, -7, H},
      {"4k7", CC, 47, 2, R, Written::RNotation},        {"47×0.1 uH", IB, 47, -7, H}, {"470×0.1Ω", RB, 47, 0, R},
      // Full-width forms and Chinese units, as an input method gives them.
      {"４.７ｋ", RB, 47, 2, R},     {"４.７ｋΩ", RB, 47, 2, R},   {"4.7千欧", RB, 47, 2, R},
      {"1兆欧", RB, 1, 6, R},        {"470欧", RB, 47, 1, R},     {"22皮法", RB, 22, -12, F},
      {"100纳法", RB, 1, -7, F},     {"4.7微法", RB, 47, -7, F},  {"10微亨", RB, 1, -5, H},
      {"4.7毫亨", RB, 47, -4, H},    {"4。7ｋ", RB, 47, 2, R},
  });
}

TEST(QuantityReader, LetterAsDecimalPoint) {
  const Written P = Written::RNotation;
  expectReads({
      {"4k7", RB, 47, 2, R, P}, {"4K7", RB, 47, 2, R, P},   {"4R7", RB, 47, -1, R, P},
      {"R47", RB, 47, -2, R, P}, {"4r7", RB, 47, -1, R, P}, {"1M5", RB, 15, 5, R, P},
      {"2n2", RB, 22, -10, F, P}, {"4u7", RB, 47, -7, F, P}, {"4u7", IB, 47, -7, H, P},
      {"4R7", IB, 47, -7, H, P}, {"2R2", CC, 22, -13, F, P},  {"4k7Ω", RB, 47, 2, R, P},
  });
}

TEST(QuantityReader, PrintedCodes) {
  const Written C3 = Written::Code3, C4 = Written::Code4, E = Written::Eia96;
  expectReads({
      // Three digits are the code of a code-like mode, a value in the colour modes.
      {"472", TR, 47, 2, R, C3},  {"470", TR, 47, 0, R, C3},  {"472", RB, 472, 0, R},
      {"472", RB, 472, 0, R},     {"220", CC, 22, -12, F, C3}, {"104", CC, 1, -7, F, C3},
      {"229", CC, 22, -13, F, C3}, {"108", CC, 1, -13, F, C3},  {"101", IB, 1, -4, H, C3},
      {"1002", TR, 1, 4, R, C4},  {"4701", TR, 47, 2, R, C4}, {"1002", RB, 1002, 0, R},
      {"4700", CC, 47, -10, F},
      // EIA-96: the index into E96 and a multiplier letter.
      {"01C", TR, 1, 4, R, E},    {"01C", CC, 1, 4, R, E},     {"68X", RB, 499, -1, R, E},
      {"96Z", RB, 976, -3, R, E}, {"10S", RB, 124, -1, R, E}, {"10H", TR, 124, 1, R, E},
      {"10F", TR, 124, 5, R, E},  {"10H", RB, 1, 1, H},       {"10F", CC, 1, 1, F},
      {"47R", TR, 47, 0, R},
  });
}

TEST(QuantityReader, ColoursInOrder) {
  const Written C = Written::Colours;
  expectReads({
      {"黄紫红金", RB, 47, 2, R, C},          {"黄 紫 红 金", RB, 47, 2, R, C},
      {"yellow violet red gold", RB, 47, 2, R, C}, {"Yellow-Violet-Red", CC, 47, 2, R, C},
      {"棕黑黑红咖啡色", RB, 1, 4, R, C},          {"黄色 紫色 金色 金色", RB, 47, -1, R, C},
      {"brown black black gold", IB, 1, -5, H, C}, {"grey gray purple violet brown", RB, 887, 7, R, C},
  });
  // The tolerance band, and none for ±20 %.
  const std::pair<const char*, Decimal> tolerances[] = {{"黄紫红金", Decimal::of(5, 0)}, {"黄紫红银", Decimal::of(1, 1)},
                                                        {"黄紫红", Decimal::of(2, 1)},   {"黄紫黑棕蓝", Decimal::of(25, -2)}};
  for (const auto& [text, percent] : tolerances) EXPECT_EQ(readQuantity(text, RB).quantity->tolerance, percent) << text;
}

TEST(QuantityReader, TypedTolerance) {
  const std::pair<const char*, Decimal> cases[] = {
      {"4k7 5%", Decimal::of(5, 0)},  {"4k7 ±1%", Decimal::of(1, 0)},  {"4k7±1%", Decimal::of(1, 0)},
      {"4k7 +-1%", Decimal::of(1, 0)}, {"4k7 ＋－1％", Decimal::of(1, 0)}, {"4k7 1％", Decimal::of(1, 0)},
      {"4k7 误差率5%", Decimal::of(5, 0)}, {"4,700Ω 误差率＋－5％", Decimal::of(5, 0)}, {"22pF10%", Decimal::of(1, 1)},
      {"4k7 0,5 %", Decimal::of(5, -1)}, {"472 5%", Decimal::of(5, 0)},
  };
  for (const auto& [text, percent] : cases) {
    const Reading r = readQuantity(text, TR);
    ASSERT_TRUE(r.quantity) << text << ": " << r.refusal;
    EXPECT_EQ(r.quantity->tolerance, percent) << text;
  }
}

TEST(QuantityReader, RefusesWithAReason) {
  const std::pair<std::string, std::string> cases[] = {
      {"4k7k", "只能有一个倍率字母"},       {"4.7k7", "倍率字母已当小数点，不能再有小数点"},
      {"abc", "不认识字母“a”"},            {"1e3", "不认识字母“e”"},
      {"4..7", "小数点太多"},               {"4,7,0", "逗号的用法看不懂"},
      {"4 7k", "数字中间不能有空格"},       {"k", "缺少数字"},
      {"-5", "不认识“-”"},                  {"0k", "数值是零"},
      {"0.000000000000000001", "数值超出范围"}, {"1234567890123456", "有效数字太多"},
      {"5%", "只有误差，没有数值"},         {"5% 4k7", "误差要写在数值后面"},
      {"4k7%", "误差前面要有空格或 ±"},     {"4k7 60%", "误差应大于 0、不超过 50%"},
      {"00A", "EIA-96 代码只有 01 到 96"},   {"97C", "EIA-96 代码只有 01 到 96"},
      {"red red", "色环要有 3 到 6 个"},    {"gold red red", "第1环不能是金色"},
      {"黑黑红", "前两环不可能都是黑色"},   {"red red red black", "第4环是误差环，不能是黑色"},
      {"黄紫红金 5%", "色环已经标出误差"},  {"red blue teal", "不认识“teal”"},
      {"4k7 欧元", "不认识“元”"},           {"4\x01k", "含有控制字符"},
      {std::string("4\0k", 3), "含有控制字符"}, {"\xff\xfe", "不是有效的 UTF-8 文字"},
      {"\xc0\xaf", "不是有效的 UTF-8 文字"}, {"\xed\xa0\x80", "不是有效的 UTF-8 文字"},
      {std::string(201, '1'), "太长了"},
  };
  for (const auto& [text, reason] : cases) {
    const Reading r = readQuantity(text, RB);
    EXPECT_FALSE(r.quantity) << text;
    EXPECT_EQ(r.refusal, reason) << text;
  }
  // Blank text is neither read nor refused.
  for (const char* blank : {"", "   ", "\t\n", "\u3000"}) {
    const Reading r = readQuantity(blank, RB);
    EXPECT_FALSE(r.quantity);
    EXPECT_EQ(r.refusal, "") << blank;
  }
}

}  // namespace
}  // namespace kalvori
