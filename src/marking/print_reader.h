// Reads the whole print of a passive part, as typed or pasted into the look-up line, into its
// readings, best first for the kind of part in hand. One small grammar over tables:
//   the text is brought to ASCII (typed_text), a typed tolerance in percent taken off, and the rest
//   cut into fields at blanks, slashes and commas ("104K 2A", "1000uF/16V", "X2 104K 275VAC"); a
//   unit standing apart joins its number ("47 uF");
//   each field is recognised by the tables (print_fields), also where fields run together
//   ("104K100V", "2A104J", "5W10RJ"): a value (value_reader: prefixes, units, R-notation, codes,
//   EIA-96) with a tolerance letter (tolerance_letters), a rated voltage written out ("25V",
//   "1KV", "250VAC", "275V~", "50WV") or coded (voltage_codes: "2A", and the tantalum letter of
//   "107A"), a power ("5W", "1/4W"), a dielectric (dielectric_codes), a safety class (safety_classes), the two-character
//   chip capacitor code (chip_capacitor_code), a film print (".1J100"), a pot's taper letter
//   ("B10K"), a part number ("3296W"); a field may mean several of these;
//   the fields are combined into readings, each field used once, each reading one part's (no
//   voltage on a resistor), and ranked for the kind of part: what its bare numbers mean, the codes
//   it carries. A colour list is a whole print of its own (colour_reader).
// A bare number means what the part in hand makes of it (ohms; a capacitor code, picofarads or,
// with a decimal point, microfarads; an inductor's microhenries); what another part would make of
// it is offered only where the print has more fields than the value.
//
// What it deliberately does not do: guess past the tables, round, or read free text. The reason
// for a refusal names the field not understood; blank text is neither read nor refused.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "marking/print.h"

namespace kalvori {

struct PrintReadings {
  std::vector<PrintReading> readings;  // best first; empty for blank text and for a refusal
  std::string refusal;                 // why not, in Chinese, when the text was not blank and not read
};

PrintReadings readPrint(std::string_view text, PartKind kind);

}  // namespace kalvori
