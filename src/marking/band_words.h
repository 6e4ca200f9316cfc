// The band colours as words and as what a band of each colour means beyond its digit: the English
// names (with the other spellings people type), the Chinese names as BandColour holds them, the
// multiplier of a multiplier band, the tolerance of a tolerance band and the temperature
// coefficient of a sixth band, as the resistor and inductor colour code of IEC 60062 gives them.
// Also pink, the multiplier ×0.001 of IEC 60062:2016, which parts carry but the window has no
// button for: it has its own colour here, printed only.
//
// What it deliberately does not do: hold the Chinese names or the window's texts (BandColour does),
// or know which buttons the window has for a band.
#pragma once

#include <optional>
#include <string_view>

#include "marking/band_colour.h"
#include "marking/decimal_value.h"

namespace kalvori {

std::string_view englishName(Band band);
// "violet" and "purple", "grey" and "gray", in any case.
std::optional<Band> bandFromEnglish(std::string_view word);
// A one-character Chinese name of BandColour ("黄").
std::optional<Band> bandNamed(std::string_view name);

// The power of ten of a multiplier band: black 0 to white 9, gold -1, silver -2.
int multiplierPower(Band band);
std::optional<Band> multiplierBand(int power);

// The tolerance a tolerance band stands for, in percent: brown 1, red 2, green 0.5, blue 0.25,
// violet 0.1, grey 0.05, gold 5, silver 10; the other colours are no tolerance band.
std::optional<Decimal> bandTolerance(Band band);
std::optional<Band> toleranceBand(const Decimal& percent);

// The temperature coefficient of a sixth band, in ppm/K: black 250, brown 100, red 50, orange 15,
// yellow 25, green 20, blue 10, violet 5, grey 1; white, gold and silver stand for none.
std::optional<int> bandTempco(Band band);

// Pink: a multiplier band of 10^-3, drawn in a colour of its own.
inline constexpr std::string_view kPinkEnglish = "pink";
inline constexpr std::string_view kPinkName = "粉";
inline constexpr BandRgb kPinkSwatch = 0x00CBC0FF;  // RGB 255, 192, 203
inline constexpr int kPinkPower = -3;
bool isPinkWord(std::string_view word);

}  // namespace kalvori
