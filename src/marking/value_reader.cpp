#include "marking/value_reader.h"

#include <algorithm>
#include <utility>

#include "marking/e_series.h"

namespace kalvori {

namespace {

std::string quoted(char c) { return "“" + std::string(1, c) + "”"; }

// A prefix letter: its power of ten, the families that use it, and the family it names in a mode
// whose family does not (p, n and u capacitors, k, M and G resistors). R is the decimal point of a
// value in the bare unit; m is milli in every family.
struct Prefix {
  char letter;
  int exponent;
  bool resistance, capacitance, inductance;
  Family own;
  bool usedBy(Family f) const {
    return f == Family::Resistance ? resistance : f == Family::Capacitance ? capacitance : inductance;
  }
};
constexpr Prefix kPrefixes[] = {
    {'p', -12, false, true, false, Family::Capacitance}, {'P', -12, false, true, false, Family::Capacitance},
    {'n', -9, false, true, true, Family::Capacitance},   {'N', -9, false, true, true, Family::Capacitance},
    {'u', -6, false, true, true, Family::Capacitance},   {'U', -6, false, true, true, Family::Capacitance},
    {'m', -3, true, true, true, Family::Resistance},     {'k', 3, true, false, false, Family::Resistance},
    {'K', 3, true, false, false, Family::Resistance},    {'M', 6, true, false, false, Family::Resistance},
    {'G', 9, true, false, false, Family::Resistance},    {'R', 0, true, true, true, Family::Resistance},
    {'r', 0, true, true, true, Family::Resistance},
};

const Prefix* prefixOf(char letter) {
  for (const Prefix& p : kPrefixes)
    if (p.letter == letter) return &p;
  return nullptr;
}

// Commas as thousands separators: "4,700", "1,000,000.5"; a first group of one to three digits
// that is not "0", then groups of exactly three.
bool hasThousandsCommas(std::string_view s) {
  const std::size_t first = s.find(',');
  if (first == 0 || first > 3 || s[0] == '0' || s.substr(0, first).find('.') != std::string_view::npos) return false;
  for (std::size_t at = first; at != std::string_view::npos; at = s.find(',', at + 1)) {
    const std::size_t groupEnd = std::min(s.find_first_of(",.", at + 1), s.size());
    if (groupEnd - at - 1 != 3) return false;
    if (groupEnd < s.size() && s[groupEnd] == '.' && s.find(',', groupEnd) != std::string_view::npos) return false;
  }
  return true;
}


}  // namespace

bool isPrefixLetter(char c) { return prefixOf(c) != nullptr; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNumberChar(char c) { return isDigit(c) || c == '.' || c == ','; }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool allDigits(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), isDigit); }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Whether `s` ends with the lower-case `word`, in any case.
bool endsWithWord(std::string_view s, std::string_view word) {
  if (s.size() < word.size()) return false;
  const std::string_view end = s.substr(s.size() - word.size());
  return std::equal(end.begin(), end.end(), word.begin(), [](char a, char b) { return (a | 0x20) == b; });
}

// Digits with at most one decimal point (or decimal comma) and thousands commas.
std::optional<Decimal> plainNumber(std::string_view s, std::string& why) {
  for (char c : s)
    if (!isNumberChar(c)) return why = "不认识" + quoted(c), std::nullopt;
  std::string text(s);
  const auto commas = std::count(text.begin(), text.end(), ',');
  const auto points = std::count(text.begin(), text.end(), '.');
  if (commas > 0) {
    if (hasThousandsCommas(text))
      text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    else if (commas == 1 && points == 0)
      std::replace(text.begin(), text.end(), ',', '.');
    else
      return why = "逗号的用法看不懂", std::nullopt;
  } else if (points > 1) {
    return why = "小数点太多", std::nullopt;
  }
  std::string digits;
  long before = -1;  // digits before the point
  for (char c : text) {
    if (c == '.')
      before = static_cast<long>(digits.size());
    else
      digits += c;
  }
  if (digits.empty()) return why = "缺少数字", std::nullopt;
  if (before < 0) before = static_cast<long>(digits.size());
  const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
  digits.erase(0, lead);
  before -= static_cast<long>(lead);
  long exponent = before - static_cast<long>(digits.size());
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++exponent;
  }
  if (digits.empty()) return Decimal{};
  if (digits.size() > Decimal::kMaxSignificant) return why = "有效数字太多", std::nullopt;
  return Decimal::of(std::stoull(digits), static_cast<int>(exponent));
}

