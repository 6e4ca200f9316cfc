#include "marking/e_series.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kalvori {

namespace {

// IEC 60063, one decade of each series.
constexpr std::array<int, 6> kE6{100, 150, 220, 330, 470, 680};
constexpr std::array<int, 12> kE12{100, 120, 150, 180, 220, 270, 330, 390, 470, 560, 680, 820};
constexpr std::array<int, 24> kE24{100, 110, 120, 130, 150, 160, 180, 200, 220, 240, 270, 300,
                                   330, 360, 390, 430, 470, 510, 560, 620, 680, 750, 820, 910};
constexpr std::array<int, 48> kE48{100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169,
                                   178, 187, 196, 205, 215, 226, 237, 249, 261, 274, 287, 301,
                                   316, 332, 348, 365, 383, 402, 422, 442, 464, 487, 511, 536,
                                   562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};
constexpr std::array<int, 96> kE96{
    100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143, 147, 150, 154, 158,
    162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210, 215, 221, 226, 232, 237, 243, 249, 255,
    261, 267, 274, 280, 287, 294, 301, 309, 316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412,
    422, 432, 442, 453, 464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};
constexpr std::array<int, 192> kE192{
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123, 124, 126,
    127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152, 154, 156, 158, 160,
    162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189, 191, 193, 196, 198, 200, 203,
    205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234, 237, 240, 243, 246, 249, 252, 255, 258,
    261, 264, 267, 271, 274, 277, 280, 284, 287, 291, 294, 298, 301, 305, 309, 312, 316, 320, 324, 328,
    332, 336, 340, 344, 348, 352, 357, 361, 365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417,
    422, 427, 432, 437, 442, 448, 453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530,
    536, 542, 549, 556, 562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673,
    681, 690, 698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

constexpr bool ascending(std::span<const int> values) {
  for (std::size_t i = 0; i < values.size(); ++i)
    if (values[i] < 100 || values[i] > 999 || (i > 0 && values[i] <= values[i - 1])) return false;
  return true;
}
static_assert(ascending(kE6) && ascending(kE12) && ascending(kE24) && ascending(kE48) && ascending(kE96) &&
              ascending(kE192));

const std::array<ESeries, 6> kSeries{{{"E6", kE6},
                                      {"E12", kE12},
                                      {"E24", kE24},
                                      {"E48", kE48},
                                      {"E96", kE96},
                                      {"E192", kE192}}};

// A series value in the decade of `magnitude` (470 in the decade of 10^3 is 4.7 k).
Decimal inDecade(int value, int magnitude) { return Decimal::of(static_cast<std::uint64_t>(value), magnitude - 2); }

constexpr std::pair<char, int> kEia96Letters[] = {{'Z', -3}, {'Y', -2}, {'R', -2}, {'X', -1}, {'S', -1}, {'A', 0},
                                                  {'B', 1},  {'H', 1},  {'C', 2},  {'D', 3},  {'E', 4},  {'F', 5}};

}  // namespace

std::span<const ESeries> eSeries() { return kSeries; }
const ESeries& e24() { return kSeries[2]; }
const ESeries& e96() { return kSeries[4]; }

const ESeries* smallestSeriesHolding(const Decimal& value) {
  if (value.isZero() || value.significantDigits() > 3) return nullptr;
  const auto three = value.wholeIn(value.magnitude() - 2);  // the digits as a number 100..999
  for (const ESeries& s : kSeries)
    if (std::binary_search(s.values.begin(), s.values.end(), static_cast<int>(*three))) return &s;
  return nullptr;
}

Neighbours neighboursIn(const ESeries& series, const Decimal& value) {
  const int magnitude = value.magnitude();
  Neighbours n{inDecade(series.values.front(), magnitude), inDecade(series.values.front(), magnitude + 1)};
  for (int v : series.values) {
    const Decimal d = inDecade(v, magnitude);
    if (d < value) n.below = d;
    else if (value < d) {
      n.above = d;
      break;
    }
  }
  return n;
}

std::optional<int> eia96Power(char letter) {
  for (const auto& [l, power] : kEia96Letters)
    if (l == letter) return power;
  return std::nullopt;
}

std::optional<char> eia96Letter(int power) {
  for (const auto& [l, p] : kEia96Letters)
    if (p == power) return l;
  return std::nullopt;
}

}  // namespace kalvori
