// Small helpers for writing design data as tables: named fonts, one maker per kind of control,
// and the ranges that spell a family in design order ("d7".."d0").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "form/control_model.h"

namespace kalvori::design {

inline constexpr Font pt8_25{825, false};
inline constexpr Font pt9{900, false};
inline constexpr Font pt9B{900, true};
inline constexpr Font pt9_75{975, false};
inline constexpr Font pt9_75B{975, true};
inline constexpr Font pt12{1200, false};
inline constexpr Font pt12B{1200, true};
inline constexpr Font pt14_25{1425, false};
inline constexpr Font pt15_75{1575, false};
inline constexpr Font pt15_75B{1575, true};
inline constexpr Font pt18B{1800, true};
inline constexpr Font pt20_25B{2025, true};
inline constexpr Font pt27_75{2775, false};
inline constexpr Font pt27_75B{2775, true};
inline constexpr Font pt36{3600, false};

inline constexpr std::optional<Font> containerFont{};

inline Control label(std::string name, std::string parent, Geometry g, std::string caption, OleColor back,
                     OleColor fore, std::optional<Font> font, int tabIndex, bool visible = true) {
  Control c;
  c.name = std::move(name);
  c.kind = Kind::Label;
  c.parent = std::move(parent);
  c.geometry = g;
  c.caption = std::move(caption);
  c.backColor = back;
  c.foreColor = fore;
  c.font = font;
  c.tabIndex = tabIndex;
  c.visible = visible;
  return c;
}

inline Control button(std::string name, std::string parent, Geometry g, std::string caption, OleColor back,
                      std::optional<Font> font, int tabIndex, bool visible = true) {
  Control c = label(std::move(name), std::move(parent), g, std::move(caption), back, sys::buttonText, font,
                    tabIndex, visible);
  c.kind = Kind::CommandButton;
  return c;
}

inline Control line(std::string name, std::string parent, LineEnds ends) {
  Control c;
  c.name = std::move(name);
  c.kind = Kind::Line;
  c.parent = std::move(parent);
  c.line = ends;
  c.foreColor = sys::windowText;
  return c;
}

// Adds the name of each member of a family, from first to last inclusive, in that order.
inline void appendRange(std::vector<std::string>& out, std::string_view prefix, int first, int last) {
  const int step = first <= last ? 1 : -1;
  for (int n = first;; n += step) {
    out.push_back(std::string(prefix) + std::to_string(n));
    if (n == last) break;
  }
}

}  // namespace kalvori::design

namespace kalvori::design {

// Puts the defined controls into the given design order. Every defined control must be named
// exactly once, so a family member left out of either list is caught at start.
std::vector<Control> inDesignOrder(std::vector<Control> defined, const std::vector<std::string>& order);

}  // namespace kalvori::design