// A tolerance at the end of `s` ("5%", "± 1 %", "+-0.5%"), which it takes off `s`.
std::optional<Decimal> takeTolerance(std::string_view& s, std::string& why) {
  if (s.find('%') + 1 != s.size()) return why = "误差要写在数值后面", std::nullopt;
  std::size_t end = s.size() - 1;
  while (end > 0 && s[end - 1] == ' ') --end;
  std::size_t start = end;
  while (start > 0 && isNumberChar(s[start - 1])) --start;
  // A comma right after a letter parts the value from its tolerance ("10kΩ,5%", "100nF，10%"): it
  // is no decimal comma, which stands between digits.
  if (start < end && s[start] == ',' && start > 0 && isLetter(s[start - 1])) ++start;
  std::string number(s.substr(start, end - start));
  if (number.empty()) return why = "误差缺少数字", std::nullopt;
  std::replace(number.begin(), number.end(), ',', '.');
  std::string_view rest = trimmed(s.substr(0, start));
  if (!rest.empty() && rest.back() == ',') rest = trimmed(rest.substr(0, rest.size() - 1));
  bool apart = start == 0 || s[start - 1] == ' ' || s[start - 1] == ',';
  for (std::string_view sign : {"+/-", "+-", "-+"})
    if (rest.ends_with(sign)) {
      rest.remove_suffix(sign.size());
      apart = true;
      break;
    }
  // "4k7%" could be 4k7 or 4k and 7 %: a tolerance stands apart, or after a unit that ends a value.
  const bool afterUnit = endsWithWord(rest, "ohm") ||
                         (!rest.empty() && std::string_view("FfHh").find(rest.back()) != std::string_view::npos);
  if (!apart && !afterUnit) return why = "误差前面要有空格或 ±", std::nullopt;
  const std::optional<Decimal> percent = plainNumber(number, why);
  if (!percent) return std::nullopt;
  if (percent->isZero() || Decimal::of(50, 0) < *percent || percent->significantDigits() > 3)
    return why = "误差应大于 0、不超过 50%", std::nullopt;
  s = trimmed(rest);
  return percent;
}

Quantity readCode(std::string_view body, Family family) {
  const int last = body.back() - '0';
  const std::uint64_t digits = std::stoull(std::string(body.substr(0, body.size() - 1)));
  Quantity q;
  q.family = family;
  q.written = body.size() == 3 ? Written::Code3 : Written::Code4;
  // The capacitor code's 8 and 9 are fractions, as the window's capacitor column has them.
  const int power = family == Family::Capacitance && last >= 8 ? last - 10 : last;
  q.value = Decimal::of(digits, power + bareUnitOf(family));
  return q;
}

std::optional<Quantity> readEia96(std::string_view body, std::string& why) {
  const int index = (body[0] - '0') * 10 + (body[1] - '0');
  if (index < 1 || index > 96) return why = "EIA-96 代码只有 01 到 96", std::nullopt;
  Quantity q;
  q.written = Written::Eia96;
  q.value = Decimal::of(static_cast<std::uint64_t>(e96().values[static_cast<std::size_t>(index - 1)]),
                        *eia96Power(upper(body[2])));
  q.tolerance = Decimal::of(1, 0);
  return q;
}

bool looksEia96(std::string_view body) {
  return body.size() == 3 && isDigit(body[0]) && isDigit(body[1]) && isLetter(body[2]) &&
         eia96Power(upper(body[2])).has_value() && upper(body[2]) != 'R';
}

// The unit at the end of `body`, which it takes off: ohm(s) or R, F, H in either case.
std::optional<Family> takeUnit(std::string_view& body) {
  for (std::string_view word : {"ohms", "ohm"})
    if (endsWithWord(body, word)) {
      body.remove_suffix(word.size());
      return Family::Resistance;
    }
  if (body.empty()) return std::nullopt;
  std::optional<Family> unit;
  switch (body.back()) {
    case 'R':
    case 'r':
      unit = Family::Resistance;
      break;
    case 'F':
    case 'f':
      unit = Family::Capacitance;
      break;
    case 'H':
    case 'h':
      unit = Family::Inductance;
      break;
    default:
      return std::nullopt;
  }
  body.remove_suffix(1);
  return unit;
}

