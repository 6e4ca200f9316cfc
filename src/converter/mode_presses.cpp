#include "converter/mode_presses.h"

#include <array>

#include "converter/modes.h"
#include "marking/markings.h"

namespace kalvori {

namespace {

constexpr std::array<std::string_view, 3> kResistorModes{kFourBand, kFiveBand, kChipCode};
constexpr std::array<std::string_view, 1> kCapacitorModes{kCapacitorCode};
constexpr std::array<std::string_view, 1> kInductorModes{kInductorBands};

// What a mode's buttons offer.
struct ModeButtons {
  std::string_view mode;
  Family family;
  int places;                   // digit columns
  int lowest, highest;          // powers of the multiplier column
  int leadingZeros;             // black leading bands allowed (one), or none for a printed code
  std::string_view tolerances;  // keys for 1 %, 5 %, 10 % (' ' where the mode has no such button)
};
constexpr ModeButtons kButtons[] = {
    {kFourBand, Family::Resistance, 2, -2, 7, 1, " GS"},     {kFiveBand, Family::Resistance, 3, -2, 7, 1, "1  "},
    {kInductorBands, Family::Inductance, 2, -2, 7, 1, " GS"}, {kChipCode, Family::Resistance, 2, 1, 7, 0, ""},
    {kCapacitorCode, Family::Capacitance, 2, -2, 7, 0, ""},
};

char multiplierKey(int power) { return power >= 0 ? static_cast<char>('0' + power) : power == -1 ? 'G' : 'S'; }

}  // namespace

std::span<const std::string_view> modesOf(Family family) {
  switch (family) {
    case Family::Capacitance:
      return kCapacitorModes;
    case Family::Inductance:
      return kInductorModes;
    default:
      return kResistorModes;
  }
}

std::optional<std::string> keysFor(const Quantity& q, std::string_view mode) {
  const ModeButtons* b = nullptr;
  for (const ModeButtons& m : kButtons)
    if (m.mode == mode) b = &m;
  if (!b || b->family != q.family) return std::nullopt;
  const std::optional<DigitPlaces> p =
      inPlaces(q.value, bareUnitOf(q.family), b->places, b->lowest, b->highest, b->leadingZeros);
  if (!p) return std::nullopt;
  std::string keys;
  for (int d : p->digits) keys += static_cast<char>('0' + d);
  const bool colours = !b->tolerances.empty();
  if (colours) {
    keys += multiplierKey(p->power);
    if (!isBandless(q.tolerance)) {
      constexpr int kPercents[] = {1, 5, 10};
      char key = ' ';
      for (std::size_t i = 0; i < 3; ++i)
        if (*q.tolerance == Decimal::of(static_cast<std::uint64_t>(kPercents[i]), 0)) key = b->tolerances[i];
      if (key == ' ') return std::nullopt;
      keys += key;
    }
  } else if (q.family == Family::Capacitance) {
    if (p->power == 0) return std::nullopt;  // no button for a third digit 0
    keys += p->power < 0 ? static_cast<char>('0' + p->power + 10) : static_cast<char>('0' + p->power);
  } else {
    keys += static_cast<char>('0' + p->power);
  }
  return keys;
}

}  // namespace kalvori
