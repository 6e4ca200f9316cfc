#include "window/main_window.h"

#include "converter/band_buttons.h"
#include "converter/mode_layout.h"
#include "converter/multiplier_buttons.h"
#include "window/main_window_design.h"
#include "window/views.h"

namespace kalvori {

std::unique_ptr<Form> createMainWindow() {
  auto form = std::make_unique<Form>(mainWindowFrame(), mainWindowControls());
  bindBandButtons(*form);
  bindMultiplierButtons(*form);
  bindModeButtons(*form);
  bindViews(*form);
  return form;
}

}  // namespace kalvori
