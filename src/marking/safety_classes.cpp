#include "marking/safety_classes.h"

#include <array>

namespace kalvori {

namespace {

// IEC 60384-14: class X across the line (its failure cannot shock), by the peak pulse it withstands;
// class Y from line to earth (its failure could), by the insulation it bridges and the rated voltage.
constexpr std::array<SafetyClass, 5> kClasses{{
    {"X1", "接在电源线之间，耐脉冲 2.5 至 4 kV"},
    {"X2", "接在电源线之间，耐脉冲至 2.5 kV"},
    {"X3", "接在电源线之间，耐脉冲至 1.2 kV"},
    {"Y1", "接在电源线与地之间，双重绝缘，额定至 500 V 交流"},
    {"Y2", "接在电源线与地之间，基本绝缘，额定 150 至 300 V 交流"},
}};

}  // namespace

const SafetyClass* safetyClass(std::string_view token) {
  if (token.size() != 2) return nullptr;
  const char letter = token[0] == 'x' ? 'X' : token[0] == 'y' ? 'Y' : token[0];
  for (const SafetyClass& c : kClasses)
    if (c.name[0] == letter && c.name[1] == token[1]) return &c;
  return nullptr;
}

}  // namespace kalvori
