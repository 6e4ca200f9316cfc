// The fields of a print one at a time, for the print reader: every meaning one field may have
// ("104K" is 104 kΩ, or 100 nF ±10 %; "X2" a safety class or 750 pF), each as the part of a
// reading it gives, with how well it suits the kind of part in hand. Fields run together are taken
// apart here ("104K100V", "2A104J", "5W10RJ"), each piece recognised by its table: values with a
// tolerance letter or a tantalum voltage letter, voltages written out or coded, powers, film prints,
// tapers, dielectrics, safety classes, the chip capacitor code, and as a last resort a part number.
//
// What it deliberately does not do: combine the fields of a print or rank whole readings (the print
// reader does), or read colours (colour_reader does).
#pragma once

#include <string_view>
#include <vector>

#include "marking/print.h"

namespace kalvori {

// Part of a reading, as one field (or one group of fields run together) gives it.
struct Piece {
  PrintReading fields;
  int fit = 0;                // how well it suits the part in hand: readings are ranked by its sum
  bool otherSense = false;    // a bare number as another kind of part would read it
  bool needsVoltage = false;  // a bare number as an electrolytic's microfarads, printed beside its voltage
};

// Adds `b` to `a`; false when both carry the same field.
bool merge(Piece& a, const Piece& b);
// Within the values any component has: 10^-15 to 10^15 ohms, farads or henries, not zero.
bool inRange(const Decimal& v);

// Every meaning of one field, none when it has none. `unitApart`: its last letters were written
// apart from the number ("100 H"), as a unit is and a tolerance letter is not.
std::vector<Piece> fieldMeanings(std::string_view field, PartKind kind, bool unitApart);

}  // namespace kalvori
