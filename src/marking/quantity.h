// What the look-up line reads out of a typed value or marking: an exact value in ohms, farads or
// henries, its tolerance when one was given, and how it was written. Also the units the window
// writes for each family ("4.7 kΩ", "22 pF", "10 uH"), and the kind of part a print is read for.
//
// What it deliberately does not do: read text (quantity_reader does) or know any marking.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "marking/decimal_value.h"

namespace kalvori {

enum class Family { Resistance, Capacitance, Inductance };

enum class Written {
  Value,      // digits with a prefix or a unit, or a bare number that is no code: "4.7k", "22pF"
  RNotation,  // a letter as the decimal point: "4R7", "R47", "4k7", "2n2"
  Code3,      // two digits and a number of zeros: "472"
  Code4,      // three digits and a number of zeros: "1002"
  Eia96,      // the index of an E96 value and a multiplier letter: "01C"
  Colours,    // band colours in order: "黄紫红金"
};

struct Quantity {
  Decimal value;  // in ohms, farads or henries
  Family family = Family::Resistance;
  std::optional<Decimal> tolerance;  // in percent
  Written written = Written::Value;
};

// A unit the window writes: its power of ten and its text.
struct Unit {
  int exponent;
  std::string_view text;
};

// The units of a family from the smallest up. The smallest is the one a bare number counts in
// (ohms, picofarads as the capacitor code counts, microhenries as the inductor bands count).
std::span<const Unit> unitsOf(Family family);
inline int bareUnitOf(Family family) { return unitsOf(family).front().exponent; }

// The kind of part the user has in hand, as far as they have said: it decides what a bare number
// means (a value in ohms, a capacitor code, an inductor's microhenries) and which reading of a print
// that can mean two things comes first.
enum class PartKind { ResistorBands, InductorBands, CapacitorCode, ChipResistorCode };
Family familyOf(PartKind kind);
// The kinds whose bare three digits are a printed code.
inline bool readsCodes(PartKind kind) { return kind != PartKind::ResistorBands; }

// The value in the largest unit that keeps a digit before the point: "4.7 kΩ", "0.47 Ω", "22 pF".
std::string valueText(const Decimal& value, Family family);
// "±5%", "±0.25%".
std::string toleranceText(const Decimal& percent);

// No tolerance band stands for ±20 %; a band can only say less.
inline bool isBandless(const std::optional<Decimal>& tolerance) {
  return !tolerance || *tolerance == Decimal::of(2, 1);
}

}  // namespace kalvori
