// The design data of the window Kalvori: its own properties and every control, in design order
// (which is also the stacking order: earlier on top among siblings of the same layer).
#pragma once

#include <vector>

#include "form/control_model.h"

namespace kalvori {

Form::Window mainWindowFrame();
std::vector<Control> mainWindowControls();

}  // namespace kalvori
