#include "marking/decimal_value.h"

#include <algorithm>

namespace kalvori {

namespace {

constexpr int kMaxWholeDigits = 18;  // 10^18 fits an unsigned 64-bit number with room to spare

std::uint64_t powerOfTen(int n) {
  std::uint64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

}  // namespace

Decimal Decimal::of(std::uint64_t digits, int exponent) {
  if (digits == 0) return {};
  while (digits % 10 == 0) {
    digits /= 10;
    ++exponent;
  }
  return {digits, exponent};
}

int Decimal::significantDigits() const {
  int n = 1;
  for (std::uint64_t d = digits; d >= 10; d /= 10) ++n;
  return n;
}

std::optional<std::uint64_t> Decimal::wholeIn(int unit) const {
  if (isZero()) return 0;
  const int shift = exponent - unit;
  if (shift < 0 || significantDigits() + shift > kMaxWholeDigits) return std::nullopt;
  return digits * powerOfTen(shift);
}

std::string Decimal::text(int unit) const {
  if (isZero()) return "0";
  std::string out = std::to_string(digits);
  const int shift = exponent - unit;
  if (shift >= 0) return out + std::string(static_cast<std::size_t>(shift), '0');
  const int before = static_cast<int>(out.size()) + shift;  // digits before the point
  if (before <= 0) return "0." + std::string(static_cast<std::size_t>(-before), '0') + out;
  out.insert(static_cast<std::size_t>(before), ".");
  return out;
}

bool operator<(const Decimal& a, const Decimal& b) {
  if (a.isZero() || b.isZero()) return a.isZero() && !b.isZero();
  if (a.magnitude() != b.magnitude()) return a.magnitude() < b.magnitude();
  // Same leading power: compare the digits left-aligned to the same length.
  const int width = std::max(a.significantDigits(), b.significantDigits());
  return a.digits * powerOfTen(width - a.significantDigits()) < b.digits * powerOfTen(width - b.significantDigits());
}

}  // namespace kalvori
