#include "marking/tolerance_letters.h"

#include <array>
#include <span>

namespace kalvori {

namespace {

struct ToleranceLetter {
  char letter;
  Decimal minus, plus;  // percent
};

// IEC 60062, letter code for tolerances: symmetric ones from ±0.005 % to ±30 %, then the
// asymmetric ones capacitors carry (Z, +80/-20 %, on ceramics of class 2 and electrolytics).
const std::array<ToleranceLetter, 18> kLetters{{
    {'E', Decimal::of(5, -3), Decimal::of(5, -3)},
    {'L', Decimal::of(1, -2), Decimal::of(1, -2)},
    {'P', Decimal::of(2, -2), Decimal::of(2, -2)},
    {'W', Decimal::of(5, -2), Decimal::of(5, -2)},
    {'B', Decimal::of(1, -1), Decimal::of(1, -1)},
    {'C', Decimal::of(25, -2), Decimal::of(25, -2)},
    {'D', Decimal::of(5, -1), Decimal::of(5, -1)},
    {'F', Decimal::of(1, 0), Decimal::of(1, 0)},
    {'G', Decimal::of(2, 0), Decimal::of(2, 0)},
    {'H', Decimal::of(3, 0), Decimal::of(3, 0)},
    {'J', Decimal::of(5, 0), Decimal::of(5, 0)},
    {'K', Decimal::of(1, 1), Decimal::of(1, 1)},
    {'M', Decimal::of(2, 1), Decimal::of(2, 1)},
    {'N', Decimal::of(3, 1), Decimal::of(3, 1)},
    {'Q', Decimal::of(1, 1), Decimal::of(3, 1)},
    {'T', Decimal::of(1, 1), Decimal::of(5, 1)},
    {'S', Decimal::of(2, 1), Decimal::of(5, 1)},
    {'Z', Decimal::of(2, 1), Decimal::of(8, 1)},
}};

// IEC 60062, tolerances on capacitances of 10 pF and less, in picofarads.
const std::array<ToleranceLetter, 4> kPicofaradLetters{{
    {'B', Decimal::of(1, -1), Decimal::of(1, -1)},
    {'C', Decimal::of(25, -2), Decimal::of(25, -2)},
    {'D', Decimal::of(5, -1), Decimal::of(5, -1)},
    {'F', Decimal::of(1, 0), Decimal::of(1, 0)},
}};

const Decimal kTenPicofarads = Decimal::of(1, -11);

}  // namespace

std::optional<Tolerance> toleranceOfLetter(char letter, Family family, const Decimal& value) {
  if (family == Family::Capacitance && !(kTenPicofarads < value))
    for (const ToleranceLetter& t : kPicofaradLetters)
      if (t.letter == letter) return Tolerance(t.minus, t.plus, true);
  for (const ToleranceLetter& t : kLetters)
    if (t.letter == letter) return Tolerance(t.minus, t.plus, false);
  return std::nullopt;
}

bool isToleranceLetter(char letter) {
  for (const ToleranceLetter& t : kLetters)
    if (t.letter == letter) return true;
  return false;
}

std::optional<char> letterOfTolerance(const Tolerance& tolerance) {
  for (const auto& table : {std::span<const ToleranceLetter>(kLetters), std::span<const ToleranceLetter>(kPicofaradLetters)})
    for (const ToleranceLetter& t : table)
      if (Tolerance(t.minus, t.plus, table.data() == kPicofaradLetters.data()) == tolerance) return t.letter;
  return std::nullopt;
}

}  // namespace kalvori
