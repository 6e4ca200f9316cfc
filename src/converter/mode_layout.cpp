#include "converter/mode_layout.h"

#include <memory>
#include <stdexcept>

#include "converter/modes.h"
#include "marking/band_colour.h"

namespace kalvori {

namespace {

constexpr OleColor kClearedSwatch = 0x00FFFFFF;

std::string_view bareDigit(int n) { return digitText(n); }

// Writes a layout as it reads: "Visible := False for a0..a9, b0", one call per step.
class Steps {
 public:
  Steps& visible(std::initializer_list<std::string_view> names, bool v) {
    for (std::string_view n : names) add(n, Property::Visible, v);
    return *this;
  }
  Steps& visible(std::string_view prefix, int first, int last, bool v) {
    for (int n = first; n <= last; ++n) add(name(prefix, n), Property::Visible, v);
    return *this;
  }
  Steps& caption(std::string_view control, std::string_view text) {
    add(control, Property::Caption, text);
    return *this;
  }
  Steps& captions(std::initializer_list<std::pair<std::string_view, std::string_view>> list) {
    for (const auto& [control, text] : list) caption(control, text);
    return *this;
  }
  Steps& captions(std::string_view prefix, int first, int last, std::string_view (*text)(int)) {
    for (int n = first; n <= last; ++n) caption(name(prefix, n), text(n));
    return *this;
  }
  Steps& emptyText(std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) add(n, Property::Text, std::string_view{});
    return *this;
  }
  Steps& clearSwatches() {
    for (int n = 1; n <= 5; ++n) add(name("kk", n), Property::BackColor, kClearedSwatch);
    return *this;
  }
  std::vector<Assignment> done() { return std::move(steps_); }

