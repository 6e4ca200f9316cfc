#include "marking/markings.h"

#include <algorithm>

#include "marking/band_words.h"
#include "marking/e_series.h"

namespace kalvori {

namespace {

constexpr int kPicofarads = -12;

std::string digitsText(const DigitPlaces& p) {
  std::string out;
  for (int d : p.digits) out += digitText(d);
  return out;
}

// Values below 10^(places - 1) with R as the decimal point: "4R7", "R47", "47R5".
std::optional<std::string> rNotation(const Decimal& ohms, int places) {
  if (ohms.magnitude() >= places - 1) return std::nullopt;
  const int before = std::max(0, ohms.magnitude() + 1);  // digits before the point
  const std::optional<DigitPlaces> p = inPlaces(ohms, 0, places, before - places, before - places, places);
  if (!p) return std::nullopt;
  std::string code = digitsText(*p);
  code.insert(static_cast<std::size_t>(before), "R");
  return code;
}

}  // namespace

std::optional<DigitPlaces> inPlaces(const Decimal& value, int unit, int places, int lowest, int highest,
                                    int leadingZeros) {
  if (value.isZero() || value.significantDigits() > places) return std::nullopt;
  // The power that puts the leading digit in the first place, raised to the lowest allowed.
  const int leading = value.magnitude() - unit - places + 1;
  const int power = std::max(leading, lowest);
  if (power > highest || power - leading > leadingZeros) return std::nullopt;
  const std::optional<std::uint64_t> whole = value.wholeIn(unit + power);
  if (!whole) return std::nullopt;
  DigitPlaces p{std::vector<int>(static_cast<std::size_t>(places)), power};
  std::uint64_t rest = *whole;
  for (int i = places - 1; i >= 0; --i, rest /= 10) p.digits[static_cast<std::size_t>(i)] = static_cast<int>(rest % 10);
  return p;
}

std::optional<std::vector<Band>> colourBands(const Quantity& q, int digitBands) {
  // One black leading band at most: two read as no value at all.
  const std::optional<DigitPlaces> p = inPlaces(q.value, bareUnitOf(q.family), digitBands, -2, 9, 1);
  if (!p) return std::nullopt;
  std::vector<Band> bands;
  for (int d : p->digits) bands.push_back(digitColour(d).band);
  bands.push_back(*multiplierBand(p->power));
  // A tolerance no band stands for has no band marking at all: three bands would read ±20 %.
  if (!isBandless(q.tolerance)) {
    const std::optional<Decimal> percent = q.tolerance->symmetricPercent();
    const std::optional<Band> t = percent ? toleranceBand(*percent) : std::nullopt;
    if (!t) return std::nullopt;
    bands.push_back(*t);
  }
  return bands;
}

std::string bandNames(const std::vector<Band>& bands) {
  std::string out;
  for (Band b : bands) out += bandColour(b).name;
  return out;
}

std::optional<std::string> chipCode(const Decimal& ohms, int length) {
  const int places = length - 1;
  if (const std::optional<DigitPlaces> p = inPlaces(ohms, 0, places, 0, 9, 0))
    return digitsText(*p) + std::string(digitText(p->power));
  return rNotation(ohms, places);
}

std::optional<std::string> eia96Code(const Decimal& ohms) {
  const std::optional<DigitPlaces> p = inPlaces(ohms, 0, 3, -3, 5, 0);
  if (!p) return std::nullopt;
  const int value = p->digits[0] * 100 + p->digits[1] * 10 + p->digits[2];
  const auto values = e96().values;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (values[i] == value) {
      const std::string index = std::to_string(i + 1);
      return (index.size() == 1 ? "0" + index : index) + *eia96Letter(p->power);
    }
  return std::nullopt;
}

std::optional<std::string> capacitorCode(const Decimal& farads) {
  const std::optional<DigitPlaces> p = inPlaces(farads, kPicofarads, 2, -2, 7, 0);
  if (!p) return std::nullopt;
  // Fractions take the last two digits: 8 for ×0.01, 9 for ×0.1.
  return digitsText(*p) + std::string(digitText(p->power < 0 ? p->power + 10 : p->power));
}

std::optional<std::string> inductorChipCode(const Decimal& henries) {
  constexpr int kNanohenries = -9, kMicrohenries = -6;
  if (henries.magnitude() >= kMicrohenries - 1)
    return chipCode(Decimal::of(henries.digits, henries.exponent - kMicrohenries), 3);
  // Two figures in nanohenries, N standing for the point or after them.
  const std::optional<DigitPlaces> p = inPlaces(henries, kNanohenries, 2, -1, 0, 1);
  if (!p) return std::nullopt;
  const std::string figures = digitsText(*p);
  if (p->power == 0) return figures + "N";
  return figures[0] == '0' ? "N" + figures.substr(1) : figures.substr(0, 1) + "N" + figures.substr(1);
}

}  // namespace kalvori
