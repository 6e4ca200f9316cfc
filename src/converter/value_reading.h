// The reading as one line of text, twice over. As the value row reads on screen: the digit boxes
// and the commas that are shown, the suffix, then, where the tolerance box is shown and holds a
// tolerance, a blank and the tolerance ("10,000Ω 误差率＋－1％", "47 k 误差率＋－5％", "4,700 pF").
// And as Ctrl+C copies it: a value with its unit, worked out where the row shows a multiplier
// rather than a value ("47 kΩ 误差率＋－5％", "470×0.1Ω" as "47Ω"), and an entry whose digit or
// multiplier bands are not all chosen marked as unfinished, never passed off as a value.
//
// What it deliberately does not do: look at the mode or know a band's meaning beyond the suffixes
// of the colour table: it reads what the boxes and the band labels hold and which of them are
// shown, nothing else. A comma with no digit before it (the four-band modes show dd1 while k1 is
// hidden) is left out.
#pragma once

#include <string>
#include <vector>

#include "form/control_model.h"

namespace kalvori {

class ValueReading {
 public:
  // The value row's controls are looked up here; the form must outlive this object.
  explicit ValueReading(const Form& form);
  // The row as the window shows it; empty when nothing is chosen.
  std::string text() const;
  // What is copied: the row where it already says a value with its unit ("10,000Ω", "4,700 pF",
  // "47uH"); the unit added where a resistor multiplier writes only its prefix ("47 kΩ"); the value
  // worked out where the suffix is a gold or silver factor ("470×0.1Ω" as "47Ω", "22×0.1 pF" as
  // "2.2 pF"); the tolerance after it as shown. Unfinished (a digit or multiplier band shown but
  // not chosen): "（未读完）" and the row as it stands. Empty when no band is chosen.
  std::string copied() const;

 private:
  struct Part {
    const Control* control;
    bool comma;  // a comma label (its caption) rather than a box (its text)
  };
  // The slots of the digit and multiplier bands: the box, and the labels that name its choice.
  struct Slot {
    const Control* box;
    const Control* colourName;
    const Control* code;  // none where the slot has no printed code digit
  };
  std::string number() const;  // the digit boxes and the commas shown between them
  std::string withTolerance(std::string line) const;  // a blank and the tolerance, where shown
  struct Choices {
    int shown = 0;
    int chosen = 0;
  };
  Choices choices() const;

  const Form& form_;
  std::vector<Part> digits_;
  std::vector<Slot> slots_;
  const Control* suffix_;
  const Control* tolerance_;
};

}  // namespace kalvori
