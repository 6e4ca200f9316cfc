#include "marking/quantity.h"

namespace kalvori {

namespace {

// As the window writes them: "u" for micro, as its capacitor and inductor columns do.
constexpr std::array<Unit, 4> kOhms{{{0, "Ω", 0}, {3, "kΩ", 3}, {6, "MΩ", 6}, {9, "GΩ", 9}}};
// Electrolytics count in microfarads up to thousands; farads begin with the supercapacitors.
constexpr std::array<Unit, 4> kFarads{{{-12, "pF", -12}, {-9, "nF", -9}, {-6, "uF", -6}, {0, "F", -2}}};
// Chip inductors below 0.1 uH are printed and sold in nanohenries ("6N8"); above, in microhenries.
constexpr std::array<Unit, 4> kHenries{{{-9, "nH", -9}, {-6, "uH", -7}, {-3, "mH", -3}, {0, "H", 0}}};

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

int bareUnitOf(Family family) {
  return family == Family::Resistance ? 0 : family == Family::Capacitance ? -12 : -6;
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
    if (u.from <= value.magnitude()) unit = &u;
  return value.text(unit->exponent) + " " + std::string(unit->text);
}

std::string toleranceText(const Tolerance& t) {
  const std::string_view unit = t.picofarads ? " pF" : "%";
  if (t.minus == t.plus) return "±" + t.plus.text() + std::string(unit);
  return "+" + t.plus.text() + "/-" + t.minus.text() + std::string(unit);
}

}  // namespace kalvori
