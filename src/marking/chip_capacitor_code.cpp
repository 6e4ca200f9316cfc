#include "marking/chip_capacitor_code.h"

#include <array>
#include <utility>

namespace kalvori {

namespace {

// EIA-198, the letters of the two-character capacitance code and their significant figures (×10).
constexpr std::array<std::pair<char, int>, 33> kFigures{{
    {'A', 10}, {'B', 11}, {'C', 12}, {'D', 13}, {'E', 15}, {'F', 16}, {'G', 18}, {'H', 20}, {'J', 22},
    {'K', 24}, {'a', 25}, {'L', 27}, {'M', 30}, {'N', 33}, {'b', 35}, {'P', 36}, {'Q', 39}, {'d', 40},
    {'R', 43}, {'e', 45}, {'S', 47}, {'f', 50}, {'T', 51}, {'U', 56}, {'m', 60}, {'V', 62}, {'W', 68},
    {'n', 70}, {'X', 75}, {'t', 80}, {'Y', 82}, {'y', 90}, {'Z', 91},
}};

constexpr int kPicofarads = -12;

}  // namespace

std::optional<Decimal> chipCapacitorCode(std::string_view code) {
  if (code.size() != 2 || code[1] < '0' || code[1] > '9') return std::nullopt;
  // The digit is the power of ten, but 9 stands for ×0.1.
  const int power = code[1] == '9' ? -1 : code[1] - '0';
  for (const auto& [letter, figures] : kFigures)
    if (letter == code[0]) return Decimal::of(static_cast<std::uint64_t>(figures), power - 1 + kPicofarads);
  return std::nullopt;
}

}  // namespace kalvori
