// The rated voltage as capacitors print it in two characters: the EIA-198 / JIS C 5101 code, a digit
// for the power of ten and a letter for the mantissa ("2A" 100 V, "1H" 50 V, "2J" 630 V), printed
// before or after the capacitance ("2A104J"); and the one letter after the code of moulded tantalum
// chips ("107A" is 100 uF at 10 V). Also the way back, a voltage's code.
//
// What it deliberately does not do: read a voltage written out ("25V"); the print reader does.
#pragma once

#include <optional>
#include <string>

#include "marking/decimal_value.h"

namespace kalvori {

// The volts of a two-character code ("2A"), when it is one.
std::optional<Decimal> codedVoltage(char digit, char letter);
// The code of a voltage, when the table has one: 100 V is "2A".
std::optional<std::string> voltageCode(const Decimal& volts);

// The volts of a tantalum chip's voltage letter (G 4 V to T 50 V).
std::optional<Decimal> tantalumVoltage(char letter);

}  // namespace kalvori
