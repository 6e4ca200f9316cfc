// Typing a marking: a digit key, G (gold) or S (silver) presses the button that stands for it in
// the next band column of the current mode, through Form::click, exactly as a mouse click would;
// the next column then moves on, from the last round to the first. Backspace steps back one column;
// choosing a mode starts again at the first.
//
// What it deliberately does not do: write any property itself, decide what a button does or
// whether it refuses, or know which keys the toolkit delivers. Its only state is the column it is
// at; the mode is read from the mode option that is selected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "form/control_model.h"

namespace kalvori {

class MarkingKeys {
 public:
  // Every button name of the key tables is looked up here: a name the window lacks throws
  // std::logic_error now rather than on a key press. The form must outlive this object.
  explicit MarkingKeys(Form& form);
  MarkingKeys(const MarkingKeys&) = delete;
  MarkingKeys& operator=(const MarkingKeys&) = delete;

  // The converter is in view: the selected mode's option can be reached (no panel covers it).
  bool inView() const;
  // Presses the button that `key` ('0'..'9', 'G' or 'S', either case) names in the next column and
  // returns it; a press that the program refused (it showed a message) keeps the column. A key
  // that names no button there, or one that cannot be reached, does nothing and returns null.
  const Control* type(char key);
  // Backspace: one column back, from the first round to the last; nothing else changes.
  void back();

 private:
  struct Column {
    std::vector<std::pair<char, const Control*>> keys;  // in order: of two for one key, the first reachable
  };
  struct Mode {
    const Control* option;
    std::vector<Column> columns;
  };
  // What the form's hooks heard; shared with them, since they live as long as the form.
  struct Heard {
    std::uint64_t modeChoices = 0;
    std::uint64_t messages = 0;
  };

  const Mode* current() const;
  // The current mode, with the column put back to the first when a mode was chosen since.
  const Mode* follow();

  Form& form_;
  std::vector<Mode> modes_;
  std::shared_ptr<Heard> heard_ = std::make_shared<Heard>();
  std::uint64_t modeChoicesSeen_ = 0;
  const Mode* mode_ = nullptr;  // the mode the column belongs to
  std::size_t column_ = 0;
};

}  // namespace kalvori
