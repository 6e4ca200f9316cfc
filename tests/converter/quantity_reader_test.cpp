// The reader against what people type: each case names the mode it is typed in and the exact value
// (digits × 10^power in ohms, farads or henries) it must read, grouped by what a fault would break.
#include "converter/quantity_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvori {
namespace {

constexpr Family R = Family::Resistance, F = Family::Capacitance, H = Family::Inductance;

struct Case {
  const char* text;
  const char* mode;
  std::uint64_t digits;
  int power;
  Family family;
  Written written = Written::Value;
};

void expectReads(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + c.mode);
    const Reading r = readQuantity(c.text, c.mode);
    ASSERT_TRUE(r.quantity) << r.refusal;
    EXPECT_EQ(r.quantity->value, Decimal::of(c.digits, c.power));
    EXPECT_EQ(r.quantity->family, c.family);
    EXPECT_EQ(r.quantity->written, c.written);
  }
}

TEST(QuantityReader, UnitsAndPrefixes) {
  expectReads({
      {"4.7k", "r5", 47, 2, R},        {"4.7 kΩ", "r5", 47, 2, R},    {"4.7k\u2126", "r5", 47, 2, R},
      {"4700", "r4", 47, 2, R},        {"4,700", "r4", 47, 2, R},     {"4,7k", "r4", 47, 2, R},
      {"1,000,000.5", "r4", 10000005, -1, R}, {"0.47", "r5", 47, -2, R}, {"1M", "r5", 1, 6, R},
      {"1MΩ", "r5", 1, 6, R},          {"100 ohms", "r5", 1, 2, R},   {"47R", "r5", 47, 0, R},
      {"4.7 mΩ", "r5", 47, -4, R},     {"100n", "r5", 1, -7, F},      {"0.1uF", "r5", 1, -7, F},
      {"100nF", "c", 1, -7, F},        {"22p", "r4", 22, -12, F},     {"22pF", "c", 22, -12, F},
      {"22pf", "c", 22, -12, F},       {"10uH", "r5", 1, -5, H},      {"10µH", "r5", 1, -5, H},
      {"10μH", "r5", 1, -5, H},        {"4.7mH", "r5", 47, -4, H},    {"10 H", "r5", 1, 1, H},
      {"4.7", "c", 47, -13, F},        {"10", "l4", 1, -5, H},        {"100n", "l4", 1, -7, H},
      {"4k7", "c", 47, 2, R, Written::RNotation},        {"47×0.1 uH", "l4", 47, -7, H}, {"470×0.1Ω", "r5", 47, 0, R},
      // Full-width forms and Chinese units, as an input method gives them.
      {"４.７ｋ", "r5", 47, 2, R},     {"４.７ｋΩ", "r5", 47, 2, R},   {"4.7千欧", "r5", 47, 2, R},
      {"1兆欧", "r5", 1, 6, R},        {"470欧", "r5", 47, 1, R},     {"22皮法", "r5", 22, -12, F},
      {"100纳法", "r5", 1, -7, F},     {"4.7微法", "r5", 47, -7, F},  {"10微亨", "r5", 1, -5, H},
      {"4.7毫亨", "r5", 47, -4, H},    {"4。7ｋ", "r5", 47, 2, R},
  });
}

TEST(QuantityReader, LetterAsDecimalPoint) {
  const Written P = Written::RNotation;
  expectReads({
      {"4k7", "r5", 47, 2, R, P}, {"4K7", "r5", 47, 2, R, P},   {"4R7", "r5", 47, -1, R, P},
      {"R47", "r5", 47, -2, R, P}, {"4r7", "r4", 47, -1, R, P}, {"1M5", "r5", 15, 5, R, P},
      {"2n2", "r5", 22, -10, F, P}, {"4u7", "r5", 47, -7, F, P}, {"4u7", "l4", 47, -7, H, P},
      {"4R7", "l4", 47, -7, H, P}, {"2R2", "c", 22, -13, F, P},  {"4k7Ω", "r5", 47, 2, R, P},
  });
}

