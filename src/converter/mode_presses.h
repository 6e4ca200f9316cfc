// Which keys make a mode's buttons show a quantity, typed as MarkingKeys::type takes them, in band
// order after the mode's option is chosen: a digit presses that digit's button, G and S gold and
// silver. The buttons set the limits: the colour modes have multipliers black to violet, gold and
// silver; four-band resistors and inductors take the tolerances 5 % (gold) and 10 % (silver), five-
// band resistors only 1 % (brown), and a value without a tolerance band (none given, or ±20 %) stops
// before the tolerance column; the chip-resistor code's third digit is 1 to 7, the capacitor code's
// 1 to 9 (8 and 9 as ×0.01 and ×0.1); a code's first digit is never 0, and at most one of a colour
// code's two leading bands is black. The code modes have no tolerance and show the value alone.
//
// What it deliberately does not do: press anything, or choose among modes (lookup does).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "marking/quantity.h"

namespace kalvori {

// The modes of a family in the order they are tried: resistors four-band, five-band, chip code;
// capacitors the capacitor code; inductors the inductor bands.
std::span<const std::string_view> modesOf(Family family);

// The keys, or none when the mode's buttons cannot show it.
std::optional<std::string> keysFor(const Quantity& q, std::string_view mode);

}  // namespace kalvori
