// Reading one value as it is typed or printed, the smallest piece of a print: a number with an SI
// prefix and a unit ("4.7k", "0.1uF", "4,700Ω", "47MFD"), a letter as the decimal point ("4R7",
// "4k7", "2n2"), a factor ("47×0.1 uH"), the three- and four-digit codes ("472", "1002") and EIA-96
// ("01C"); also a typed tolerance in percent at the end of a text ("5%", "±1 %", "10kΩ,5%"). The
// small helpers the print reader shares with it stand here too.
//
// What it deliberately does not do: read more than one field, or choose between the meanings a
// piece may have (the print reader asks for each and ranks them). Nothing is rounded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marking/quantity.h"

namespace kalvori {

bool isDigit(char c);
bool isLetter(char c);
bool isNumberChar(char c);  // a digit, a point or a comma
char upper(char c);
// An SI prefix letter of a value, or R as its point: "k", "M", "n", "u", "p", "m", "R".
bool isPrefixLetter(char c);
bool allDigits(std::string_view s);
std::string_view trimmed(std::string_view s);
// Whether `s` ends with the lower-case `word`, in any case.
bool endsWithWord(std::string_view s, std::string_view word);

// Digits with at most one decimal point (or decimal comma) and thousands commas.
std::optional<Decimal> plainNumber(std::string_view s, std::string& why);
// A tolerance at the end of `s` ("5%", "± 1 %", "+-0.5%"), which it takes off `s`; the reason in
// `why` when there is none that can be read.
std::optional<Decimal> takeTolerance(std::string_view& s, std::string& why);

// A number with a prefix or a unit, or a letter as its point, or a factor. Without a unit, the
// number belongs to the family of `kind`, unless its prefix names another.
std::optional<Quantity> readValue(std::string_view body, PartKind kind, std::string& why);
// Three or four digits as the code of `family`: two or three figures and a number of zeros, in its
// bare unit (8 and 9 are ×0.01 and ×0.1 for capacitors).
Quantity readCode(std::string_view digits, Family family);
// Two digits and an EIA-96 multiplier letter.
bool looksEia96(std::string_view body);
std::optional<Quantity> readEia96(std::string_view body, std::string& why);

}  // namespace kalvori
