#include "converter/value_reading.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "converter/band_slots.h"
#include "marking/band_colour.h"
#include "marking/decimal_value.h"

namespace kalvori {

namespace {

// Copied before an unfinished row, so that it cannot be taken for a value where it is pasted (the
// look-up line refuses it, too). Copying nothing instead would leave whatever the clipboard held
// before, which a paste would then pass off as this reading.
constexpr std::string_view kUnfinished = "（未读完）";

// A resistor multiplier's suffix that names the prefix but not the ohm (" k", "00 k", "0 M"), as
// the colour table writes kilo- and megohms into the suffix box.
bool lacksOhm(std::string_view suffix) {
  for (const BandColour& c : kBandColours)
    if (c.suffix == suffix) return !suffix.ends_with("Ω");
  return false;
}

// A gold or silver factor that opens a suffix ("×0.1Ω", "×0.01 pF", "×0.1 uH"): how many places
// it moves the decimal point to the left, and the unit written after it.
struct Factor {
  std::size_t places;
  std::string_view unit;
};

std::optional<Factor> factorOf(std::string_view suffix) {
  constexpr std::string_view kTimesTenths = "×0.";
  if (!suffix.starts_with(kTimesTenths)) return std::nullopt;
  suffix.remove_prefix(kTimesTenths.size());
  std::size_t places = 1;
  for (; suffix.starts_with('0'); suffix.remove_prefix(1)) ++places;
  if (!suffix.starts_with('1')) return std::nullopt;
  suffix.remove_prefix(1);
  return Factor{places, suffix};
}

// The digits of `number` with the decimal point moved `places` to the left, written plainly:
// "470" by one place is "47", "47" is "4.7", "1" by two places "0.01". The row holds at most a few
// digits, so they fit a Decimal.
std::string shifted(std::string_view number, std::size_t places) {
  std::uint64_t digits = 0;
  for (char c : number)
    if (c >= '0' && c <= '9') digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
  return Decimal::of(digits, -static_cast<int>(places)).text();
}

bool hasDigit(std::string_view text) { return text.find_first_of("0123456789") != std::string_view::npos; }

}  // namespace

ValueReading::ValueReading(const Form& form)
    : form_(form), suffix_(&form.control(kBandSlots[3].box)), tolerance_(&form.control(kBandSlots[4].box)) {
  // Left to right as the row stands: dd1 lies between k1 and k2, dd2 between k2 and k3.
  constexpr std::pair<std::string_view, bool> kRow[] = {
      {"k1", false}, {"dd1", true}, {"k2", false}, {"dd2", true}, {"k3", false}};
  for (const auto& [name, comma] : kRow) digits_.push_back({&form.control(name), comma});
  for (std::size_t i = 0; i < 4; ++i) {
    const BandSlot& s = kBandSlots[i];
    slots_.push_back({&form.control(s.box), &form.control(s.colourName),
                      s.code.empty() ? nullptr : &form.control(s.code)});
  }
}

std::string ValueReading::number() const {
  std::string number;
  for (const Part& part : digits_) {
    if (!form_.isShown(part.control->name)) continue;
    if (!part.comma) number += part.control->text;
    else if (!number.empty()) number += part.control->caption;
  }
  return number;
}

// Of the digit and multiplier bands whose box is shown, how many have been chosen. A choice is seen
// in the label that names it (the colour name, or in the code modes the printed digit), not in the
// box: a leading black band leaves its box empty. The tolerance band is not counted: it may be
// left out, as on a resistor of three bands.
ValueReading::Choices ValueReading::choices() const {
  Choices c;
  for (const Slot& s : slots_) {
    if (!form_.isShown(s.box->name)) continue;
    ++c.shown;
    const Control* named = form_.isShown(s.colourName->name) ? s.colourName
                           : s.code && form_.isShown(s.code->name) ? s.code
                                                                    : nullptr;
    if (named ? !named->caption.empty() : !s.box->text.empty()) ++c.chosen;
  }
  return c;
}

std::string ValueReading::withTolerance(std::string line) const {
  if (form_.isShown(tolerance_->name) && !tolerance_->text.empty()) {
    if (!line.empty()) line += ' ';
    line += tolerance_->text;
  }
  return line;
}

std::string ValueReading::text() const {
  return withTolerance(number() + (form_.isShown(suffix_->name) ? suffix_->text : std::string()));
}

std::string ValueReading::copied() const {
  const std::string row = text();
  const Choices chosen = choices();
  if (row.empty() && chosen.chosen == 0) return row;
  if (chosen.chosen < chosen.shown) return std::string(kUnfinished) + row;
  const std::string number = this->number();
  const std::string_view suffix = form_.isShown(suffix_->name) ? std::string_view(suffix_->text) : std::string_view();
  if (const auto factor = factorOf(suffix); factor && hasDigit(number))
    return withTolerance(shifted(number, factor->places) + std::string(factor->unit));
  return withTolerance(number + std::string(suffix) + (lacksOhm(suffix) ? "Ω" : ""));
}

}  // namespace kalvori
