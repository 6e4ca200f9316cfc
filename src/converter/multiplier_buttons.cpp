#include "converter/multiplier_buttons.h"

#include <string>

#include "converter/band_buttons.h"
#include "marking/band_colour.h"
#include "converter/band_slots.h"

namespace kalvori {

void bindMultiplierButtons(Form& form) {
  // Both columns write the fourth slot: its suffix box, and the printed third digit (capacitor) or
  // the swatch and colour name (inductor).
  const BandSlot& fourth = kBandSlots[3];
  const ControlId box = form.id(fourth.box), code = form.id(fourth.code);
  const ControlId swatch = form.id(fourth.swatch), colourName = form.id(fourth.colourName);
  const CommaLabels commas(form);
  for (int n = 1; n <= 9; ++n) {
    form.on(form.id("dc" + std::to_string(n)), Event::Click, [=](Form& f) {
      const std::string_view suffix = kCapacitorSuffixes[static_cast<std::size_t>(n - 1)];
      f.setText(box, suffix);
      f.setCaption(code, digitText(n));
      commas.show(f, suffix);
    });
  }
  for (int n = 0; n <= 9; ++n) {
    form.on(form.id("dl" + std::to_string(n)), Event::Click, [=](Form& f) {
      const std::string_view suffix = kInductorSuffixes[static_cast<std::size_t>(n)];
      const BandColour& colour = bandColour(multiplierRow(n));
      f.setText(box, suffix);
      f.setBackColor(swatch, colour.swatch);
      f.setCaption(colourName, colour.name);
      commas.show(f, suffix);
    });
  }
}

}  // namespace kalvori
