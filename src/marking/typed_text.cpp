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
    // Brown as it is also called (the names of BandColour are read one character at a time).
    {"咖啡", " brown "},
    // Signs and blanks of the Chinese input methods and of pasted text.
    {"×", "*"}, {"、", ","}, {"。", "."}, {"\u3000", " "}, {"\u00A0", " "}, {"\u2212", "-"},
};

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

bool isUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto one = decodeOne(s.substr(i));
    if (!one) return false;
    i += one->second;
  }
  return true;
}

bool isLineSpace(char32_t cp) { return cp == '\t' || cp == '\n' || cp == '\r'; }
bool isControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

}  // namespace

TypedText normaliseTyped(std::string_view text) {
  if (text.size() > kMaxTypedBytes) return {{}, "太长了"};
  if (!isUtf8(text)) return {{}, "不是有效的 UTF-8 文字"};
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
    if (isLineSpace(cp)) {
      out.ascii += ' ';
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
    if (shown++ == kShown) return out + "…";
    out += isControl(one->first) ? std::string(" ") : std::string(text.substr(i, one->second));
    i += one->second;
  }
  return out;
}

}  // namespace kalvori
