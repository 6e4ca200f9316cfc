// Reading band colours written in order, Chinese or English ("黄紫红金", "yellow violet red gold"):
// one black band (a zero-ohm link), three bands (two digits and a multiplier; ±20 %), four (and a
// tolerance), five (three digits) or six (and a temperature coefficient), with pink as the
// multiplier ×0.001 of IEC 60062:2016. Values are in microhenries for inductors, in ohms otherwise.
//
// What it deliberately does not do: read anything but colours; a colour list is a whole print.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marking/print.h"

namespace kalvori {

// Whether the text's first word is a colour, so that the whole text is read as colours.
bool startsWithColour(std::string_view ascii);
std::optional<PrintReading> readColours(std::string_view ascii, PartKind kind, std::string& why);

}  // namespace kalvori
