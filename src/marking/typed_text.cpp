#include "marking/typed_text.h"

#include <array>
#include <optional>
#include <utility>

#include "marking/band_colour.h"
#include "marking/band_words.h"

namespace kalvori {

namespace {

// Chinese words and signs and what they stand for, the longer of two that begin alike first.
constexpr std::pair<std::string_view, std::string_view> kWords[] = {
    // Units and prefixes: 千欧 is "kohm", 微亨 "uH".
    {"欧姆", "ohm"}, {"欧", "ohm"}, {"法拉", "F"}, {"法", "F"}, {"亨利", "H"}, {"亨", "H"},
    {"千", "k"}, {"兆", "M"}, {"皮", "p"}, {"纳", "n"}, {"微", "u"}, {"毫", "m"},
    {"Ω", "ohm"}, {"\u2126", "ohm"}, {"µ", "u"}, {"μ", "u"},
    // What may stand before a tolerance, or after a colour name.
    {"误差率", " "}, {"误差", " "}, {"±", "+-"}, {"色", " "},
    // Brown as it is also called, and pink, which has no row in BandColour (the names of
    // BandColour are read one character at a time).
    {"咖啡", " brown "}, {"粉红", " pink "}, {"粉", " pink "},
    // Signs and blanks of the Chinese input methods and of pasted text.
    {"×", "*"}, {"、", ","}, {"。", "."}, {"\u3000", " "}, {"\u2212", "-"},
};

// Pasted characters that read as a blank: the no-break spaces, the spaces of fixed widths (the
// thin space U+2009 among them), the zero-width space (it marks where words part), and the line
// and paragraph separators.
bool isBlank(char32_t cp) {
  return cp == 0x00A0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200B) || cp == 0x2028 || cp == 0x2029 ||
         cp == 0x202F || cp == 0x205F;
}

// Pasted characters that are dropped: format characters that change how text is joined or which
// way it runs but mean nothing in a value (byte-order mark, soft hyphen, joiners, bidi marks,
// embeddings, overrides and isolates). None of them may reach an answer, where they would reorder it.
bool isDropped(char32_t cp) {
  return cp == 0xFEFF || cp == 0x00AD || cp == 0x061C || cp == 0x180E || (cp >= 0x200C && cp <= 0x200F) ||
         (cp >= 0x202A && cp <= 0x202E) || cp == 0x2060 || (cp >= 0x2066 && cp <= 0x2069);
}

// Characters that show nothing by themselves, named by code point in a refusal: the other format
// characters, variation selectors, tags, fillers, combining marks and private use.
bool isInvisible(char32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) || cp == 0x034F || cp == 0x115F || cp == 0x1160 || cp == 0x17B4 ||
         cp == 0x17B5 || (cp >= 0x2061 && cp <= 0x2064) || (cp >= 0x206A && cp <= 0x206F) || cp == 0x2800 ||
         cp == 0x3164 || (cp >= 0xE000 && cp <= 0xF8FF) || (cp >= 0xFE00 && cp <= 0xFE0F) || cp == 0xFFA0 ||
         (cp >= 0xFFF0 && cp <= 0xFFFB) || (cp >= 0x1D173 && cp <= 0x1D17A) || (cp >= 0xE0000 && cp <= 0xE0FFF) ||
         cp >= 0xF0000;
}

std::string codePoint(char32_t cp) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string out;
  for (int shift = cp > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 0xF];
  return "U+" + out;
}

constexpr bool wordsBeginPastAscii() {
  for (const auto& w : kWords)
    if (static_cast<unsigned char>(w.first[0]) < 0x80) return false;
  return true;
}
static_assert(wordsBeginPastAscii(), "ASCII is never looked up in kWords");

