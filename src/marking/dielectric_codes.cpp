#include "marking/dielectric_codes.h"

#include <array>
#include <utility>

namespace kalvori {

namespace {

// EIA-198 class 1, first character: the significant figure of the temperature coefficient, in
// tenths of ppm/K.
constexpr std::array<std::pair<char, int>, 11> kClass1Figures{{
    {'C', 0}, {'B', 3}, {'L', 8}, {'A', 9}, {'M', 10}, {'P', 15}, {'R', 22}, {'S', 33}, {'T', 47}, {'V', 56}, {'U', 75},
}};
// EIA-198 class 1, the digit: the multiplier of that figure.
constexpr std::array<int, 10> kClass1Multipliers{-1, -10, -100, -1000, -10000, 1, 10, 100, 1000, 10000};
// EIA-198 class 1, last character: the tolerance of the coefficient, in ppm/K.
constexpr std::array<std::pair<char, int>, 7> kClass1Tolerances{{
    {'G', 30}, {'H', 60}, {'J', 120}, {'K', 250}, {'L', 500}, {'M', 1000}, {'N', 2500},
}};

// EIA-198 class 2: the lowest temperature (first letter), the highest (digit), in °C.
constexpr std::array<std::pair<char, int>, 3> kLowest{{{'X', -55}, {'Y', -30}, {'Z', 10}}};
constexpr std::array<std::pair<char, int>, 7> kHighest{{{'2', 45}, {'4', 65}, {'5', 85}, {'6', 105}, {'7', 125},
                                                        {'8', 150}, {'9', 200}}};
// EIA-198 class 2, last letter: the change of capacitance over the range, minus and plus, in tenths
// of a percent.
struct Change {
  char letter;
  int minusTenths, plusTenths;
};
constexpr std::array<Change, 12> kChanges{{
    {'A', 10, 10}, {'B', 15, 15}, {'C', 22, 22}, {'D', 33, 33}, {'E', 47, 47}, {'F', 75, 75},
    {'P', 100, 100}, {'R', 150, 150}, {'S', 220, 220}, {'T', 330, 220}, {'U', 560, 220}, {'V', 820, 220},
}};

template <typename Table>
auto find(const Table& table, char key) -> std::optional<decltype(table[0].second)> {
  for (const auto& [k, v] : table)
    if (k == key) return v;
  return std::nullopt;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string tenthsText(long tenths) {
  const std::string sign = tenths < 0 ? "-" : "";
  const long a = tenths < 0 ? -tenths : tenths;
  return sign + Decimal::of(static_cast<std::uint64_t>(a), -1).text();
}

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::optional<Dielectric> readDielectric(std::string_view token) {
  std::string code;
  for (char c : token) code += upper(c);
  // NP0 ("negative-positive zero", also written with the letter O) and COG are C0G.
  if (code == "NP0" || code == "NPO" || code == "COG") {
    Dielectric d;
    d.code = code;
    d.coefficientToleranceTenths = 300;
    return d;
  }
  // The coefficient written out: N750 is -750 ppm/K, P100 +100 ppm/K.
  if (code.size() >= 3 && code.size() <= 5 && (code[0] == 'N' || code[0] == 'P') &&
      allDigits(std::string_view(code).substr(1))) {
    Dielectric d;
    d.code = code;
    const long ppm = std::stol(code.substr(1));
    d.coefficientTenths = (code[0] == 'N' ? -ppm : ppm) * 10;
    return d;
  }
  if (code.size() != 3) return std::nullopt;
  const auto figure = find(kClass1Figures, code[0]);
  const auto tolerance = find(kClass1Tolerances, code[2]);
  if (figure && tolerance && code[1] >= '0' && code[1] <= '9') {
    Dielectric d;
    d.code = code;
    d.coefficientTenths = static_cast<long>(*figure) * kClass1Multipliers[static_cast<std::size_t>(code[1] - '0')];
    d.coefficientToleranceTenths = static_cast<long>(*tolerance) * 10;
    return d;
  }
  const auto lowest = find(kLowest, code[0]);
  const auto highest = find(kHighest, code[1]);
  if (!lowest || !highest) return std::nullopt;
  for (const Change& c : kChanges)
    if (c.letter == code[2]) {
      Dielectric d;
      d.code = code;
      d.dielectricClass = 2;
      d.lowestC = *lowest;
      d.highestC = *highest;
      d.changeMinus = Decimal::of(static_cast<std::uint64_t>(c.minusTenths), -1);
      d.changePlus = Decimal::of(static_cast<std::uint64_t>(c.plusTenths), -1);
      return d;
    }
  return std::nullopt;
}

std::string dielectricWords(const Dielectric& d) {
  if (d.dielectricClass == 2) {
    const std::string change = d.changeMinus == d.changePlus
                                   ? "±" + d.changePlus.text() + "%"
                                   : "+" + d.changePlus.text() + "/-" + d.changeMinus.text() + "%";
    return d.code + "：" + (d.lowestC > 0 ? "+" : "") + std::to_string(d.lowestC) + "…+" + std::to_string(d.highestC) + " °C 内变化 " + change;
  }
  std::string words = d.code + "：" + (d.coefficientTenths > 0 ? "+" : "") + tenthsText(d.coefficientTenths);
  if (d.coefficientToleranceTenths != 0) words += " ±" + tenthsText(d.coefficientToleranceTenths);
  return words + " ppm/K";
}

}  // namespace kalvori
