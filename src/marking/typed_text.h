// What was typed or pasted into the look-up line, brought to one plain ASCII spelling before it is
// read: full-width forms as a Chinese input method gives them ("４.７ｋ", "％", "＋－") become
// ASCII, Ω and Ω become "ohm", µ and μ "u", the Chinese unit words their symbols (千欧 "kohm",
// 皮法 "pF", 微亨 "uH"), the colour names their English names ("黄紫" " yellow  violet "), ± "+-",
// and 误差率 before a tolerance a blank. What pasting brings along is read as a blank (the thin and
// narrow no-break spaces data sheets set in "4.7 kΩ", U+00A0, zero-width spaces) or dropped (a
// byte-order mark, joiners, bidi and other format controls), so that none reaches an answer. Also
// quotes the text safely for a refusal.
//
// What it deliberately does not do: read a value. Text that is not UTF-8, too long, holds a control
// character or a character that names nothing here is refused, with the reason in Chinese; an
// invisible character is named by its code point ("U+2061"), since quoting it would show nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvori {

// The longest text read, in UTF-16 units as the look-up line counts them: room for any print with
// every field, even colours written out. Longer text is refused unread, so that reading takes a
// bounded time whatever is pasted; the line takes no more than this either.
inline constexpr int kMaxTypedChars = 120;

struct TypedText {
  std::string ascii;    // the normalised text, when read
  std::string refusal;  // why not, in Chinese; empty when read
};
TypedText normaliseTyped(std::string_view text);

// The text as a refusal quotes it: valid UTF-8 only, line breaks and other control characters as
// blanks, cut after a few characters with "…"; empty for text that is not UTF-8.
std::string quotedTyped(std::string_view text);

}  // namespace kalvori