 private:
  static std::string name(std::string_view prefix, int n) { return std::string(prefix) + std::to_string(n); }
  void add(std::string_view control, Property p, PropertyValue v) { steps_.push_back({std::string(control), p, v}); }
  std::vector<Assignment> steps_;
};

std::string_view colourCaption(int n) { return digitColour(n).caption; }
std::string_view noCaption(int) { return ""; }

// Gold and silver keep their names on the multiplier column.
Steps& goldAndSilver(Steps& s) {
  return s.captions({{"d8", bandColour(Band::Gold).caption}, {"d9", bandColour(Band::Silver).caption}});
}

ModeLayout fiveBand() {
  Steps s;
  s.visible({"k1", "k2", "k3", "k5", "k4"}, true)
      .visible({"t1"}, true)
      .captions({{"t1", "5环电阻第1环"}, {"t2", "5环电阻第2环"}, {"t3", "5环电阻第3环"}, {"t4", "5环电阻第4环"},
                 {"t5", "5环电阻第5环"}})
      .captions("t", 6, 10, noCaption)
      .visible({"dd1", "dd2"}, false)
      .visible("a", 0, 9, true)
      .visible({"b0"}, true).visible({"b04"}, false).visible("b", 1, 9, true)
      .visible({"c0"}, true).visible({"c04"}, false).visible("c", 1, 9, true)
      .visible("d", 0, 9, true)
      .visible({"e0"}, true).visible({"e1", "e2"}, false)
      .visible("dl", 0, 9, false).visible("dc", 1, 9, false)
      .visible("t", 6, 10, true)
      .visible("kk", 1, 5, true)
      .visible("sb", 1, 10, true)
      .visible({"k11", "k12", "k13"}, false)
      .emptyText({"k1", "k2", "k3", "k4", "k5"})  // k1's Change runs here
      .clearSwatches()
      .captions("b", 0, 9, colourCaption).captions("c", 0, 9, colourCaption).captions("d", 0, 7, colourCaption);
  goldAndSilver(s).visible({"ttr"}, true).visible({"ttl", "ttc"}, false);
  return {kFiveBand, true, s.done()};
}

ModeLayout fourBand() {
  Steps s;
  s.visible("a", 0, 9, false).visible({"b0", "c0"}, false)
      .visible({"b04", "c04"}, true)
      .visible("b", 1, 9, true).visible("c", 1, 9, true).visible("d", 0, 9, true)
      .visible("dl", 0, 9, false).visible("dc", 1, 9, false)
      .visible("t", 6, 10, true)
      .visible({"k1"}, false).visible({"k2", "k3", "k4", "k5"}, true)
      .visible({"kk1"}, false).visible("kk", 2, 5, true)
      .visible({"dd1", "dd2"}, false)
      .visible("sb", 1, 10, true)
      .visible({"k11", "k12", "k13"}, false)
      .captions({{"t1", ""}, {"t2", "4环电阻第1环"}, {"t3", "4环电阻第2环"}, {"t4", "4环电阻第3环"}, {"t5", "4环电阻第4环"}})
      .captions("t", 6, 10, noCaption)
      .emptyText({"k2", "k3", "k4", "k5"})
      .visible({"e0"}, false).visible({"e1", "e2"}, true)
      .clearSwatches()
      .caption("b04", colourCaption(0)).captions("b", 1, 9, colourCaption)
      .caption("c04", colourCaption(0)).captions("c", 1, 9, colourCaption)
      .captions("d", 0, 7, colourCaption);
  goldAndSilver(s).visible({"ttr"}, true).visible({"ttl", "ttc"}, false);
  return {kFourBand, true, s.done()};
}

ModeLayout inductor() {
  Steps s;
  s.visible("a", 0, 9, false).visible({"b0", "c0"}, false).visible("d", 0, 9, false).visible("dc", 1, 9, false)
      .visible({"e0", "k1", "kk1", "k11", "k12", "k13", "dd1", "dd2", "ttr", "ttc"}, false)
      .visible({"b04", "c04"}, true).visible("dl", 0, 9, true)
      .visible({"e1", "e2", "k2", "k3", "k4", "k5"}, true).visible("kk", 2, 5, true).visible("t", 6, 10, true)
      .visible("sb", 1, 10, true).visible({"ttl"}, true)
      .captions({{"t1", ""}, {"t2", "4环电感第1环"}, {"t3", "4环电感第2环"}, {"t4", "4环电感第3环"}, {"t5", "4环电感第4环"}})
      .caption("b04", colourCaption(0)).caption("c04", colourCaption(0));
  for (int n = 1; n <= 9; ++n)
    s.caption("b" + std::to_string(n), colourCaption(n)).caption("c" + std::to_string(n), colourCaption(n));
  s.emptyText({"k2", "k3", "k4", "k5"}).clearSwatches().captions("t", 6, 10, noCaption);
  return {kInductorBands, true, s.done()};
}

// The two printed-code modes relabel the columns as bare digits and show the code in large
// digits; they leave the swatches, and which of c0 and c04 is shown, as they were.
Steps& bareDigitColumns(Steps& s) {
  return s.caption("b04", "0").captions("b", 1, 9, bareDigit)
      .caption("c04", "0").caption("c0", "0").captions("c", 1, 9, bareDigit)
      .captions("d", 0, 9, bareDigit)
      .emptyText({"k2", "k3", "k4"})
      .captions({{"k11", ""}, {"k12", ""}, {"k13", ""}});
}

ModeLayout capacitor() {
  Steps s;
  s.visible("a", 0, 9, false).visible({"b0", "b04"}, false).visible("d", 0, 9, false).visible("dl", 0, 9, false)
      .visible({"e0", "e1", "e2", "k1", "k5"}, false).visible("kk", 1, 5, false).visible({"t1"}, false)
      .visible("t", 6, 10, false).visible("sb", 1, 10, false).visible({"dd1", "dd2", "ttr", "ttl"}, false)
      .visible("dc", 1, 9, true).visible({"k11", "k12", "k13", "ttc"}, true)
      .captions({{"t2", "   第一位"}, {"t3", "   第二位"}, {"t4", "   第三位"}, {"t5", ""}});
  bareDigitColumns(s);
  return {kCapacitorCode, true, s.done()};
}

ModeLayout chipResistor() {
  Steps s;
  s.visible("a", 0, 9, false).visible({"b0", "b04", "d0", "d8", "d9"}, false).visible("dl", 0, 9, false)
      .visible("dc", 1, 9, false).visible({"e0", "e1", "e2", "k1", "k5"}, false).visible("kk", 1, 5, false)
      .visible("t", 6, 10, false).visible("sb", 1, 10, false).visible({"dd1", "dd2", "ttl", "ttc"}, false)
      .visible("d", 1, 7, true).visible({"k11", "k12", "k13", "ttr"}, true)
      .captions({{"t1", ""}, {"t2", "   第一位"}, {"t3", "   第二位"}, {"t4", "   第三位"}, {"t5", ""}});
  bareDigitColumns(s);
  // Applied on every click, without looking at the option's Value.
  return {kChipCode, false, s.done()};
}

}  // namespace

std::span<const ModeLayout> modeLayouts() {
  static const std::vector<ModeLayout> layouts = {fiveBand(), fourBand(), inductor(), capacitor(), chipResistor()};
  return layouts;
}

const ModeLayout& modeLayout(std::string_view option) {
  for (const ModeLayout& l : modeLayouts())
    if (l.option == option) return l;
  throw std::logic_error("no mode layout for " + std::string(option));
}

namespace {

// A layout with its option button and every control it writes resolved in one form.
struct BoundLayout {
  struct Step {
    ControlId control;
    Property property;
    PropertyValue value;
  };
  BoundLayout(const Form& form, const ModeLayout& layout)
      : option(form.id(layout.option)), onlyWhenSelected(layout.onlyWhenSelected) {
    steps.reserve(layout.steps.size());
    for (const Assignment& a : layout.steps) steps.push_back({form.id(a.control), a.property, a.value});
  }
  void apply(Form& form) const {
    if (onlyWhenSelected && !form.control(option).value) return;
    for (const Step& s : steps) form.set(s.control, s.property, s.value);
  }
  ControlId option;
  bool onlyWhenSelected;
  std::vector<Step> steps;
};

}  // namespace

void applyLayout(Form& form, const ModeLayout& layout) { BoundLayout(form, layout).apply(form); }

void bindModeButtons(Form& form) {
  for (const ModeLayout& layout : modeLayouts()) {
    auto bound = std::make_shared<const BoundLayout>(form, layout);
    form.on(bound->option, Event::Click, [bound](Form& f) { bound->apply(f); });
  }
}

}  // namespace kalvori
