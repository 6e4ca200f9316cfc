// One reading of everything printed on a part: its value (with the tolerance inside the Quantity),
// and every other field a print carries, each as it was read: the rated voltage, the dielectric,
// the temperature coefficient of a sixth band, the power, the taper of a pot, the safety class,
// a part number. A print may have no value at all ("X7R").
//
// What it deliberately does not do: read text (print_reader does) or say anything (answer does).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "marking/dielectric_codes.h"
#include "marking/picture.h"
#include "marking/quantity.h"
#include "marking/safety_classes.h"

namespace kalvori {

struct Voltage {
  Decimal volts;
  bool alternating = false;
  std::string code;  // the two-character code or tantalum letter it was printed as, if it was
  friend bool operator==(const Voltage&, const Voltage&) = default;
};

// The taper letter of a potentiometer: how resistance follows the turn.
enum class Taper { Logarithmic, Linear, ReverseLogarithmic };  // A, B, C

struct PrintReading {
  std::optional<Quantity> quantity;  // none for a print without a value
  bool zeroOhmLink = false;          // a value of zero ohms: a link, not a resistor
  std::optional<Voltage> voltage;
  bool tantalum = false;  // the voltage is a tantalum chip's letter
  std::optional<Dielectric> dielectric;
  std::optional<int> tempco;  // ppm/K, from a sixth band
  std::optional<Decimal> watts;
  std::optional<Taper> taper;
  const SafetyClass* safety = nullptr;
  std::string partNumber;
  std::vector<PaintedBand> bands;  // the colours of a colour list as read, pink included
  friend bool operator==(const PrintReading&, const PrintReading&) = default;
};

}  // namespace kalvori
