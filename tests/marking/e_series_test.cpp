// The series tables against IEC 60063: the values the standard prints where they differ from the
// rounding formula, every series against the formula elsewhere, how the series nest, and the places
// and neighbours of values.
#include "marking/e_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace kalvori {
namespace {

std::span<const int> valuesOf(std::string_view name) {
  for (const ESeries& s : eSeries())
    if (s.name == name) return s.values;
  ADD_FAILURE() << name;
  return {};
}

TEST(ESeries, TablesAreTheStandardsOwn) {
  // Where the standard departs from 10^(i/n) rounded: E24 (and so E12 and E6) in eight places,
  // E192 in one (9.20 for 9.19). Elsewhere the formula, to two or three significant digits.
  const std::map<std::string, std::map<int, int>> departures = {
      {"E6", {{3, 330}, {4, 470}}},
      {"E12", {{5, 270}, {6, 330}, {7, 390}, {8, 470}, {11, 820}}},
      {"E24", {{10, 270}, {11, 300}, {12, 330}, {13, 360}, {14, 390}, {15, 430}, {16, 470}, {22, 820}}},
      {"E48", {}},
      {"E96", {}},
      {"E192", {{185, 920}}},
  };
  for (const auto& [name, differs] : departures) {
    const std::span<const int> values = valuesOf(name);
    const int n = std::stoi(name.substr(1));
    ASSERT_EQ(values.size(), static_cast<std::size_t>(n)) << name;
    const bool twoDigits = n <= 24;
    for (int i = 0; i < n; ++i) {
      const long rounded = std::lround(std::pow(10.0, i / static_cast<double>(n)) * (twoDigits ? 10 : 100));
      const int formula = static_cast<int>(twoDigits ? rounded * 10 : rounded);
      const auto special = differs.find(i);
      EXPECT_EQ(values[static_cast<std::size_t>(i)], special == differs.end() ? formula : special->second)
          << name << " value " << i;
    }
  }
  // Each series is every other value of the next larger one.
  const std::pair<const char*, const char*> nested[] = {{"E6", "E12"}, {"E12", "E24"}, {"E48", "E96"}, {"E96", "E192"}};
  for (const auto& [small, large] : nested)
    for (std::size_t i = 0; i < valuesOf(small).size(); ++i)
      EXPECT_EQ(valuesOf(small)[i], valuesOf(large)[2 * i]) << small << " in " << large;
}

TEST(ESeries, SmallestSeriesAndNeighbours) {
  struct Case {
    Decimal value;
    const char* series;  // "" for none
    Decimal below, above;
  };
  const Decimal none;
  const Case cases[] = {
      {Decimal::of(47, 2), "E6", none, none},
      {Decimal::of(1, -2), "E6", none, none},
      {Decimal::of(27, 0), "E12", none, none},
      {Decimal::of(3, 0), "E24", none, none},
      {Decimal::of(51, 3), "E24", none, none},
      {Decimal::of(91, -12), "E24", none, none},
      {Decimal::of(105, 0), "E48", none, none},
      {Decimal::of(102, 3), "E96", none, none},
      {Decimal::of(499, -1), "E96", none, none},
      {Decimal::of(92, -1), "E192", none, none},
      {Decimal::of(101, 0), "E192", none, none},
      // E192 has 9.20, not 9.19; 9.1 is E24.
      {Decimal::of(919, -2), "", Decimal::of(91, -1), Decimal::of(1, 1)},
      {Decimal::of(48, 2), "", Decimal::of(47, 2), Decimal::of(51, 2)},
      {Decimal::of(95, 0), "", Decimal::of(91, 0), Decimal::of(1, 2)},
      {Decimal::of(1001, 0), "", Decimal::of(1, 3), Decimal::of(11, 2)},
      {Decimal::of(4749, -3), "", Decimal::of(47, -1), Decimal::of(51, -1)},
      {Decimal::of(285, -2), "", Decimal::of(27, -1), Decimal::of(3, 0)},  // E96 has 2.80, not 2.85
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.text());
    const ESeries* s = smallestSeriesHolding(c.value);
    EXPECT_EQ(s ? s->name : "", std::string_view(c.series));
    if (!s) {
      const Neighbours n = neighboursIn(e24(), c.value);
      EXPECT_EQ(n.below, c.below);
      EXPECT_EQ(n.above, c.above);
    }
  }
}

}  // namespace
}  // namespace kalvori
