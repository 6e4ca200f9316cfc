// The dielectric codes printed on ceramic capacitors, read by their rule rather than from a list:
// class 1 (EIA-198: a letter for the temperature coefficient's figure, a digit for its multiplier,
// a letter for its tolerance: C0G is 0 ± 30 ppm/K, U2J -750 ± 120 ppm/K; NP0 is C0G's other name;
// N750 and P100 the coefficient written out) and class 2 (EIA-198: a letter for the lowest
// temperature, a digit for the highest, a letter for the change of capacitance over that range:
// X7R is -55 to +125 °C within ±15 %).
//
// What it deliberately does not do: know which code a maker prefers, or read anything but the
// three (or four, five) characters of a code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marking/decimal_value.h"

namespace kalvori {

struct Dielectric {
  std::string code;  // as printed, upper case: "X7R", "C0G"
  int dielectricClass = 1;
  // Class 1: the temperature coefficient and its tolerance, in tenths of ppm/K (U2J: -7500, 1200).
  long coefficientTenths = 0, coefficientToleranceTenths = 0;
  // Class 2: the temperature range in °C and the change over it, in percent.
  int lowestC = 0, highestC = 0;
  Decimal changeMinus, changePlus;
  friend bool operator==(const Dielectric&, const Dielectric&) = default;
};

std::optional<Dielectric> readDielectric(std::string_view token);

// "X7R：-55…+125 °C 内变化 ±15%", "C0G：0 ±30 ppm/K".
std::string dielectricWords(const Dielectric& d);

}  // namespace kalvori