// A number with a prefix letter after it or in the place of its point, or a factor "×0.1" or
// "×0.01" (as the window's gold and silver multipliers read), and perhaps a unit.
std::optional<Quantity> readValue(std::string_view body, PartKind kind, std::string& why) {
  // Old capacitors print MFD for microfarads and MMFD for picofarads: units with their prefix.
  std::optional<int> unitPower;
  for (const auto& [word, power] : {std::pair{std::string_view("mmfd"), -12}, std::pair{std::string_view("mfd"), -6}})
    if (endsWithWord(body, word)) {
      body.remove_suffix(word.size());
      unitPower = power;
      break;
    }
  const bool rUnit = !unitPower && !body.empty() && upper(body.back()) == 'R';
  const std::optional<Family> unit = unitPower ? Family::Capacitance : takeUnit(body);
  if ((rUnit || unitPower) && std::any_of(body.begin(), body.end(), isLetter))
    return why = "只能有一个倍率字母", std::nullopt;
  std::string_view number = body;
  std::string pointed;
  std::optional<char> letter;
  bool letterIsPoint = false;
  int factor = 0;
  if (const std::size_t star = body.find('*'); star != std::string_view::npos) {
    std::string_view right = body.substr(star + 1);
    number = body.substr(0, star);
    if (!right.empty() && isLetter(right.back())) letter = right.back(), right.remove_suffix(1);
    if (right == "0.1")
      factor = -1;
    else if (right == "0.01")
      factor = -2;
    else
      return why = "“×”后面只能是 0.1 或 0.01", std::nullopt;
    if (!allDigits(number)) return why = "“×”前面只能是整数", std::nullopt;
  } else {
    const auto letters = std::count_if(body.begin(), body.end(), isLetter);
    for (char c : body)
      if (isLetter(c) && !prefixOf(c)) return why = "不认识字母" + quoted(c), std::nullopt;
    if (letters > 1) return why = "只能有一个倍率字母", std::nullopt;
    if (letters == 1) {
      const std::size_t at = static_cast<std::size_t>(std::find_if(body.begin(), body.end(), isLetter) - body.begin());
      letter = body[at];
      if (at + 1 == body.size()) {
        number = body.substr(0, at);
      } else {
        if (body.find_first_of(".,") != std::string_view::npos)
          return why = "倍率字母已当小数点，不能再有小数点", std::nullopt;
        pointed = std::string(body.substr(0, at)) + "." + std::string(body.substr(at + 1));
        number = pointed;
        letterIsPoint = true;
      }
    }
  }
  const Prefix* prefix = letter ? prefixOf(*letter) : nullptr;
  if (letter && !prefix) return why = "不认识字母" + quoted(*letter), std::nullopt;
  if (number.empty() || number == ".") return why = "缺少数字", std::nullopt;
  const std::optional<Decimal> mantissa = plainNumber(number, why);
  if (!mantissa) return std::nullopt;

  // Resistance's prefixes and R name no farad: F after them is the tolerance letter ±1 % ("1M0F").
  if (unit && prefix && (!prefix->usedBy(*unit) || (*unit == Family::Capacitance && upper(prefix->letter) == 'R')))
    return why = "不认识字母" + quoted(prefix->letter), std::nullopt;

  // A letter stands for the point of short values only: "1N4148" is a part number, not 1.4148 nF.
  if (letterIsPoint && mantissa->significantDigits() > 4) return why = "字母当小数点时最多四位数字", std::nullopt;

  Quantity q;
  q.written = letterIsPoint ? Written::RNotation : Written::Value;
  int exponent = 0;
  if (unit) {
    q.family = *unit;
    exponent = unitPower ? *unitPower : prefix ? prefix->exponent : 0;
  } else {
    q.family = familyOf(kind);
    if (prefix && !prefix->usedBy(q.family)) q.family = prefix->own;
    exponent = prefix && prefix->exponent != 0 ? prefix->exponent : bareUnitOf(q.family);
  }
  q.value = Decimal::of(mantissa->digits, mantissa->exponent + exponent + factor);
  return q;
}


}  // namespace kalvori
