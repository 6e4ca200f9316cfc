// The markings a value carries: its colour bands (four-band: two digits; five-band: three digits;
// then the multiplier, black 10^0 to white 10^9, gold 10^-1, silver 10^-2, then the tolerance band
// when the tolerance has one), the chip-resistor codes (three characters, "472" or "4R7"; four,
// "4751" or "47R5"; EIA-96, "01C") and the capacitor code ("220": two digits and a number of zeros
// in picofarads, 8 and 9 for ×0.01 and ×0.1). Also the one rule they share, DigitPlaces.
//
// What it deliberately does not do: round a value to fit a marking (4.75 k has no four-band
// marking), or know the window's buttons (mode_presses does).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "marking/band_colour.h"
#include "marking/quantity.h"

namespace kalvori {

// A value written in a fixed number of digit places and a power of ten: 4.7 k in two places is
// 47 × 10^2, 0.05 in two places with the power at least -2 is 05 × 10^-2 (one leading zero).
struct DigitPlaces {
  std::vector<int> digits;
  int power;
};
// `unit` is the power of ten the marking counts in (0 for ohms, -12 for the capacitor code's pF);
// the power lies in lowest..highest, with at most `leadingZeros` zero places in front.
std::optional<DigitPlaces> inPlaces(const Decimal& value, int unit, int places, int lowest, int highest,
                                    int leadingZeros);

// Colour bands in ohms or microhenries; `digitBands` is 2 (four-band) or 3 (five-band).
std::optional<std::vector<Band>> colourBands(const Quantity& q, int digitBands);
// The Chinese names one after another: "黄紫红金".
std::string bandNames(const std::vector<Band>& bands);

// The chip-resistor code of `length` characters (3 or 4), digits and zeros or with R as the point.
std::optional<std::string> chipCode(const Decimal& ohms, int length);
std::optional<std::string> eia96Code(const Decimal& ohms);
std::optional<std::string> capacitorCode(const Decimal& farads);
// The code of a chip inductor: nanohenries below 0.1 uH with N as the point ("6N8", "47N"),
// microhenries below 10 uH with R ("R47", "4R7"), above them the three-digit code ("100", "101").
std::optional<std::string> inductorChipCode(const Decimal& henries);

}  // namespace kalvori
