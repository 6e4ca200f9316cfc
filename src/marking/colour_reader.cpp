#include "marking/colour_reader.h"

#include <algorithm>
#include <vector>

#include "marking/band_words.h"

namespace kalvori {

namespace {

constexpr std::size_t kMostBands = 6;

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  while (!s.empty()) {
    const std::size_t end = std::min(s.find_first_of(" ,-/"), s.size());
    if (end > 0) out.push_back(s.substr(0, end));
    s.remove_prefix(std::min(end + 1, s.size()));
  }
  return out;
}

// A band as read: one of the window's twelve, or pink (none).
using ReadBand = std::optional<Band>;

std::string colourOf(ReadBand band) { return std::string(band ? bandColour(*band).name : kPinkName) + "色"; }
std::string nth(std::size_t i) { return "第" + std::to_string(i + 1) + "环"; }

PaintedBand painted(ReadBand band) {
  return band ? PaintedBand{bandColour(*band).swatch, bandColour(*band).name} : PaintedBand{kPinkSwatch, kPinkName};
}

}  // namespace

bool startsWithColour(std::string_view ascii) {
  const std::vector<std::string_view> w = words(ascii.substr(0, std::min(ascii.find_first_of(" ,-/"), ascii.size())));
  return !w.empty() && (bandFromEnglish(w.front()) || isPinkWord(w.front()));
}

std::optional<PrintReading> readColours(std::string_view s, PartKind kind, std::string& why) {
  std::vector<ReadBand> bands;
  for (std::string_view word : words(s)) {
    if (isPinkWord(word)) {
      bands.push_back(std::nullopt);
    } else if (const std::optional<Band> band = bandFromEnglish(word)) {
      bands.push_back(*band);
    } else {
      return why = "不认识“" + std::string(word) + "”", std::nullopt;
    }
    if (bands.size() > kMostBands) break;
  }
  PrintReading r;
  for (ReadBand b : bands) r.bands.push_back(painted(b));
  Quantity q;
  q.written = Written::Colours;
  q.family = kind == PartKind::InductorBands ? Family::Inductance : Family::Resistance;
  // One black band is a zero-ohm link, as IEC 60062 marks it.
  if (bands.size() == 1 && bands[0] == Band::Black) {
    q.family = Family::Resistance;
    r.quantity = q;
    r.zeroOhmLink = true;
    return r;
  }
  if (bands.size() < 3 || bands.size() > kMostBands) return why = "色环要有 3 到 6 个", std::nullopt;
  const std::size_t digitBands = bands.size() >= 5 ? 3 : 2;
  std::uint64_t digits = 0;
  for (std::size_t i = 0; i < digitBands; ++i) {
    const std::optional<int> digit = bands[i] ? bandColour(*bands[i]).digit : std::nullopt;
    if (!digit) return why = nth(i) + "不能是" + colourOf(bands[i]), std::nullopt;
    digits = digits * 10 + static_cast<std::uint64_t>(*digit);
  }
  if (bands[0] == Band::Black && bands[1] == Band::Black) return why = "前两环不可能都是黑色", std::nullopt;
  const ReadBand multiplier = bands[digitBands];
  const int power = multiplier ? multiplierPower(*multiplier) : kPinkPower;
  q.value = Decimal::of(digits, power + bareUnitOf(q.family));
  q.tolerance = Decimal::of(2, 1);
  // Past the multiplier: the tolerance, then on six bands the temperature coefficient.
  for (std::size_t i = digitBands + 1; i < bands.size(); ++i) {
    if (!bands[i]) return why = nth(i) + "不能是" + colourOf(bands[i]), std::nullopt;
    if (i == digitBands + 1) {
      const std::optional<Decimal> t = bandTolerance(*bands[i]);
      if (!t) return why = nth(i) + "是误差环，不能是" + colourOf(bands[i]), std::nullopt;
      q.tolerance = *t;
    } else {
      r.tempco = bandTempco(*bands[i]);
      if (!r.tempco) return why = nth(i) + "是温度系数环，不能是" + colourOf(bands[i]), std::nullopt;
    }
  }
  r.quantity = q;
  return r;
}

}  // namespace kalvori
