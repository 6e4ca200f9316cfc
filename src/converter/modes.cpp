#include "converter/modes.h"

#include <stdexcept>
#include <string>

namespace kalvori {

PartKind partKindOf(std::string_view option) {
  for (const Mode& m : kModes)
    if (m.option == option) return m.kind;
  return PartKind::ResistorBands;
}

bool isMode(std::string_view option) {
  for (const Mode& m : kModes)
    if (m.option == option) return true;
  return false;
}

std::optional<std::string_view> selectedMode(const Form& form) {
  for (const Mode& m : kModes)
    if (form.control(m.option).value) return m.option;
  return std::nullopt;
}

void checkModes(const Form& form) {
  for (const Mode& m : kModes)
    if (form.control(m.option).kind != Kind::OptionButton)
      throw std::logic_error("mode " + std::string(m.option) + " is no option button");
}

}  // namespace kalvori
