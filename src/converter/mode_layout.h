// The five converter modes. Selecting a mode re-lays the one window by a fixed, ordered list of
// property writes: columns shown and hidden, headers renumbered, buttons relabelled, value boxes
// emptied, swatches whitened, the unit hint of the mode shown.
//
// What it deliberately does not do: read any property other than its own option button's Value, or
// keep a mode of its own. The mode is simply what the controls show; whatever a layout does not
// write keeps what the previous layout, a band button or the design data left in it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "form/control_model.h"

namespace kalvori {

struct Assignment {
  std::string control;
  Property property;
  PropertyValue value;
};

struct ModeLayout {
  std::string_view option;  // the mode's option button
  bool onlyWhenSelected;    // test the option's own Value first (all modes but the chip-resistor code)
  std::vector<Assignment> steps;
};

// The five layouts, built once: five-band resistor, four-band resistor, inductor, capacitor code,
// three-digit resistor code.
std::span<const ModeLayout> modeLayouts();
const ModeLayout& modeLayout(std::string_view option);

void applyLayout(Form& form, const ModeLayout& layout);
void bindModeButtons(Form& form);

}  // namespace kalvori
