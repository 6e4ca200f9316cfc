// The tolerance letters of IEC 60062 printed after a value or a code ("104K", "4K7J", "1M0F"): each
// letter's tolerance in percent, symmetric or not, and the letters that capacitors of 10 pF and less
// use in picofarads instead (B, C, D and F). Also the way back, a tolerance's letter, for drawing the
// print a value would carry.
//
// What it deliberately does not do: decide whether a letter after a value is a tolerance at all (the
// print reader does, from where it stands).
#pragma once

#include <optional>

#include "marking/quantity.h"

namespace kalvori {

// The tolerance letter `letter` (upper case) stands for on a value of `family` and `value`.
std::optional<Tolerance> toleranceOfLetter(char letter, Family family, const Decimal& value);
bool isToleranceLetter(char letter);

// The letter printed for a tolerance, when the table has one.
std::optional<char> letterOfTolerance(const Tolerance& tolerance);

}  // namespace kalvori
