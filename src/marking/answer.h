// The words of the look-up's answer, from what was read: one reading's value and every field of its
// print in Chinese ("100 nF ±10%  100 V 直流", "X7R：-55…+125 °C 内变化 ±15%", "0 Ω 跳线"), the
// markings of a value ("四环 黄紫红金", "贴片 472", "代码 104"; none where its tolerance has no band,
// with the reason), its place in the IEC 60063 series, the other readings ("也可能是 …"), and a
// refusal ("看不懂“…”：…"). Also the picture of a reading's marking and the answer as JSON
// (answer_json.h).
//
// What it deliberately does not do: know the window's buttons; which mode shows a reading, and what
// the answer says of it, is the look-up's in converter/.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "marking/print.h"

namespace kalvori {

// Between the parts of an answer line.
inline constexpr std::string_view kAnswerGap = "  ";

// The value first, then every other field: "100 nF ±10%  100 V 直流  X7R：…".
std::string readingWords(const PrintReading& r);

// The markings of a value, each as "四环 黄紫红金", "贴片 472 或 4701", "EIA-96 01C", "代码 104".
std::vector<std::string> markingWords(const Quantity& q);

// "E6 标准值", or the nearest E24 values.
std::string seriesWords(const Quantity& q);

// "也可能是 47 pF  6.3 V 直流；…", empty when there is no other reading.
std::string otherReadingsWords(std::span<const PrintReading> others);

// "看不懂“4k7k”：只能有一个倍率字母": the text as typed, quoted safely, and the reason.
std::string refusalWords(std::string_view text, std::string_view reason);

// Which marking a picture shows of a value that has several.
enum class DrawnMarking { First, FourBand, FiveBand, ChipCode };
// The marking of a reading as it looks on the part: the bands as read for a colour list, otherwise
// the chosen marking of the value; a capacitor's printed lines. None when nothing is printed that a
// picture could show (a power alone, a value too precise for any marking).
std::optional<MarkingPicture> pictureOf(const PrintReading& r, DrawnMarking drawn);

}  // namespace kalvori
