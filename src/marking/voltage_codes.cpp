#include "marking/voltage_codes.h"

#include <array>
#include <utility>

namespace kalvori {

namespace {

// EIA-198 / JIS C 5101, the letter of the voltage code: the mantissa of the rated voltage, in
// tenths of a volt before the digit's power of ten (0J 6.3 V, 1J 63 V, 2J 630 V). The digit runs
// 0 to 3 (up to 3A, 1 kV).
constexpr std::array<std::pair<char, int>, 16> kMantissas{{
    {'A', 100}, {'Q', 110}, {'B', 125}, {'C', 160}, {'Z', 180}, {'D', 200}, {'P', 220}, {'E', 250},
    {'F', 315}, {'V', 350}, {'G', 400}, {'W', 450}, {'H', 500}, {'L', 550}, {'J', 630}, {'K', 800},
}};
constexpr int kHighestDigit = 3;

// The voltage letter of moulded tantalum chip capacitors, printed after the capacitance code, in
// tenths of a volt.
constexpr std::array<std::pair<char, int>, 8> kTantalumLetters{{
    {'G', 40}, {'J', 63}, {'A', 100}, {'C', 160}, {'D', 200}, {'E', 250}, {'V', 350}, {'T', 500},
}};

}  // namespace

std::optional<Decimal> codedVoltage(char digit, char letter) {
  if (digit < '0' || digit > '0' + kHighestDigit) return std::nullopt;
  for (const auto& [l, mantissa] : kMantissas)
    if (l == letter) return Decimal::of(static_cast<std::uint64_t>(mantissa), digit - '0' - 2);
  return std::nullopt;
}

std::optional<std::string> voltageCode(const Decimal& volts) {
  for (int digit = 0; digit <= kHighestDigit; ++digit)
    for (const auto& [l, mantissa] : kMantissas)
      if (Decimal::of(static_cast<std::uint64_t>(mantissa), digit - 2) == volts)
        return std::string{static_cast<char>('0' + digit), l};
  return std::nullopt;
}

std::optional<Decimal> tantalumVoltage(char letter) {
  for (const auto& [l, tenths] : kTantalumLetters)
    if (l == letter) return Decimal::of(static_cast<std::uint64_t>(tenths), -1);
  return std::nullopt;
}

}  // namespace kalvori
