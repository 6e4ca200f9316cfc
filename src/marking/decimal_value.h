// An exact decimal number as people write component values: whole significant digits times a power
// of ten (4.7 k is 47 × 10^2). Values are read into it digit by digit and written out from it, so
// that nothing is ever rounded: 4.75 k stays three significant digits and has no two-digit marking.
//
// What it deliberately does not do: arithmetic beyond scaling by powers of ten, or hold more than
// kMaxSignificant digits (the reader refuses longer numbers before they get here).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kalvori {

struct Decimal {
  static constexpr int kMaxSignificant = 15;

  std::uint64_t digits = 0;  // no trailing zero, unless the value is zero
  int exponent = 0;          // value = digits × 10^exponent

  // Drops trailing zeros into the exponent, so that equal values have equal fields.
  static Decimal of(std::uint64_t digits, int exponent);

  bool isZero() const { return digits == 0; }
  int significantDigits() const;
  // The power of ten of the leading digit: 4.7 k is 3.
  int magnitude() const { return exponent + significantDigits() - 1; }
  // The value as a whole number of units of 10^unit (4.7 k in units of 10^2 is 47), when it is one
  // below 10^18.
  std::optional<std::uint64_t> wholeIn(int unit) const;
  // The value divided by 10^unit, written out in full: "4.7", "0.047", "4700".
  std::string text(int unit = 0) const;

  friend bool operator==(const Decimal&, const Decimal&) = default;
};

// Orders by value (both positive or zero).
bool operator<(const Decimal& a, const Decimal& b);

}  // namespace kalvori
