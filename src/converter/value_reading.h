// The reading as one line of text, as the value row reads on screen: the digit boxes and the
// commas that are shown, the suffix, then, where the tolerance box is shown and holds a tolerance,
// a blank and the tolerance ("10,000Ω 误差率＋－1％", "47 k 误差率＋－5％", "4,700 pF").
//
// What it deliberately does not do: compute or convert a value, or look at the mode: it reads
// what the boxes hold and which of them are shown, nothing else. A comma with no digit before it
// (the four-band modes show dd1 while k1 is hidden) is left out.
#pragma once

#include <string>
#include <vector>

#include "form/control_model.h"

namespace kalvori {

class ValueReading {
 public:
  // The value row's controls are looked up here; the form must outlive this object.
  explicit ValueReading(const Form& form);
  std::string text() const;

 private:
  struct Part {
    const Control* control;
    bool comma;  // a comma label (its caption) rather than a box (its text)
  };
  const Form& form_;
  std::vector<Part> row_;
  const Control* tolerance_;
};

}  // namespace kalvori
