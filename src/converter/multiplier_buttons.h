// The multiplier columns of the capacitor code (dc1..dc9) and of the inductor colour code
// (dl0..dl9). They stand in the place of d0..d9 and write the same suffix box k4.
#pragma once

#include "form/control_model.h"

namespace kalvori {

void bindMultiplierButtons(Form& form);

}  // namespace kalvori
