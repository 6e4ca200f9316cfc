// The window's five modes: the name of each mode's option button and the kind of part it reads.
// Every other place that speaks of a mode by name (the layouts, the typed keys, the look-up's
// presses, the look-up line) takes the name from here, and checkModes() makes sure at start that
// each names an option button of the window, as Form::id does for a control.
//
// What it deliberately does not do: say what a mode shows (mode_layout does) or which buttons it has
// (mode_presses and marking_keys do).
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "form/control_model.h"
#include "marking/quantity.h"

namespace kalvori {

struct Mode {
  std::string_view option;  // the option button's name
  PartKind kind;
};

// In the order of the option buttons on the window.
inline constexpr std::array<Mode, 5> kModes{{
    {"r5", PartKind::ResistorBands},
    {"r4", PartKind::ResistorBands},
    {"l4", PartKind::InductorBands},
    {"c", PartKind::CapacitorCode},
    {"tr", PartKind::ChipResistorCode},
}};

inline constexpr std::string_view kFiveBand = kModes[0].option, kFourBand = kModes[1].option,
                                  kInductorBands = kModes[2].option, kCapacitorCode = kModes[3].option,
                                  kChipCode = kModes[4].option;

// The kind of part the mode reads; no mode (none selected, or another name) reads resistor bands.
PartKind partKindOf(std::string_view option);
bool isMode(std::string_view option);

// The selected mode's option, or none.
std::optional<std::string_view> selectedMode(const Form& form);

// Throws std::logic_error when a mode's name is no option button of `form`.
void checkModes(const Form& form);

}  // namespace kalvori
