// The whole window, built from its design data with every handler bound, ready for Load.
#pragma once

#include <memory>

#include "window/control_model.h"

namespace kalvori {

std::unique_ptr<Form> createMainWindow();

}  // namespace kalvori
