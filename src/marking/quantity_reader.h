// Reads what was typed or pasted into the look-up line into a Quantity:
//   values with an SI prefix and a unit, as people type them: "4.7k", "4K7", "4.7 kΩ", "4,700",
//   "4,7k" (decimal comma), "0.1uF", "100nF", "10µH", "4.7mH", "4,700Ω", "47×0.1 uH", "４.７ｋ",
//   "4.7千欧"; the units Ω/ohm/R, F, H;
//   R-notation, a letter as the decimal point: "4R7", "R47", "4k7", "2n2", "4u7";
//   a tolerance after it: "5%", "±1%", "+-1%", "1％", "误差率5%";
//   for parts read by a printed code (chip resistors, capacitors, inductors) three bare digits as
//   that code (Ω, pF with 8 and 9 as ×0.01 and ×0.1, µH), and for chip resistors four bare digits as the 4-digit code ("1002");
//   the EIA-96 code of 1 % chip resistors ("01C", "68X"; H and F only for chip resistors,
//   elsewhere they are henries and farads, and R is always ohms);
//   3, 4 or 5 band colours in order, Chinese or English ("黄紫红金", "yellow violet red gold"), in
//   microhenries for inductors and in ohms otherwise.
// A number with no unit belongs to the part's family and counts in its smallest unit (Ω, pF,
// µH); a prefix that family does not use takes its own ("100n" is 100 nF for a resistor, "4k7"
// 4.7 kΩ for a capacitor).
//
// What it deliberately does not do: round, guess, or read anything else. The reason for a refusal
// is a short Chinese phrase; blank text is neither read nor refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marking/quantity.h"

namespace kalvori {

struct Reading {
  std::optional<Quantity> quantity;
  std::string refusal;  // why not, when the text was not blank and not read
};

Reading readQuantity(std::string_view text, PartKind kind);

}  // namespace kalvori
