// The design data of the reference panel: the children of the frame F2, in design order.
#pragma once

#include <vector>

#include "form/control_model.h"

namespace kalvori {

std::vector<Control> referencePanelControls();

}  // namespace kalvori
