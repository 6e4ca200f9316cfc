// The colour buttons: each click records one band in its own slot (a value box, a swatch, a colour
// name and, in columns b to d, the printed code digit), with every literal taken from the colour
// table. The buttons do not look at the mode: the layouts decide which of them can be clicked.
#include "converter/band_buttons.h"

#include <optional>
#include <string>

#include "marking/band_colour.h"
#include "converter/band_slots.h"

namespace kalvori {

namespace {

const char* const kTwoBlackBands = "老大，有没有搞错？前两环不可能都是黑色！！！";

// A band slot with its controls resolved.
struct Slot {
  ControlId box, swatch, colourName;
  std::optional<ControlId> code;

  Slot(const Form& form, const BandSlot& slot)
      : box(form.id(slot.box)), swatch(form.id(slot.swatch)), colourName(form.id(slot.colourName)) {
    if (!slot.code.empty()) code = form.id(slot.code);
  }
};

// Digit buttons that need no check: a1..a9, b1..b9 and c0..c9 (a black third band is always
// accepted). Column a has no printed code digit, whatever its slot says.
void bindDigitColumn(Form& form, std::string_view column, int firstRow, int slotIndex) {
  Slot slot(form, kBandSlots[static_cast<std::size_t>(slotIndex)]);
  if (column == "a") slot.code.reset();
  for (int row = firstRow; row <= 9; ++row) {
    form.on(form.id(std::string(column) + std::to_string(row)), Event::Click, [slot, row](Form& f) {
      const BandColour& colour = digitColour(row);
      f.setText(slot.box, digitText(row));
      f.setBackColor(slot.swatch, colour.swatch);
      f.setCaption(slot.colourName, colour.name);
      if (slot.code) f.setCaption(*slot.code, digitText(row));
    });
  }
}

// The black buttons of the two leading bands. The first two bands may not both be black, and a
// black band is known by its swatch being exactly black. A leading black band leaves its digit box
// empty, so the value reads without a leading zero; a black second band writes "0".
struct BlackButton {
  std::string_view name;
  int partnerSlot;  // whose swatch must not be black already
  int slot;         // where it writes
  std::string_view digit;
  bool writesCode;
};
constexpr BlackButton kBlackButtons[] = {
    {"a0", 1, 0, "", false},   // first band, five bands
    {"b0", 0, 1, "0", false},  // second band, five bands
    {"b04", 2, 1, "", false},  // first band, four bands
    {"c04", 1, 2, "0", true},  // second band, four bands
};

void bindBlackButtons(Form& form) {
  for (const BlackButton& b : kBlackButtons) {
    const ControlId button = form.id(b.name);
    const ControlId partner = form.id(kBandSlots[static_cast<std::size_t>(b.partnerSlot)].swatch);
    const Slot slot(form, kBandSlots[static_cast<std::size_t>(b.slot)]);
    form.on(button, Event::Click, [b, button, partner, slot](Form& f) {
      if (!f.control(button).value) return;
      if (f.control(partner).backColor == bandColour(Band::Black).swatch) {
        f.showMessage(kTwoBlackBands);
        return;
      }
      f.setText(slot.box, b.digit);
      f.setBackColor(slot.swatch, bandColour(Band::Black).swatch);
      f.setCaption(slot.colourName, bandColour(Band::Black).name);
      if (b.writesCode) f.setCaption(*slot.code, "0");
    });
  }
}

void bindMultiplierColumn(Form& form) {
  const Slot slot(form, kBandSlots[3]);
  const CommaLabels commaLabels(form);
  for (int row = 0; row <= 9; ++row) {
    const ControlId button = form.id("d" + std::to_string(row));
    form.on(button, Event::Click, [button, row, slot, commaLabels](Form& f) {
      if (!f.control(button).value) return;
      const BandColour& colour = bandColour(multiplierRow(row));
      const std::string_view suffix = *colour.suffix;
      f.setText(slot.box, suffix);
      f.setBackColor(slot.swatch, colour.swatch);
      f.setCaption(slot.colourName, colour.name);
      commaLabels.show(f, suffix);
      if (row >= 1 && row <= 7) f.setCaption(*slot.code, digitText(row));
    });
  }
}

void bindToleranceButtons(Form& form) {
  struct Tolerance {
    std::string_view name;
    Band band;
  };
  static constexpr Tolerance kTolerances[] = {{"e0", Band::Brown}, {"e1", Band::Gold}, {"e2", Band::Silver}};
  const Slot slot(form, kBandSlots[4]);
  for (const Tolerance& t : kTolerances) {
    form.on(form.id(t.name), Event::Click, [band = t.band, slot](Form& f) {
      const BandColour& colour = bandColour(band);
      f.setBackColor(slot.swatch, colour.swatch);
      f.setCaption(slot.colourName, colour.name);
      f.setText(slot.box, *colour.tolerance);
    });
  }
}

}  // namespace

Commas commasFor(std::string_view suffix) {
  if (suffix.starts_with("00")) return {false, true};
  if (suffix.starts_with("0")) return {true, false};
  return {false, false};
}

CommaLabels::CommaLabels(const Form& form) : dd1(form.id("dd1")), dd2(form.id("dd2")) {}

void CommaLabels::show(Form& form, std::string_view suffix) const {
  const Commas commas = commasFor(suffix);
  form.setVisible(dd1, commas.dd1);
  form.setVisible(dd2, commas.dd2);
}

void bindBandButtons(Form& form) {
  bindDigitColumn(form, "a", 1, 0);
  bindDigitColumn(form, "b", 1, 1);
  bindDigitColumn(form, "c", 0, 2);
  bindBlackButtons(form);
  bindMultiplierColumn(form);
  bindToleranceButtons(form);

  // "0" in k1 would be a leading zero of a five-band value: the black buttons of columns b and c
  // step aside until k1 holds anything else.
  const ControlId k1 = form.id("k1"), b0 = form.id("b0"), c0 = form.id("c0");
  form.on(k1, Event::Change, [k1, b0, c0](Form& f) {
    const bool show = f.control(k1).text != "0";
    f.setVisible(b0, show);
    f.setVisible(c0, show);
  });
}

}  // namespace kalvori
