#include "converter/value_reading.h"

#include <string_view>

namespace kalvori {

ValueReading::ValueReading(const Form& form) : form_(form), tolerance_(&form.control("k5")) {
  // Left to right as the row stands: dd1 lies between k1 and k2, dd2 between k2 and k3.
  constexpr std::pair<std::string_view, bool> kRow[] = {{"k1", false}, {"dd1", true}, {"k2", false},
                                                        {"dd2", true}, {"k3", false}, {"k4", false}};
  for (const auto& [name, comma] : kRow) row_.push_back({&form.control(name), comma});
}

std::string ValueReading::text() const {
  std::string line;
  for (const Part& part : row_) {
    if (!form_.isShown(part.control->name)) continue;
    if (!part.comma) line += part.control->text;
    else if (!line.empty()) line += part.control->caption;
  }
  if (form_.isShown(tolerance_->name) && !tolerance_->text.empty()) {
    if (!line.empty()) line += ' ';
    line += tolerance_->text;
  }
  return line;
}

}  // namespace kalvori
