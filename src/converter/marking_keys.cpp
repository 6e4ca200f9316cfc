#include "converter/marking_keys.h"

#include <string>
#include <string_view>

#include "converter/modes.h"

namespace kalvori {

namespace {

// One band column as typed: each digit of `digits` presses <prefix><digit>; `others` are the keys
// that press a button of another name. A key listed twice names two buttons in one place, of which
// the mode shows one.
struct ColumnKeys {
  std::string_view prefix;
  std::string_view digits;
  std::vector<std::pair<char, std::string_view>> others = {};
};

struct ModeKeys {
  std::string_view option;
  std::vector<ColumnKeys> columns;  // in the order the bands are read
};

// The bands of each mode in order, and what each key presses there. A colour column's digit is the
// colour that stands for it; the multiplier columns have gold and silver in rows 8 and 9, so 8 and
// 9 press nothing there. In the four-band modes black in the first two bands is b04 and c04; in
// the printed-code modes the "0" of column c is c0 or c04, whichever the last colour mode left.
const std::vector<ModeKeys>& modeKeys() {
  static const std::vector<ModeKeys> modes = {
      {kFiveBand,
       {{"a", "0123456789"},
        {"b", "0123456789"},
        {"c", "0123456789"},
        {"d", "01234567", {{'G', "d8"}, {'S', "d9"}}},
        {"e", "", {{'1', "e0"}}}}},
      {kFourBand,
       {{"b", "123456789", {{'0', "b04"}}},
        {"c", "123456789", {{'0', "c04"}}},
        {"d", "01234567", {{'G', "d8"}, {'S', "d9"}}},
        {"e", "", {{'G', "e1"}, {'S', "e2"}}}}},
      {kInductorBands,
       {{"b", "123456789", {{'0', "b04"}}},
        {"c", "123456789", {{'0', "c04"}}},
        {"dl", "01234567", {{'G', "dl8"}, {'S', "dl9"}}},
        {"e", "", {{'G', "e1"}, {'S', "e2"}}}}},
      {kCapacitorCode, {{"b", "123456789"}, {"c", "123456789", {{'0', "c0"}, {'0', "c04"}}}, {"dc", "123456789"}}},
      {kChipCode, {{"b", "123456789"}, {"c", "123456789", {{'0', "c0"}, {'0', "c04"}}}, {"d", "1234567"}}},
  };
  return modes;
}

char upper(char key) { return key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key; }

}  // namespace

MarkingKeys::MarkingKeys(Form& form) : form_(form) {
  for (const ModeKeys& keysOfMode : modeKeys()) {
    Mode mode{&form.control(keysOfMode.option), {}};
    for (const ColumnKeys& keys : keysOfMode.columns) {
      Column column;
      for (char digit : keys.digits)
        column.keys.emplace_back(digit, &form.control(std::string(keys.prefix) + digit));
      for (const auto& [key, button] : keys.others) column.keys.emplace_back(key, &form.control(button));
      mode.columns.push_back(std::move(column));
    }
    modes_.push_back(std::move(mode));
  }

  // The hooks hold only the shared counts, so that they outlive this object harmlessly.
  std::vector<const Control*> options;
  for (const Mode& m : modes_) options.push_back(m.option);
  form.addClickHook([heard = heard_, options](const Control& c) {
    for (const Control* option : options)
      if (&c == option) ++heard->modeChoices;
  });
  form.addMessageHook([heard = heard_](const std::string&) { ++heard->messages; });
}

const MarkingKeys::Mode* MarkingKeys::current() const {
  for (const Mode& m : modes_)
    if (m.option->value) return &m;
  return nullptr;
}

const MarkingKeys::Mode* MarkingKeys::follow() {
  const Mode* mode = current();
  if (heard_->modeChoices != modeChoicesSeen_ || mode != mode_) {
    modeChoicesSeen_ = heard_->modeChoices;
    mode_ = mode;
    column_ = 0;
  }
  return mode;
}

bool MarkingKeys::inView() const {
  const Mode* mode = current();
  return mode && form_.isReachable(mode->option->name);
}

const Control* MarkingKeys::type(char key) {
  const Mode* mode = follow();
  if (!mode) return nullptr;
  key = upper(key);
  for (const auto& [k, button] : mode->columns[column_].keys) {
    if (k != key || !form_.isReachable(button->name)) continue;
    const std::uint64_t messagesBefore = heard_->messages;
    form_.click(button->name);
    if (heard_->messages == messagesBefore) column_ = (column_ + 1) % mode->columns.size();
    return button;
  }
  return nullptr;
}

void MarkingKeys::back() {
  if (const Mode* mode = follow()) column_ = (column_ + mode->columns.size() - 1) % mode->columns.size();
}

}  // namespace kalvori
