#include "marking/quantity.h"

namespace kalvori {

namespace {

// As the window writes them: "u" for micro, as its capacitor and inductor columns do.
constexpr std::array<Unit, 4> kOhms{{{0, "Ω"}, {3, "kΩ"}, {6, "MΩ"}, {9, "GΩ"}}};
constexpr std::array<Unit, 5> kFarads{{{-12, "pF"}, {-9, "nF"}, {-6, "uF"}, {-3, "mF"}, {0, "F"}}};
constexpr std::array<Unit, 3> kHenries{{{-6, "uH"}, {-3, "mH"}, {0, "H"}}};

}  // namespace

std::span<const Unit> unitsOf(Family family) {
  switch (family) {
    case Family::Capacitance:
      return kFarads;
    case Family::Inductance:
      return kHenries;
    default:
      return kOhms;
  }
}

Family familyOf(PartKind kind) {
  if (kind == PartKind::CapacitorCode) return Family::Capacitance;
  if (kind == PartKind::InductorBands) return Family::Inductance;
  return Family::Resistance;
}

std::string valueText(const Decimal& value, Family family) {
  const std::span<const Unit> units = unitsOf(family);
  const Unit* unit = &units.front();
  for (const Unit& u : units)
    if (u.exponent <= value.magnitude()) unit = &u;
  return value.text(unit->exponent) + " " + std::string(unit->text);
}

std::string toleranceText(const Decimal& percent) { return "±" + percent.text() + "%"; }

}  // namespace kalvori
