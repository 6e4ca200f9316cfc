// The colour buttons: each click records one band in its own slot (a value box, a swatch, a colour
// name and, in columns b to d, the printed code digit), with every literal taken from the colour
// table. The buttons do not look at the mode: the layouts decide which of them can be clicked.
#include "converter/band_buttons.h"

#include <string>

#include "converter/band_colour.h"

namespace kalvori {

namespace {

const char* const kTwoBlackBands = "老大，有没有搞错？前两环不可能都是黑色！！！";

// One band slot: where a column writes.
struct Slot {
  std::string_view box;
  std::string_view swatch;
  std::string_view colourName;
  std::string_view code;  // printed-code label, empty where the column has none
};
constexpr Slot kSlot1{"k1", "kk1", "t6", ""};
constexpr Slot kSlot2{"k2", "kk2", "t7", "k11"};
constexpr Slot kSlot3{"k3", "kk3", "t8", "k12"};

std::string digitText(int digit) { return std::string(1, static_cast<char>('0' + digit)); }

// Digit buttons that need no check: a1..a9, b1..b9 and c0..c9 (a black third band is always
// accepted).
void bindDigitColumn(Form& form, std::string_view column, int firstRow, const Slot& slot) {
  for (int row = firstRow; row <= 9; ++row) {
    form.on(std::string(column) + std::to_string(row), Event::Click, [slot, row](Form& f) {
      const BandColour& colour = digitColour(row);
      f.setText(slot.box, digitText(row));
      f.setBackColor(slot.swatch, colour.swatch);
      f.setCaption(slot.colourName, colour.name);
      if (!slot.code.empty()) f.setCaption(slot.code, digitText(row));
    });
  }
}

// The black buttons of the two leading bands. The first two bands may not both be black, and a
// black band is known by its swatch being exactly black. A leading black band leaves its digit box
// empty, so the value reads without a leading zero; a black second band writes "0".
struct BlackButton {
  std::string_view name;
  std::string_view partnerSwatch;
  Slot slot;
  std::string_view digit;
  bool writesCode;
};
constexpr BlackButton kBlackButtons[] = {
    {"a0", "kk2", kSlot1, "", false},   // first band, five bands
    {"b0", "kk1", kSlot2, "0", false},  // second band, five bands
    {"b04", "kk3", kSlot2, "", false},  // first band, four bands
    {"c04", "kk2", kSlot3, "0", true},  // second band, four bands
};

void bindBlackButtons(Form& form) {
  for (const BlackButton& b : kBlackButtons) {
    form.on(b.name, Event::Click, [b](Form& f) {
      if (!f.control(b.name).value) return;
      if (f.control(b.partnerSwatch).backColor == bandColour(Band::Black).swatch) {
        f.showMessage(kTwoBlackBands);
        return;
      }
      f.setText(b.slot.box, b.digit);
      f.setBackColor(b.slot.swatch, bandColour(Band::Black).swatch);
      f.setCaption(b.slot.colourName, bandColour(Band::Black).name);
      if (b.writesCode) f.setCaption(b.slot.code, "0");
    });
  }
}

void bindMultiplierColumn(Form& form) {
  for (int row = 0; row <= 9; ++row) {
    const std::string name = "d" + std::to_string(row);
    form.on(name, Event::Click, [name, row](Form& f) {
      if (!f.control(name).value) return;
      const BandColour& colour = bandColour(multiplierRow(row));
      const std::string_view suffix = *colour.suffix;
      const Commas commas = commasFor(suffix);
      f.setText("k4", suffix);
      f.setBackColor("kk4", colour.swatch);
      f.setCaption("t9", colour.name);
      f.setVisible("dd1", commas.dd1);
      f.setVisible("dd2", commas.dd2);
      if (row >= 1 && row <= 7) f.setCaption("k13", digitText(row));
    });
  }
}

void bindToleranceButtons(Form& form) {
  struct Tolerance {
    std::string_view name;
    Band band;
  };
  static constexpr Tolerance kTolerances[] = {{"e0", Band::Brown}, {"e1", Band::Gold}, {"e2", Band::Silver}};
  for (const Tolerance& t : kTolerances) {
    form.on(t.name, Event::Click, [band = t.band](Form& f) {
      const BandColour& colour = bandColour(band);
      f.setBackColor("kk5", colour.swatch);
      f.setCaption("t10", colour.name);
      f.setText("k5", *colour.tolerance);
    });
  }
}

}  // namespace

Commas commasFor(std::string_view suffix) {
  if (suffix.starts_with("00")) return {false, true};
  if (suffix.starts_with("0")) return {true, false};
  return {false, false};
}

void bindBandButtons(Form& form) {
  bindDigitColumn(form, "a", 1, kSlot1);
  bindDigitColumn(form, "b", 1, kSlot2);
  bindDigitColumn(form, "c", 0, kSlot3);
  bindBlackButtons(form);
  bindMultiplierColumn(form);
  bindToleranceButtons(form);

  // "0" in k1 would be a leading zero of a five-band value: the black buttons of columns b and c
  // step aside until k1 holds anything else.
  form.on("k1", Event::Change, [](Form& f) {
    const bool show = f.control("k1").text != "0";
    f.setVisible("b0", show);
    f.setVisible("c0", show);
  });
}

}  // namespace kalvori
