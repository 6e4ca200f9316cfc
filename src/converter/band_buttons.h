// Click handlers of the colour buttons a0..a9, b0..b9, b04, c0..c9, c04, d0..d9, e0..e2, and the
// Change handler of k1.
#pragma once

#include <string_view>

#include "form/control_model.h"

namespace kalvori {

// The thousands commas between the digit boxes: a suffix that begins with exactly one zero puts the
// comma after k1, one that begins with two zeros after k2, any other shows neither.
struct Commas {
  bool dd1;
  bool dd2;
};
Commas commasFor(std::string_view suffix);

// The two comma labels, resolved in one form; show() sets them for a suffix as commasFor says.
struct CommaLabels {
  explicit CommaLabels(const Form& form);
  void show(Form& form, std::string_view suffix) const;
  ControlId dd1, dd2;
};

void bindBandButtons(Form& form);

}  // namespace kalvori
