#include "marking/band_words.h"

#include <array>
#include <utility>

namespace kalvori {

namespace {

// Rows in the order of Band, like kBandColours. Tolerance and temperature coefficient as IEC 60062
// (2016) gives them for resistors.
struct BandWords {
  Band band;
  std::string_view english;
  std::string_view otherSpelling;
  std::optional<Decimal> tolerance;
  std::optional<int> tempco;  // ppm/K
};
const std::array<BandWords, kBandCount> kBandWords{{
    {Band::Black, "black", {}, {}, 250},
    {Band::Brown, "brown", {}, Decimal::of(1, 0), 100},
    {Band::Red, "red", {}, Decimal::of(2, 0), 50},
    {Band::Orange, "orange", {}, {}, 15},
    {Band::Yellow, "yellow", {}, {}, 25},
    {Band::Green, "green", {}, Decimal::of(5, -1), 20},
    {Band::Blue, "blue", {}, Decimal::of(25, -2), 10},
    {Band::Violet, "violet", "purple", Decimal::of(1, -1), 5},
    {Band::Grey, "grey", "gray", Decimal::of(5, -2), 1},
    {Band::White, "white", {}, {}, {}},
    {Band::Gold, "gold", {}, Decimal::of(5, 0), {}},
    {Band::Silver, "silver", {}, Decimal::of(1, 1), {}},
}};

const BandWords& wordsOf(Band band) { return kBandWords[static_cast<std::size_t>(band)]; }

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char c = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (c != b[i]) return false;
  }
  return true;
}

}  // namespace

std::string_view englishName(Band band) { return wordsOf(band).english; }

std::optional<Band> bandFromEnglish(std::string_view word) {
  for (const BandWords& w : kBandWords)
    if (sameLetters(word, w.english) || sameLetters(word, w.otherSpelling)) return w.band;
  return std::nullopt;
}

std::optional<Band> bandNamed(std::string_view name) {
  for (const BandColour& c : kBandColours)
    if (c.name == name) return c.band;
  return std::nullopt;
}

int multiplierPower(Band band) {
  if (band == Band::Gold) return -1;
  if (band == Band::Silver) return -2;
  return *bandColour(band).digit;
}

std::optional<Band> multiplierBand(int power) {
  if (power == -1) return Band::Gold;
  if (power == -2) return Band::Silver;
  if (power >= 0 && power <= 9) return digitColour(power).band;
  return std::nullopt;
}

std::optional<Decimal> bandTolerance(Band band) { return wordsOf(band).tolerance; }

std::optional<int> bandTempco(Band band) { return wordsOf(band).tempco; }

bool isPinkWord(std::string_view word) { return sameLetters(word, kPinkEnglish); }

std::optional<Band> toleranceBand(const Decimal& percent) {
  for (const BandWords& w : kBandWords)
    if (w.tolerance == percent) return w.band;
  return std::nullopt;
}

}  // namespace kalvori
