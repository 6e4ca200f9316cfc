#include "converter/multiplier_buttons.h"

#include <array>
#include <string>

#include "converter/band_buttons.h"
#include "converter/band_colour.h"

namespace kalvori {

namespace {

// The printed third digit n stands for n zeros after the two digits, in picofarads, stepping
// through pF, nF, uF. A third digit of 8 or 9 is a fraction: ×0.01 and ×0.1 (so "229" is 2.2 pF).
constexpr std::array<std::string_view, 9> kCapacitorSuffixes = {
    "0 pF", "00 pF", " nF", "0 nF", "00 nF", " uF", "0 uF", "×0.01 pF", "×0.1 pF"};

// Inductor multipliers in microhenries, rows black to violet, then gold and silver. Black's bare
// unit has no blank, so it follows the second digit directly.
constexpr std::array<std::string_view, 10> kInductorSuffixes = {
    "uH", "0 uH", "00 uH", " mH", "0 mH", "00 mH", " H", "0 H", "×0.1 uH", "×0.01 uH"};

void setCommas(Form& f, std::string_view suffix) {
  const Commas commas = commasFor(suffix);
  f.setVisible("dd1", commas.dd1);
  f.setVisible("dd2", commas.dd2);
}

}  // namespace

void bindMultiplierButtons(Form& form) {
  for (int n = 1; n <= 9; ++n) {
    form.on("dc" + std::to_string(n), Event::Click, [n](Form& f) {
      const std::string_view suffix = kCapacitorSuffixes[static_cast<std::size_t>(n - 1)];
      f.setText("k4", suffix);
      f.setCaption("k13", std::string(1, static_cast<char>('0' + n)));
      setCommas(f, suffix);
    });
  }
  for (int n = 0; n <= 9; ++n) {
    form.on("dl" + std::to_string(n), Event::Click, [n](Form& f) {
      const std::string_view suffix = kInductorSuffixes[static_cast<std::size_t>(n)];
      const BandColour& colour = bandColour(multiplierRow(n));
      f.setText("k4", suffix);
      f.setBackColor("kk4", colour.swatch);
      f.setCaption("t9", colour.name);
      setCommas(f, suffix);
    });
  }
}

}  // namespace kalvori
