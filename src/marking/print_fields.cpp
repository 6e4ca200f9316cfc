#include "marking/print_fields.h"

#include <algorithm>
#include <array>

#include "marking/chip_capacitor_code.h"
#include "marking/e_series.h"
#include "marking/tolerance_letters.h"
#include "marking/value_reader.h"
#include "marking/voltage_codes.h"

namespace kalvori {

namespace {

// Values outside 10^-15 .. 10^15 ohms, farads or henries are no component's.
constexpr int kSmallestMagnitude = -15, kLargestMagnitude = 15;
// Fields run together only in short groups ("104K100V", "2A104J"); a longer group is read whole.
constexpr std::size_t kLongestRunTogether = 24;
constexpr int kMostRunTogether = 3;

constexpr std::array<PartKind, 4> kKinds{PartKind::ResistorBands, PartKind::InductorBands, PartKind::CapacitorCode,
                                         PartKind::ChipResistorCode};

int familyFit(Family f, PartKind kind) { return f == familyOf(kind) ? 4 : 0; }

template <typename T>
bool takeOnce(std::optional<T>& into, const std::optional<T>& from) {
  if (!from) return true;
  if (into) return false;
  into = from;
  return true;
}

Piece valuePiece(const Quantity& q, PartKind kind, int extra = 0, bool otherSense = false) {
  Piece p;
  p.fields.quantity = q;
  p.fit = familyFit(q.family, kind) + extra;
  p.otherSense = otherSense;
  return p;
}

const Decimal kMicrofarad = Decimal::of(1, -6);

// The end of a number starting at `i`: digits, points, and commas between digits.
std::size_t numberEnd(std::string_view t, std::size_t i) {
  std::size_t e = i;
  while (e < t.size() && (isDigit(t[e]) || t[e] == '.' || (t[e] == ',' && e + 1 < t.size() && isDigit(t[e + 1])))) ++e;
  return std::any_of(t.begin() + static_cast<long>(i), t.begin() + static_cast<long>(e), isDigit) ? e : i;
}

std::optional<Decimal> numberAt(std::string_view t, std::size_t i, std::size_t e) {
  std::string ignored;
  const std::optional<Decimal> d = plainNumber(t.substr(i, e - i), ignored);
  return d && inRange(*d) ? d : std::nullopt;
}

// What a bare number means to a kind of part: a value in its bare unit, the printed code of a kind
// that reads codes, and on a capacitor microfarads when it has a decimal point.
std::optional<Quantity> bareSense(std::string_view u, PartKind kind) {
  const Family family = familyOf(kind);
  if (allDigits(u) && readsCodes(kind) && (u.size() == 3 || (u.size() == 4 && kind == PartKind::ChipResistorCode)))
    return readCode(u, family);
  std::string ignored;
  const std::optional<Decimal> d = plainNumber(u, ignored);
  if (!d) return std::nullopt;
  const bool pointed = u.find_first_of(".,") != std::string_view::npos;
  const int unit = family == Family::Capacitance && pointed ? -6 : bareUnitOf(family);
  Quantity q;
  q.family = family;
  q.value = Decimal::of(d->digits, d->exponent + unit);
  return q;
}

// A zero-ohm link: "0", "000", "0000", "0R", "0R0", "0 Ω".
bool isZeroLink(std::string_view u) {
  for (std::string_view word : {"ohms", "ohm"})
    if (endsWithWord(u, word)) u.remove_suffix(word.size());
  if (u.empty() || u.size() > 5 || u[0] != '0') return false;
  int points = 0;
  for (char c : u)
    if (c == 'R' || c == 'r') ++points;
    else if (c != '0') return false;
  return points <= 1;
}

void addUnique(std::vector<Piece>& out, Piece p) {
  if (p.fields.quantity && !p.fields.zeroOhmLink && !inRange(p.fields.quantity->value)) return;
  for (const Piece& q : out)
    if (q.fields == p.fields && q.needsVoltage == p.needsVoltage) return;
  out.push_back(std::move(p));
}

// Every meaning of one value, perhaps with a tolerance letter or a tantalum voltage letter after it.
void valuePieces(std::string_view u, PartKind kind, bool whole, bool unitApart, std::vector<Piece>& out) {
  if (u.empty()) return;
  if (whole && isZeroLink(u)) {
    Piece p;
    p.fields.quantity = Quantity{};
    p.fields.zeroOhmLink = true;
    p.fit = 4;
    out.push_back(p);
    return;
  }
  const bool bare = std::all_of(u.begin(), u.end(), isNumberChar);
  if (bare) {
    // The part in hand's meaning first, then the other kinds'.
    if (const auto q = bareSense(u, kind)) addUnique(out, valuePiece(*q, kind));
    for (PartKind k : kKinds)
      if (const auto q = bareSense(u, k)) addUnique(out, valuePiece(*q, kind, 0, true));
    // An electrolytic prints its microfarads bare beside its voltage ("470 6.3V"); its values are
    // the series' own, where a code's digits seldom are.
    std::string ignored;
    if (const auto d = plainNumber(u, ignored); d && !d->isZero() && u[0] != '0') {
      Piece p = valuePiece({Decimal::of(d->digits, d->exponent - 6), Family::Capacitance, {}, Written::Value}, kind);
      const ESeries* s = smallestSeriesHolding(*d);
      p.fit += s && s->values.size() <= 12 ? 1 : -1;
      p.needsVoltage = true;
      addUnique(out, p);
    }
    return;
  }
  std::string why;
  const std::optional<Quantity> value = readValue(u, kind, why);
  if (value) {
    addUnique(out, valuePiece(*value, kind));
    for (PartKind k : kKinds)
      if (const auto other = readValue(u, k, why)) addUnique(out, valuePiece(*other, kind, 0, true));
  }
  // A letter after a complete value: a tolerance letter, or a tantalum chip's voltage letter.
  const char last = u.back();
  const std::string_view rest = u.substr(0, u.size() - 1);
  if (rest.empty() || !isLetter(last)) return;
  const char letter = upper(last);
  // F and H that end a value read with them are its unit ("4.7mH", "10uF"), not tolerance letters;
  // after a code too where they stand apart ("100 H" is a hundred henries).
  if (value && (letter == 'F' || letter == 'H') && (unitApart || !(allDigits(rest) && rest.size() == 3))) return;
  const bool lowerAfterCode = last != letter && allDigits(rest) && rest.size() == 3 &&
                              std::string_view("jkm").find(last) != std::string_view::npos;
  const bool toleranceLetter = isToleranceLetter(letter) && (last == letter || lowerAfterCode);
  const auto withTolerance = [&](Quantity q, int extra, bool otherSense) {
    if (!toleranceLetter) return;
    q.tolerance = toleranceOfLetter(letter, q.family, q.value);
    addUnique(out, valuePiece(q, kind, extra, otherSense));
  };
  if (allDigits(rest) && rest.size() == 3) {
    // After a complete capacitor or inductor code the letter is never a prefix.
    const Quantity farads = readCode(rest, Family::Capacitance);
    const auto tantalum = last == letter ? tantalumVoltage(letter) : std::nullopt;
    const bool large = !(farads.value < kMicrofarad);
    withTolerance(farads, !large || !tantalum ? 1 : 0, false);
    if (kind == PartKind::InductorBands) withTolerance(readCode(rest, Family::Inductance), 1, false);
    if (tantalum) {
      Piece p = valuePiece(farads, kind, large ? 1 : 0);
      p.fields.voltage = Voltage{*tantalum, false, std::string(1, letter)};
      p.fields.tantalum = true;
      addUnique(out, p);
    }
  } else if (whole && allDigits(rest) && rest.size() <= 2 && rest[0] != '0' && letter != 'F' && letter != 'H' &&
             (kind == PartKind::CapacitorCode || !looksEia96(u))) {
    // Small ceramics print picofarads and a tolerance letter ("47J"): the first meaning for a
    // capacitor in hand, for another part only where nothing else fits ("10K" is 10 kΩ, "5W" five
    // watts); and the shape of an EIA-96 code ("97C") is that code's but for a capacitor in hand.
    Quantity q{};
    q.family = Family::Capacitance;
    q.value = Decimal::of(std::stoull(std::string(rest)), -12);
    withTolerance(q, 0, kind != PartKind::CapacitorCode);
  } else if (std::any_of(rest.begin(), rest.end(), isLetter)) {
    if (const auto q = readValue(rest, kind, why)) withTolerance(*q, 0, false);
    for (PartKind k : kKinds)
      if (const auto q = readValue(rest, k, why)) withTolerance(*q, 0, true);
  }
}

struct Match {
  std::size_t end;
  Piece piece;
};

// A rated voltage written out at `i`: "25V", "6.3V", "1KV", "250VAC", "275V~", "50WV", "16VDC".
void voltageAt(std::string_view t, std::size_t i, std::vector<Match>& out) {
  const std::size_t n = numberEnd(t, i);
  if (n == i || (t[i] == '0' && (i + 1 >= n || t[i + 1] != '.'))) return;
  std::optional<Decimal> volts = numberAt(t, i, n);
  if (!volts) return;
  std::size_t e = n;
  if (e < t.size() && (t[e] == 'k' || t[e] == 'K')) volts = Decimal::of(volts->digits, volts->exponent + 3), ++e;
  bool alternating = false;
  if (e + 1 < t.size() && upper(t[e]) == 'W' && upper(t[e + 1]) == 'V') {
    e += 2;  // working volts
  } else if (e < t.size() && upper(t[e]) == 'V') {
    ++e;
  } else {
    return;
  }
  if (e + 1 < t.size() && (endsWithWord(t.substr(e, 2), "ac") || endsWithWord(t.substr(e, 2), "dc"))) {
    alternating = upper(t[e]) == 'A';
    e += 2;
  } else if (e < t.size() && t[e] == '~') {
    alternating = true;
    ++e;
  }
  if (Decimal::of(1, 5) < *volts) return;
  Piece p;
  p.fields.voltage = Voltage{*volts, alternating, {}};
  out.push_back({e, p});
}

// The two-character voltage code at `i`: "2A", "1H".
void voltageCodeAt(std::string_view t, std::size_t i, std::vector<Match>& out) {
  if (i + 1 >= t.size()) return;
  const std::optional<Decimal> volts = codedVoltage(t[i], t[i + 1]);
  if (!volts) return;
  Piece p;
  p.fields.voltage = Voltage{*volts, false, std::string(t.substr(i, 2))};
  // Where a code reads as volts written out too ("1V", "2V" beside a capacitance), the code is meant.
  p.fit = 1;
  out.push_back({i + 2, p});
}

// A power at `i`: "5W", "0.25W", "1/4W"; not the working volts of "50WV".
void powerAt(std::string_view t, std::size_t i, std::vector<Match>& out) {
  const std::size_t n = numberEnd(t, i);
  if (n == i || (t[i] == '0' && (i + 1 >= n || t[i + 1] != '.'))) return;
  std::optional<Decimal> watts = numberAt(t, i, n);
  std::size_t e = n;
  if (e < t.size() && t[e] == '/' && allDigits(t.substr(i, n - i)) && n - i <= 3) {
    // A fraction: 1/4, 1/2, 1/8 and the like, as resistors are sold.
    std::size_t d = e + 1;
    while (d < t.size() && isDigit(t[d])) ++d;
    if (d == e + 1 || d - e - 1 > 3) return;
    const std::uint64_t below = std::stoull(std::string(t.substr(e + 1, d - e - 1)));
    const std::uint64_t above = std::stoull(std::string(t.substr(i, n - i)));
    watts = std::nullopt;
    // Exact only where the fraction ends in decimals: halves, quarters, eighths, fifths, tenths.
    for (int places = 0; places <= 4 && below != 0; ++places) {
      std::uint64_t scale = 1;
      for (int k = 0; k < places; ++k) scale *= 10;
      if ((above * scale) % below == 0) {
        watts = Decimal::of(above * scale / below, -places);
        break;
      }
    }
    e = d;
  }
  if (!watts || watts->isZero() || e >= t.size() || upper(t[e]) != 'W') return;
  if (e + 1 < t.size() && upper(t[e + 1]) == 'V') return;
  if (Decimal::of(1, 3) < *watts) return;  // no printed resistor is rated above a kilowatt
  Piece p;
  p.fields.watts = *watts;
  out.push_back({e + 1, p});
}

void piecesAt(std::string_view t, std::size_t i, PartKind kind, bool wholeOnly, bool unitApart,
              std::vector<Match>& out) {
  voltageAt(t, i, out);
  // A voltage code leads its group ("2A104J") or stands alone.
  if (i == 0) voltageCodeAt(t, i, out);
  powerAt(t, i, out);
  const char c = t[i];
  if (!isDigit(c) && c != '.' && c != 'R' && c != 'r') return;
  // A value runs to the end of its group, or stops where the rated voltage follows it
  // ("104K100V"); a voltage code or a power before it leaves it the rest ("2A104J", "5W10RJ").
  for (std::size_t e = wholeOnly || i > 0 ? t.size() : i + 1; e <= t.size(); ++e) {
    if (e < t.size()) {
      std::vector<Match> voltage;
      voltageAt(t, e, voltage);
      if (voltage.empty() || voltage.front().end != t.size()) continue;
    }
    // Among fields run together a value carries a letter, or is a three-digit code after a voltage
    // code ("2A104").
    const std::string_view u = t.substr(i, e - i);
    const bool whole = i == 0 && e == t.size();
    if (!whole && std::all_of(u.begin(), u.end(), isNumberChar) && !(i > 0 && u.size() == 3 && allDigits(u))) continue;
    std::vector<Piece> pieces;
    valuePieces(u, kind, whole, unitApart && e == t.size(), pieces);
    for (Piece& p : pieces) out.push_back({e, std::move(p)});
  }
}

// Every way the fields of `t` from `i` run together.
void runTogether(std::string_view t, std::size_t i, const Piece& sofar, int depth, PartKind kind, bool unitApart,
                 std::vector<Piece>& out) {
  if (i == t.size()) {
    if (depth > 0) addUnique(out, sofar);
    return;
  }
  if (depth == kMostRunTogether) return;
  std::vector<Match> matches;
  piecesAt(t, i, kind, t.size() > kLongestRunTogether, unitApart, matches);
  for (const Match& m : matches) {
    Piece next = sofar;
    // Each field run into another makes a reading a little less likely than one read whole.
    if (depth > 0) next.fit -= 1;
    if (merge(next, m.piece)) runTogether(t, m.end, next, depth + 1, kind, unitApart, out);
  }
}

// A maker's part number: letters and digits, more digits than a value spells ("3296W", "1N4148"),
// or a series of two letters and its number ("WH148", "RV09").
bool isPartNumber(std::string_view t) {
  if (t.size() < 4 || t.size() > 16) return false;
  int letters = 0, digits = 0;
  for (char c : t) {
    if (isLetter(c)) ++letters;
    else if (isDigit(c)) ++digits;
    else if (c != '-') return false;
  }
  const bool series = isLetter(t[0]) && isLetter(t[1]) && isDigit(t[2]) && isDigit(t[3]);
  return letters > 0 && (digits >= 3 || series);
}

// A film capacitor's microfarads with a point, its tolerance letter and its volts: ".1J100".
std::optional<Piece> filmPrint(std::string_view t, PartKind kind) {
  const std::size_t n = numberEnd(t, 0);
  if (n == 0 || n + 3 > t.size() || t.substr(0, n).find('.') == std::string_view::npos) return std::nullopt;
  const char letter = t[n];
  const std::string_view volts = t.substr(n + 1);
  if (!isToleranceLetter(letter) || !allDigits(volts) || volts.size() < 2 || volts.size() > 4 || volts[0] == '0')
    return std::nullopt;
  const std::optional<Decimal> uf = numberAt(t, 0, n);
  if (!uf) return std::nullopt;
  Quantity q;
  q.family = Family::Capacitance;
  q.value = Decimal::of(uf->digits, uf->exponent - 6);
  q.tolerance = toleranceOfLetter(letter, q.family, q.value);
  Piece p = valuePiece(q, kind, 1);
  p.fields.voltage = Voltage{Decimal::of(std::stoull(std::string(volts)), 0), false, {}};
  return p;
}

// A pot's taper letter before its value: "B10K", "A100K", "B103".
std::optional<Piece> taperedValue(std::string_view t, PartKind kind) {
  constexpr std::array<std::pair<char, Taper>, 3> kTapers{
      {{'A', Taper::Logarithmic}, {'B', Taper::Linear}, {'C', Taper::ReverseLogarithmic}}};
  if (t.size() < 3) return std::nullopt;
  const std::string_view rest = t.substr(1);
  std::optional<Quantity> q;
  std::string why;
  if (allDigits(rest) && rest.size() == 3)
    q = readCode(rest, Family::Resistance);
  else if (std::any_of(rest.begin(), rest.end(), isLetter) && isDigit(rest[0]))
    q = readValue(rest, PartKind::ResistorBands, why);
  if (!q || q->family != Family::Resistance || !inRange(q->value)) return std::nullopt;
  for (const auto& [letter, taper] : kTapers)
    if (letter == t[0]) {
      Piece p = valuePiece(*q, kind, 1);
      p.fields.taper = taper;
      return p;
    }
  return std::nullopt;
}
}  // namespace

// Adds `b` to `a`; false when both carry the same field.
bool merge(Piece& a, const Piece& b) {
  PrintReading& x = a.fields;
  const PrintReading& y = b.fields;
  if (!takeOnce(x.quantity, y.quantity) || !takeOnce(x.voltage, y.voltage) || !takeOnce(x.dielectric, y.dielectric) ||
      !takeOnce(x.tempco, y.tempco) || !takeOnce(x.watts, y.watts) || !takeOnce(x.taper, y.taper))
    return false;
  if (y.safety) {
    if (x.safety) return false;
    x.safety = y.safety;
  }
  if (!y.partNumber.empty()) {
    if (!x.partNumber.empty()) return false;
    x.partNumber = y.partNumber;
  }
  x.zeroOhmLink = x.zeroOhmLink || y.zeroOhmLink;
  x.tantalum = x.tantalum || y.tantalum;
  a.fit += b.fit;
  a.otherSense = a.otherSense || b.otherSense;
  a.needsVoltage = a.needsVoltage || b.needsVoltage;
  return true;
}

bool inRange(const Decimal& v) {
  return !v.isZero() && v.magnitude() >= kSmallestMagnitude && v.magnitude() <= kLargestMagnitude;
}

// Every meaning of one field of a print.
std::vector<Piece> fieldMeanings(std::string_view t, PartKind kind, bool unitApart) {
  std::vector<Piece> out;
  runTogether(t, 0, Piece{}, 0, kind, unitApart, out);
  if (looksEia96(t)) {
    std::string why;
    if (const auto q = readEia96(t, why)) {
      // H and F are henries and farads but for a chip resistor in hand.
      const char letter = upper(t[2]);
      const bool unitLetter = letter == 'H' || letter == 'F';
      addUnique(out, valuePiece(*q, kind, unitLetter && kind != PartKind::ChipResistorCode ? -6 : 1));
    }
  }
  if (const auto p = filmPrint(t, kind)) addUnique(out, *p);
  if (const auto p = taperedValue(t, kind)) addUnique(out, *p);
  if (const auto d = readDielectric(t)) {
    Piece p;
    p.fields.dielectric = d;
    // Class 2 codes and C0G under its names are printed on parts; the other class 1 codes seldom.
    p.fit = d->dielectricClass == 2 || d->code == "C0G" || d->code == "NP0" || d->code == "NPO" ? 3 : 1;
    addUnique(out, p);
  }
  if (const SafetyClass* s = safetyClass(t)) {
    Piece p;
    p.fields.safety = s;
    p.fit = 3;
    addUnique(out, p);
  }
  if (const auto farads = chipCapacitorCode(t)) {
    Quantity q;
    q.family = Family::Capacitance;
    q.value = *farads;
    addUnique(out, valuePiece(q, kind, -2));
  }
  if (out.empty() && isPartNumber(t)) {
    Piece p;
    p.fields.partNumber = std::string(t);
    out.push_back(p);
  }
  return out;
}

}  // namespace kalvori