TEST(QuantityReader, PrintedCodes) {
  const Written C3 = Written::Code3, C4 = Written::Code4, E = Written::Eia96;
  expectReads({
      // Three digits are the code of a code-like mode, a value in the colour modes.
      {"472", "tr", 47, 2, R, C3},  {"470", "tr", 47, 0, R, C3},  {"472", "r5", 472, 0, R},
      {"472", "r4", 472, 0, R},     {"220", "c", 22, -12, F, C3}, {"104", "c", 1, -7, F, C3},
      {"229", "c", 22, -13, F, C3}, {"108", "c", 1, -13, F, C3},  {"101", "l4", 1, -4, H, C3},
      {"1002", "tr", 1, 4, R, C4},  {"4701", "tr", 47, 2, R, C4}, {"1002", "r4", 1002, 0, R},
      {"4700", "c", 47, -10, F},
      // EIA-96: the index into E96 and a multiplier letter.
      {"01C", "tr", 1, 4, R, E},    {"01C", "c", 1, 4, R, E},     {"68X", "r5", 499, -1, R, E},
      {"96Z", "r5", 976, -3, R, E}, {"10S", "r5", 124, -1, R, E}, {"10H", "tr", 124, 1, R, E},
      {"10F", "tr", 124, 5, R, E},  {"10H", "r5", 1, 1, H},       {"10F", "c", 1, 1, F},
      {"47R", "tr", 47, 0, R},
  });
}

TEST(QuantityReader, ColoursInOrder) {
  const Written C = Written::Colours;
  expectReads({
      {"黄紫红金", "r5", 47, 2, R, C},          {"黄 紫 红 金", "r4", 47, 2, R, C},
      {"yellow violet red gold", "r5", 47, 2, R, C}, {"Yellow-Violet-Red", "c", 47, 2, R, C},
      {"棕黑黑红咖啡色", "r5", 1, 4, R, C},          {"黄色 紫色 金色 金色", "r4", 47, -1, R, C},
      {"brown black black gold", "l4", 1, -5, H, C}, {"grey gray purple violet brown", "r5", 887, 7, R, C},
  });
  // The tolerance band, and none for ±20 %.
  const std::pair<const char*, Decimal> tolerances[] = {{"黄紫红金", Decimal::of(5, 0)}, {"黄紫红银", Decimal::of(1, 1)},
                                                        {"黄紫红", Decimal::of(2, 1)},   {"黄紫黑棕蓝", Decimal::of(25, -2)}};
  for (const auto& [text, percent] : tolerances) EXPECT_EQ(readQuantity(text, "r5").quantity->tolerance, percent) << text;
}

TEST(QuantityReader, TypedTolerance) {
  const std::pair<const char*, Decimal> cases[] = {
      {"4k7 5%", Decimal::of(5, 0)},  {"4k7 ±1%", Decimal::of(1, 0)},  {"4k7±1%", Decimal::of(1, 0)},
      {"4k7 +-1%", Decimal::of(1, 0)}, {"4k7 ＋－1％", Decimal::of(1, 0)}, {"4k7 1％", Decimal::of(1, 0)},
      {"4k7 误差率5%", Decimal::of(5, 0)}, {"4,700Ω 误差率＋－5％", Decimal::of(5, 0)}, {"22pF10%", Decimal::of(1, 1)},
      {"4k7 0,5 %", Decimal::of(5, -1)}, {"472 5%", Decimal::of(5, 0)},
  };
  for (const auto& [text, percent] : cases) {
    const Reading r = readQuantity(text, "tr");
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
      {"-5", "不认识“-”"},                  {"0", "数值是零"},
      {"0.000000000000000001", "数值超出范围"}, {"1234567890123456", "有效数字太多"},
      {"5%", "只有误差，没有数值"},         {"5% 4k7", "误差要写在数值后面"},
      {"4k7%", "误差前面要有空格或 ±"},     {"4k7 60%", "误差应大于 0、不超过 50%"},
      {"00A", "EIA-96 代码只有 01 到 96"},   {"97C", "EIA-96 代码只有 01 到 96"},
      {"red red", "色环要有 3 到 5 个"},    {"gold red red", "第1环不能是金色"},
      {"黑黑红", "前两环不可能都是黑色"},   {"red red red black", "第4环是误差环，不能是黑色"},
      {"黄紫红金 5%", "色环已经标出误差"},  {"red blue pink", "不认识“pink”"},
      {"4k7 欧元", "不认识“元”"},           {"4\x01k", "含有控制字符"},
      {std::string("4\0k", 3), "含有控制字符"}, {"\xff\xfe", "不是有效的 UTF-8 文字"},
      {"\xc0\xaf", "不是有效的 UTF-8 文字"}, {"\xed\xa0\x80", "不是有效的 UTF-8 文字"},
      {std::string(201, '1'), "太长了"},
  };
  for (const auto& [text, reason] : cases) {
    const Reading r = readQuantity(text, "r5");
    EXPECT_FALSE(r.quantity) << text;
    EXPECT_EQ(r.refusal, reason) << text;
  }
  // Blank text is neither read nor refused.
  for (const char* blank : {"", "   ", "\t\n", "\u3000"}) {
    const Reading r = readQuantity(blank, "r5");
    EXPECT_FALSE(r.quantity);
    EXPECT_EQ(r.refusal, "") << blank;
  }
}

}  // namespace
}  // namespace kalvori
