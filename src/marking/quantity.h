// What the look-up line reads out of a typed value or marking: an exact value in ohms, farads or
// henries, its tolerance when one was given (in percent, or in picofarads for the smallest
// capacitors; symmetric or not), and how it was written. Also the units the window writes for each
// family ("4.7 kΩ", "22 pF", "10 uH", and "6.8 nH" for the smallest inductors), and the kind of part
// a print is read for.
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

// A tolerance below and above the value. Most are symmetric and in percent ("±5%"); a few printed
// letters are not ("+80/-20%"), and capacitors of 10 pF and less count theirs in picofarads.
struct Tolerance {
  Decimal minus, plus;
  bool picofarads = false;

  Tolerance() = default;
  // A symmetric tolerance in percent, as the bands and most prints give it.
  Tolerance(Decimal percent) : minus(percent), plus(percent) {}  // NOLINT(google-explicit-constructor)
  Tolerance(Decimal minus, Decimal plus, bool picofarads) : minus(minus), plus(plus), picofarads(picofarads) {}

  // The percent of a symmetric tolerance in percent: the only kind a tolerance band can show.
  std::optional<Decimal> symmetricPercent() const {
    return minus == plus && !picofarads ? std::optional<Decimal>(plus) : std::nullopt;
  }
  friend bool operator==(const Tolerance&, const Tolerance&) = default;
};

struct Quantity {
  Decimal value;  // in ohms, farads or henries
  Family family = Family::Resistance;
  std::optional<Tolerance> tolerance;
  Written written = Written::Value;
  friend bool operator==(const Quantity&, const Quantity&) = default;
};

// A unit the window writes: its power of ten, its text, and the lowest magnitude written in it (a
// value of 0.47 uH stays in microhenries, 68 nH goes to nanohenries).
struct Unit {
  int exponent;
  std::string_view text;
  int from;
};

// The units of a family from the smallest up.
std::span<const Unit> unitsOf(Family family);
// The unit a bare number counts in: ohms, picofarads as the capacitor code counts, microhenries as
// the inductor bands count.
int bareUnitOf(Family family);

// The kind of part the user has in hand, as far as they have said: it decides what a bare number
// means (a value in ohms, a capacitor code, an inductor's microhenries) and which reading of a print
// that can mean two things comes first.
enum class PartKind { ResistorBands, InductorBands, CapacitorCode, ChipResistorCode };
Family familyOf(PartKind kind);
// The kinds whose bare three digits are a printed code.
inline bool readsCodes(PartKind kind) { return kind != PartKind::ResistorBands; }

// The value in the largest unit that keeps a digit before the point: "4.7 kΩ", "0.47 Ω", "22 pF".
std::string valueText(const Decimal& value, Family family);
// "±5%", "±0.25%", "+80/-20%", "±0.25 pF".
std::string toleranceText(const Tolerance& tolerance);

// No tolerance band stands for ±20 %; a band can only say less.
inline bool isBandless(const std::optional<Tolerance>& tolerance) {
  return !tolerance || *tolerance == Tolerance(Decimal::of(2, 1));
}

}  // namespace kalvori
