// The value of the likeliest reading of what was typed or pasted into the look-up line, for the
// callers that want the value alone: the print reader reads the whole print (see print_reader.h for
// what is read), and this takes the value of its first reading, with its tolerance.
//
// What it deliberately does not do: read anything itself, or keep the other fields of a print. A
// print without a value ("X7R") is refused here with "没有数值"; blank text is neither read nor
// refused.
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