// One UTF-8 character at the start of `s`: its code point and length, or nothing when the bytes
// are not UTF-8 (overlong forms, surrogates and values past U+10FFFF included).
std::optional<std::pair<char32_t, std::size_t>> decodeOne(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b = byte(0);
  if (b < 0x80) return std::pair<char32_t, std::size_t>{b, 1};
  std::size_t len = 0;
  char32_t cp = 0, least = 0;
  if (b >= 0xC2 && b <= 0xDF)
    len = 2, cp = b & 0x1F, least = 0x80;
  else if (b >= 0xE0 && b <= 0xEF)
    len = 3, cp = b & 0x0F, least = 0x800;
  else if (b >= 0xF0 && b <= 0xF4)
    len = 4, cp = b & 0x07, least = 0x10000;
  else
    return std::nullopt;
  if (s.size() < len) return std::nullopt;
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return std::pair<char32_t, std::size_t>{cp, len};
}

// The length in UTF-16 units, or none when the bytes are not UTF-8.
std::optional<std::size_t> utf16Length(std::string_view s) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < s.size();) {
    const auto one = decodeOne(s.substr(i));
    if (!one) return std::nullopt;
    units += one->first > 0xFFFF ? 2 : 1;
    i += one->second;
  }
  return units;
}

bool isLineSpace(char32_t cp) { return cp == '\t' || cp == '\n' || cp == '\r'; }
bool isControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

}  // namespace

TypedText normaliseTyped(std::string_view text) {
  // No UTF-16 unit takes more than three bytes of UTF-8: longer text is too long unread.
  constexpr std::size_t kMaxChars = kMaxTypedChars;
  if (text.size() > 3 * kMaxChars) return {{}, "太长了"};
  const std::optional<std::size_t> length = utf16Length(text);
  if (!length) return {{}, "不是有效的 UTF-8 文字"};
  if (*length > kMaxChars) return {{}, "太长了"};
  TypedText out;
  out.ascii.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    const std::string_view rest = text.substr(i);
    // Every word of the table begins with a byte past ASCII.
    const auto word = [&]() -> const std::pair<std::string_view, std::string_view>* {
      if (static_cast<unsigned char>(rest[0]) < 0x80) return nullptr;
      for (const auto& w : kWords)
        if (rest.starts_with(w.first)) return &w;
      return nullptr;
    }();
    if (word) {
      out.ascii += word->second;
      i += word->first.size();
      continue;
    }
    const auto [cp, len] = *decodeOne(rest);
    const std::string_view character = rest.substr(0, len);
    i += len;
    if (isLineSpace(cp) || isBlank(cp)) {
      out.ascii += ' ';
    } else if (isDropped(cp)) {
      continue;
    } else if (isInvisible(cp)) {
      return {{}, "不认识看不见的字符 " + codePoint(cp)};
    } else if (isControl(cp)) {
      return {{}, "含有控制字符"};
    } else if (cp < 0x80) {
      out.ascii += static_cast<char>(cp);
    } else if (cp >= 0xFF01 && cp <= 0xFF5E) {  // full-width forms of ASCII
      out.ascii += static_cast<char>(cp - 0xFEE0);
    } else if (const std::optional<Band> band = bandNamed(character)) {
      out.ascii += ' ';
      out.ascii += englishName(*band);
      out.ascii += ' ';
    } else {
      return {{}, "不认识“" + std::string(character) + "”"};
    }
  }
  return out;
}

std::string quotedTyped(std::string_view text) {
  constexpr int kShown = 16;  // characters
  std::string out;
  int shown = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto one = decodeOne(text.substr(i));
    if (!one) return {};
    const char32_t cp = one->first;
    const std::string_view character = text.substr(i, one->second);
    i += one->second;
    // What shows nothing is left out, so that no format character reaches the answer.
    if (isDropped(cp) || isInvisible(cp)) continue;
    if (shown++ == kShown) return out + "…";
    out += isControl(cp) || isBlank(cp) ? std::string(" ") : std::string(character);
  }
  return out;
}

}  // namespace kalvori
