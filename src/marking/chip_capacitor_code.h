// The two-character code of small chip capacitors (EIA-198): a letter for the two significant
// figures (A 1.0, S 4.7, lower case for the figures between: a 2.5, b 3.5) and a digit for the power
// of ten in picofarads, 9 for ×0.1 ("S3" is 4.7 nF, "A2" 100 pF, "J5" 220 nF).
//
// What it deliberately does not do: tell the code from a safety class that looks alike ("X2"); the
// print reader offers both.
#pragma once

#include <optional>
#include <string_view>

#include "marking/decimal_value.h"

namespace kalvori {

// The capacitance in farads of a two-character code, when it is one.
std::optional<Decimal> chipCapacitorCode(std::string_view code);

}  // namespace kalvori
