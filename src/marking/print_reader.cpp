#include "marking/print_reader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "marking/colour_reader.h"
#include "marking/print_fields.h"
#include "marking/typed_text.h"
#include "marking/value_reader.h"

namespace kalvori {

namespace {

// No print has more fields; more are refused rather than combined.
constexpr std::size_t kMostFields = 8;
// Bounds the combining of fields, whatever is typed.
constexpr int kMostCombinations = 4000;
constexpr std::size_t kMostReadings = 4;

// The fields of a print: cut at blanks, slashes and commas that stand outside a number ("1/4W" is
// one field, "4,7k" one number), a unit standing apart joined to its number ("47 uF", "275 VAC").
struct Field {
  std::string text;
  bool unitApart = false;  // its last letters stood apart from its number
};

std::vector<Field> fieldsOf(std::string_view s) {
  std::vector<Field> out;
  std::string field;
  // A number with a prefix only, as in "4.7 k Ω", takes its unit too.
  const auto prefixed = [](std::string_view f) {
    const std::size_t letters = f.find_first_not_of("0123456789.,");
    return letters > 0 && letters != std::string_view::npos && f.size() - letters == 1 && isPrefixLetter(f.back());
  };
  const auto cut = [&] {
    if (field.empty()) return;
    const bool unitOnly = std::all_of(field.begin(), field.end(), [](char c) { return isLetter(c) || c == '~'; });
    const bool unit = field == "ohm" || field == "ohms" || field == "F" || field == "H" || field == "f" || field == "h";
    if (unitOnly && !out.empty() &&
        (isDigit(out.back().text.back()) || out.back().text.back() == '.' || (unit && prefixed(out.back().text)))) {
      out.back().text += field;
      out.back().unitApart = true;
    } else {
      out.push_back({field});
    }
    field.clear();
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool digitBefore = i > 0 && isDigit(s[i - 1]), digitAfter = i + 1 < s.size() && isDigit(s[i + 1]);
    const bool fraction = c == '/' && digitBefore && digitAfter && allDigits(field) &&
                          [&] {
                            std::size_t d = i + 1;
                            while (d < s.size() && isDigit(s[d])) ++d;
                            return d < s.size() && upper(s[d]) == 'W';
                          }();
    if (c == ' ' || (c == '/' && !fraction) || (c == ',' && !(digitBefore && digitAfter)))
      cut();
    else
      field += c;
  }
  cut();
  return out;
}

bool coherent(const Piece& p) {
  const PrintReading& r = p.fields;
  const std::optional<Family> family = r.quantity ? std::optional<Family>(r.quantity->family) : std::nullopt;
  const bool capacitorFields = r.voltage || r.dielectric || r.safety;
  const bool resistorFields = r.watts || r.taper || r.tempco;
  if (capacitorFields && resistorFields) return false;
  if (capacitorFields && family && *family != Family::Capacitance) return false;
  if (resistorFields && family && *family != Family::Resistance) return false;
  if (p.needsVoltage && !r.voltage) return false;
  if (!r.partNumber.empty() && !r.quantity) return false;
  return r.quantity || capacitorFields || resistorFields;
}

// Nothing but a value (and a typed tolerance, or a part number, which says nothing of the value).
bool valueAlone(const PrintReading& r) {
  return !r.voltage && !r.dielectric && !r.safety && !r.watts && !r.taper && !r.tempco;
}

struct Combined {
  Piece piece;
  std::size_t order;
};

void combine(const std::vector<std::vector<Piece>>& meanings, std::size_t field, const Piece& sofar, int& budget,
             std::vector<Combined>& out) {
  if (--budget < 0) return;
  if (field == meanings.size()) {
    out.push_back({sofar, out.size()});
    return;
  }
  for (const Piece& p : meanings[field]) {
    Piece next = sofar;
    if (merge(next, p)) combine(meanings, field + 1, next, budget, out);
  }
}

std::string quotedField(std::string_view field) { return "“" + std::string(field) + "”"; }

// Why one field means nothing.
std::string fieldRefusal(std::string_view t, PartKind kind) {
  std::string why;
  if (looksEia96(t) && !readEia96(t, why)) return why;
  if (const auto q = readValue(t, kind, why)) {
    if (q->value.isZero()) return "数值是零";
    return "数值超出范围";
  }
  return why.empty() ? "不认识" + quotedField(t) : why;
}

PrintReadings refused(std::string why) { return {{}, std::move(why)}; }

}  // namespace

PrintReadings readPrint(std::string_view text, PartKind kind) {
  const TypedText typed = normaliseTyped(text);
  if (!typed.refusal.empty()) return refused(typed.refusal);
  std::string_view s = trimmed(typed.ascii);
  if (s.empty()) return {};
  if (s.find_first_of("()[]") != std::string_view::npos) {
    const std::size_t open = s.find_first_of("([");
    const bool toleranceInside = open != std::string_view::npos && s.find('%', open) != std::string_view::npos;
    return refused(toleranceInside ? "误差要直接写在数值后面，不加括号" : "不认识括号");
  }

  // A typed tolerance in percent ends the value it belongs to; fields may follow it ("10k 5% 1/4W").
  std::optional<Decimal> percent;
  std::string rest(s);
  if (const std::size_t at = s.find('%'); at != std::string_view::npos) {
    std::string why;
    std::string_view head = s.substr(0, at + 1);
    const std::string_view tail = trimmed(s.substr(at + 1));
    percent = takeTolerance(head, why);
    if (!percent) return refused(why);
    if (head.empty()) return refused(tail.empty() ? "只有误差，没有数值" : "误差要写在数值后面");
    if (tail.find('%') != std::string_view::npos) return refused("误差写了两次");
    rest = std::string(head) + " " + std::string(tail);
  }

  if (startsWithColour(rest)) {
    if (percent) return refused("色环已经标出误差");
    std::string why;
    const std::optional<PrintReading> r = readColours(rest, kind, why);
    if (!r) return refused(why);
    if (r->quantity && !r->zeroOhmLink && !inRange(r->quantity->value)) return refused("数值超出范围");
    return {{*r}, {}};
  }

  rest.erase(std::unique(rest.begin(), rest.end(), [](char a, char b) { return a == ' ' && b == ' '; }), rest.end());
  const std::vector<Field> fields = fieldsOf(rest);
  if (fields.empty()) return refused("缺少数字");
  if (fields.size() > kMostFields) return refused("标注的段数太多");
  std::vector<std::vector<Piece>> meanings;
  for (const Field& field : fields) {
    const std::string& f = field.text;
    meanings.push_back(fieldMeanings(f, kind, field.unitApart));
    if (meanings.back().empty()) {
      const std::string why = fieldRefusal(f, kind);
      // Where the reason does not quote the field, it names it.
      const bool named = fields.size() == 1 || why.find("“") != std::string::npos;
      return refused(named ? why : quotedField(f) + "：" + why);
    }
  }

  std::vector<Combined> combined;
  int budget = kMostCombinations;
  combine(meanings, 0, Piece{}, budget, combined);
  std::vector<Combined> kept;
  bool toleranceTwice = false;
  for (Combined& c : combined) {
    PrintReading& r = c.piece.fields;
    if (!coherent(c.piece)) continue;
    if (percent) {
      if (r.quantity && r.quantity->tolerance) toleranceTwice = true;
      if (!r.quantity || r.zeroOhmLink || r.quantity->tolerance) continue;
      r.quantity->tolerance = *percent;
    }
    // A pot or trimmer prints its value as a code beside its part number ("3296W 103").
    if (!r.partNumber.empty() && r.quantity->written == Written::Code3 && r.quantity->family == Family::Resistance) {
      c.piece.fit += 1;
      c.piece.otherSense = false;
    }
    kept.push_back(std::move(c));
  }
  std::stable_sort(kept.begin(), kept.end(),
                   [](const Combined& a, const Combined& b) { return a.piece.fit > b.piece.fit; });
  PrintReadings out;
  // Another kind's meaning of a bare number is offered only where the print says more, or where
  // nothing else fits.
  const bool ownMeaning = std::any_of(kept.begin(), kept.end(), [](const Combined& c) { return !c.piece.otherSense; });
  for (const Combined& c : kept) {
    if (ownMeaning && c.piece.otherSense && valueAlone(c.piece.fields)) continue;
    if (std::find(out.readings.begin(), out.readings.end(), c.piece.fields) != out.readings.end()) continue;
    out.readings.push_back(c.piece.fields);
    if (out.readings.size() == kMostReadings) break;
  }
  if (!out.readings.empty()) return out;

  // Nothing fits: say which fields clash.
  std::size_t valuesOnly = 0;
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    const bool allValues =
        std::all_of(meanings[i].begin(), meanings[i].end(), [](const Piece& p) { return p.fields.quantity; });
    if (!allValues) continue;
    ++valuesOnly;
    // "4 7k": a blank inside a number, rather than two values.
    const std::string apart = i > 0 ? fields[i - 1].text + " " + fields[i].text : std::string();
    if (i > 0 && isNumberChar(fields[i - 1].text.back()) && isNumberChar(fields[i].text.front()) && valuesOnly > 1 &&
        rest.find(apart) != std::string::npos)
      return refused("数字中间不能有空格");
  }
  if (valuesOnly > 1) return refused("有两个数值");
  if (toleranceTwice) return refused("误差写了两次");
  const auto all = [&](std::size_t i, auto test) { return std::all_of(meanings[i].begin(), meanings[i].end(), test); };
  const auto partNumberOnly = [](const Piece& p) { return !p.fields.partNumber.empty() && !p.fields.quantity; };
  if (fields.size() == 1)
    return refused(all(0, partNumberOnly) ? "只有型号，没有数值" : fieldRefusal(fields.front().text, kind));
  // A field of one kind of part beside the value of another: "10k 25V".
  constexpr std::pair<Family, std::string_view> kParts[] = {
      {Family::Resistance, "电阻"}, {Family::Capacitance, "电容"}, {Family::Inductance, "电感"}};
  for (const auto& kindOfPart : kParts) {
    const Family family = kindOfPart.first;
    const std::string_view part = kindOfPart.second;
    const auto valueOf = [family](const Piece& p) { return p.fields.quantity && p.fields.quantity->family == family; };
    const bool value = std::any_of(meanings.begin(), meanings.end(), [&](const std::vector<Piece>& m) {
      return std::all_of(m.begin(), m.end(), valueOf);
    });
    if (!value) continue;
    for (std::size_t i = 0; i < meanings.size(); ++i) {
      const auto notItsField = [family](const Piece& p) {
        Piece alone{p.fields, 0, false, false};
        alone.fields.quantity = Quantity{Decimal::of(1, 0), family, {}, Written::Value};
        return !p.fields.quantity && !coherent(alone);
      };
      if (all(i, notItsField)) return refused(quotedField(fields[i].text) + "不是" + std::string(part) + "的标注");
    }
  }
  if (percent) return refused("只有误差，没有数值");
  return refused("这些标注不属于同一个元件");
}

}  // namespace kalvori
