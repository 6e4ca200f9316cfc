// The safety classes of capacitors for the mains (IEC 60384-14), printed beside the value
// ("X2 104K 275VAC"): what each class is for, in a few Chinese words.
//
// What it deliberately does not do: know the approvals marks printed beside them.
#pragma once

#include <string_view>

namespace kalvori {

struct SafetyClass {
  std::string_view name;     // "X2"
  std::string_view meaning;  // what the class is for
};

// The class a token names ("X2", "y1"), or null.
const SafetyClass* safetyClass(std::string_view token);

}  // namespace kalvori
