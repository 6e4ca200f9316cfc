#include "reference/reference_panel_design.h"

namespace kalvori {

std::vector<Control> referencePanelControls() { return {}; }

}  // namespace kalvori
