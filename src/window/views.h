// The window's three views (converter, player, reference panel), switched only by the own flags of
// the frames zov and F2 and of the player's controls; the three information messages; and the
// window's Load.
#pragma once

#include "form/control_model.h"

namespace kalvori {

void bindViews(Form& form);

}  // namespace kalvori
