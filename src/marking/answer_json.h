// The look-up's answer as one line of JSON, for the terminal and for scripts:
//   {"readings": [{"value": 0.0000001, "unit": "F", "written": "code3",
//                  "tolerance": {"minus": 10, "plus": 10, "unit": "%"},
//                  "voltage": {"volts": 100, "kind": "DC", "code": "2A"}, ...}, ...],
//    "markings": {"capacitor_code": "104"}, "series": {"name": "E6"}, "refusal": null}
// Readings best first; values in base units (ohm, F, H) written exactly from their decimal digits,
// never rounded and never NaN; field names in English snake_case; a field the print does not carry
// is left out. Markings and series are the first reading's; a refusal is a string.
//
// What it deliberately does not do: say anything of the window (which buttons show it).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "marking/print.h"

namespace kalvori {

std::string answerJson(std::span<const PrintReading> readings, std::string_view refusal);

// `text` as a JSON string, quotes included: control characters as \u00XX, the line and paragraph
// separators escaped too.
std::string jsonString(std::string_view text);

}  // namespace kalvori
