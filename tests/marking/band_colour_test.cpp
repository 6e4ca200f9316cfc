// The colour table against its literal values and the encoding rules the literals depend on.
#include "marking/band_colour.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvori {
namespace {

// Decodes UTF-8 into code points, so that signs are checked by number, not by look.
std::u32string codePoints(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const int len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t cp = len == 1 ? b : b & (0x7F >> len);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += len;
  }
  return out;
}

TEST(BandColour, EveryRowHoldsItsLiterals) {
  struct Row {
    char32_t name;
    BandRgb swatch;
    std::optional<BandRgb> strip;
    std::optional<std::string_view> suffix, tolerance;
  };
  const Row rows[] = {
      {U'\u9ED1', 0x00000000, 0x00000000, "Ω", {}},
      {U'\u68D5', 0x000040C0, 0x000040C0, "0Ω", "误差率＋－1％"},
      {U'\u7EA2', 0x000000FF, 0x000000FF, "00Ω", {}},
      {U'\u6A59', 0x000080FF, 0x000080FF, " k", {}},
      {U'\u9EC4', 0x0000FFFF, 0x0000FFFF, "0 k", {}},
      {U'\u7EFF', 0x0000C000, 0x0000C000, "00 k", {}},
      {U'\u84DD', 0x00FF0000, 0x00FF0000, " M", {}},
      {U'\u7D2B', 0x00C000C0, 0x00C000C0, "0 M", {}},
      {U'\u7070', 0x00E0E0E0, 0x00C0C0C0, {}, {}},
      {U'\u767D', 0x00FFFFFF, 0x00FFFFFF, {}, {}},
      {U'\u91D1', 0x00C0FFFF, {}, "×0.1Ω", "误差率＋－5％"},
      {U'\u94F6', 0x00E0E0E0, {}, "×0.01Ω", "误差率＋－10％"},
  };
  for (std::size_t i = 0; i < kBandCount; ++i) {
    SCOPED_TRACE(i);
    const BandColour& b = kBandColours[i];
    EXPECT_EQ(codePoints(b.name), std::u32string(1, rows[i].name));
    EXPECT_EQ(b.swatch, rows[i].swatch);
    EXPECT_EQ(b.strip, rows[i].strip);
    EXPECT_EQ(b.suffix, rows[i].suffix);
    EXPECT_EQ(b.tolerance, rows[i].tolerance);
    if (i < 10) {
      // Name, exactly six blanks, the digit: eight characters.
      EXPECT_EQ(b.digit, static_cast<int>(i));
      std::u32string caption = std::u32string(1, rows[i].name) + U"      " + char32_t(U'0' + i);
      EXPECT_EQ(codePoints(b.caption), caption);
    } else {
      EXPECT_FALSE(b.digit.has_value());
      EXPECT_EQ(b.caption, b.name);
    }
  }
}

TEST(BandColour, SignsAreTheExactCodePoints) {
  EXPECT_EQ(codePoints(*bandColour(Band::Black).suffix), U"\u03A9");           // Greek capital omega
  EXPECT_EQ(codePoints(*bandColour(Band::Gold).suffix), U"\u00D70.1\u03A9");   // multiplication sign
  EXPECT_EQ(codePoints(*bandColour(Band::Silver).tolerance), U"误差率\uFF0B\uFF0D10\uFF05");
  EXPECT_EQ(codePoints(*bandColour(Band::Brown).tolerance), U"误差率\uFF0B\uFF0D1\uFF05");
}

TEST(BandColour, SuffixesAreZerosThenTheUnitOfTheDigitsGroup) {
  const char* units[] = {"Ω", " k", " M"};
  for (int d = 0; d <= 7; ++d) {
    std::string expected = std::string(static_cast<std::size_t>(d % 3), '0') + units[d / 3];
    EXPECT_EQ(*digitColour(d).suffix, expected) << d;
  }
}

TEST(BandColour, OnlyBlackIsZeroAndLookups) {
  for (const BandColour& b : kBandColours) EXPECT_EQ(b.swatch == 0, b.band == Band::Black);
  EXPECT_EQ(multiplierRow(0), Band::Black);
  EXPECT_EQ(multiplierRow(7), Band::Violet);
  EXPECT_EQ(multiplierRow(8), Band::Gold);
  EXPECT_EQ(multiplierRow(9), Band::Silver);
  EXPECT_EQ(&digitColour(4), &bandColour(Band::Yellow));
}

}  // namespace
}  // namespace kalvori
