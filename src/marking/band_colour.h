// The twelve band colours the converter knows: black to white for the digits 0 to 9, gold and
// silver. Every colour name, swatch colour, resistor multiplier suffix, tolerance text and
// colour-button caption that the window shows is written from this one table; the suffixes of the
// capacitor code and of the inductor multiplier, and the digits as text, stand beside it. Nothing is
// computed from a digit.
//
// What it deliberately does not do: paint the colour buttons (they keep their own design colours)
// or know which control a value goes to (the band buttons and the mode layouts decide that).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kalvori {

// A colour as the window stores it: 0x00BBGGRR, red in the low byte.
using BandRgb = std::uint32_t;

enum class Band { Black, Brown, Red, Orange, Yellow, Green, Blue, Violet, Grey, White, Gold, Silver };
inline constexpr std::size_t kBandCount = 12;

struct BandColour {
  Band band;
  std::optional<int> digit;          // none for gold and silver
  std::string_view name;             // one character, for the colour-name labels
  std::string_view caption;          // colour-button caption: name, six blanks, digit
  BandRgb swatch;                    // written into a swatch's BackColor
  std::optional<BandRgb> strip;      // the row legend strip beside the buttons of this digit
  std::optional<std::string_view> suffix;     // what a resistor multiplier writes into k4
  std::optional<std::string_view> tolerance;  // what a tolerance button writes into k5
};

// Rows in the order of Band, so that kBandColours[band] is that band's row.
inline constexpr std::array<BandColour, kBandCount> kBandColours{{
    {Band::Black, 0, "黑", "黑      0", 0x00000000, 0x00000000, "Ω", {}},
    {Band::Brown, 1, "棕", "棕      1", 0x000040C0, 0x000040C0, "0Ω", "误差率＋－1％"},
    {Band::Red, 2, "红", "红      2", 0x000000FF, 0x000000FF, "00Ω", {}},
    {Band::Orange, 3, "橙", "橙      3", 0x000080FF, 0x000080FF, " k", {}},
    {Band::Yellow, 4, "黄", "黄      4", 0x0000FFFF, 0x0000FFFF, "0 k", {}},
    {Band::Green, 5, "绿", "绿      5", 0x0000C000, 0x0000C000, "00 k", {}},
    {Band::Blue, 6, "蓝", "蓝      6", 0x00FF0000, 0x00FF0000, " M", {}},
    {Band::Violet, 7, "紫", "紫      7", 0x00C000C0, 0x00C000C0, "0 M", {}},
    // The grey strip is darker than the grey swatch.
    {Band::Grey, 8, "灰", "灰      8", 0x00E0E0E0, 0x00C0C0C0, {}, {}},
    {Band::White, 9, "白", "白      9", 0x00FFFFFF, 0x00FFFFFF, {}, {}},
    {Band::Gold, {}, "金", "金", 0x00C0FFFF, {}, "×0.1Ω", "误差率＋－5％"},
    // Silver's swatch equals grey's: only the colour name tells them apart.
    {Band::Silver, {}, "银", "银", 0x00E0E0E0, {}, "×0.01Ω", "误差率＋－10％"},
}};

constexpr bool bandRowsInOrder() {
  for (std::size_t i = 0; i < kBandCount; ++i)
    if (static_cast<std::size_t>(kBandColours[i].band) != i) return false;
  return true;
}
static_assert(bandRowsInOrder(), "kBandColours must be indexed by Band");

inline constexpr const BandColour& bandColour(Band b) { return kBandColours[static_cast<std::size_t>(b)]; }
// Digits 0 to 9 are the first ten rows.
inline constexpr const BandColour& digitColour(int digit) { return kBandColours[static_cast<std::size_t>(digit)]; }
// The multiplier columns run black to violet in rows 0 to 7, then gold and silver in rows 8 and 9.
inline constexpr Band multiplierRow(int row) {
  return row < 8 ? static_cast<Band>(row) : (row == 8 ? Band::Gold : Band::Silver);
}

// A digit 0 to 9 as the one character the boxes, code labels and relabelled buttons show.
inline constexpr std::string_view digitText(int digit) {
  return std::string_view("0123456789").substr(static_cast<std::size_t>(digit), 1);
}

// The capacitor code's third digit n (1 to 9, at index n - 1) stands for n zeros after the two
// digits, in picofarads, stepping through pF, nF, uF. A third digit of 8 or 9 is a fraction: ×0.01
// and ×0.1 (so "229" is 2.2 pF).
inline constexpr std::array<std::string_view, 9> kCapacitorSuffixes = {
    "0 pF", "00 pF", " nF", "0 nF", "00 nF", " uF", "0 uF", "×0.01 pF", "×0.1 pF"};

// The inductor multipliers in microhenries, in the rows of a multiplier column: black to violet,
// then gold and silver. Black's bare unit has no blank, so it follows the second digit directly.
inline constexpr std::array<std::string_view, 10> kInductorSuffixes = {
    "uH", "0 uH", "00 uH", " mH", "0 mH", "00 mH", " H", "0 H", "×0.1 uH", "×0.01 uH"};

}  // namespace kalvori
