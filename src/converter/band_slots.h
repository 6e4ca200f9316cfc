// The five band slots under the colour columns: for each, the value box a band's digit or suffix
// goes to, the swatch that shows its colour, the label that names the colour, the label that shows
// the printed code digit (columns b to d), and the heading above it all.
//
// What it deliberately does not do: say which column writes which slot in which mode (the band
// buttons and the mode layouts decide that), or resolve the names (a Form does, when handlers are
// bound).
#pragma once

#include <array>
#include <string_view>

namespace kalvori {

struct BandSlot {
  int number;                   // 1..5 from the left
  std::string_view box;         // k1..k5
  std::string_view swatch;      // kk1..kk5
  std::string_view colourName;  // t6..t10
  std::string_view code;        // k11..k13, empty where the slot has none
  std::string_view heading;     // t1..t5
};

inline constexpr std::array<BandSlot, 5> kBandSlots{{
    {1, "k1", "kk1", "t6", "", "t1"},
    {2, "k2", "kk2", "t7", "k11", "t2"},
    {3, "k3", "kk3", "t8", "k12", "t3"},
    {4, "k4", "kk4", "t9", "k13", "t4"},
    {5, "k5", "kk5", "t10", "", "t5"},
}};

// The slot whose swatch is `name`, if any.
inline constexpr const BandSlot* slotOfSwatch(std::string_view name) {
  for (const BandSlot& s : kBandSlots)
    if (s.swatch == name) return &s;
  return nullptr;
}

}  // namespace kalvori
