// The preferred number series of IEC 60063: E6, E12, E24 (two significant digits) and E48, E96,
// E192 (three), as the standard's own tables give them, one decade each, written as three-digit
// numbers (E24's 4.7 as 470, E192's 9.20 as 920). The tables are data, not the rounding formula:
// E24 holds 2.7, 3.0, 3.3, 3.6, 3.9, 4.3, 4.7 and 8.2, and E192 9.20, where the formula gives other
// values. Also the EIA-96 code of 1 % chip resistors, which numbers the E96 values.
//
// What it deliberately does not do: know units or markings; a value is placed by its digits alone.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "marking/decimal_value.h"

namespace kalvori {

struct ESeries {
  std::string_view name;        // "E24"
  std::span<const int> values;  // 100..999, ascending
};

// E6, E12, E24, E48, E96, E192: the smaller first.
std::span<const ESeries> eSeries();
const ESeries& e24();
const ESeries& e96();

// The smallest series that holds the value (in any decade), or none.
const ESeries* smallestSeriesHolding(const Decimal& value);

// The nearest values of a series below and above a value that it does not hold.
struct Neighbours {
  Decimal below, above;
};
Neighbours neighboursIn(const ESeries& series, const Decimal& value);

// EIA-96: the multiplier of a code letter (Z 10^-3, Y or R 10^-2, X or S 10^-1, A 1, B or H 10,
// C 10^2, D 10^3, E 10^4, F 10^5); and the letter written for a power (the first of two).
std::optional<int> eia96Power(char letter);
std::optional<char> eia96Letter(int power);

}  // namespace kalvori
