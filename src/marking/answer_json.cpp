#include "marking/answer_json.h"

#include "marking/band_words.h"
#include "marking/e_series.h"
#include "marking/markings.h"

namespace kalvori {

namespace {

std::string number(const Decimal& d) { return d.text(); }

std::string_view unitName(Family f) {
  return f == Family::Resistance ? "ohm" : f == Family::Capacitance ? "F" : "H";
}

std::string_view writtenName(Written w) {
  switch (w) {
    case Written::RNotation:
      return "r_notation";
    case Written::Code3:
      return "code3";
    case Written::Code4:
      return "code4";
    case Written::Eia96:
      return "eia96";
    case Written::Colours:
      return "colours";
    default:
      return "value";
  }
}

std::string_view taperName(Taper t) {
  return t == Taper::Logarithmic ? "logarithmic" : t == Taper::Linear ? "linear" : "reverse_logarithmic";
}

std::string signedTenths(long tenths) {
  const std::uint64_t a = static_cast<std::uint64_t>(tenths < 0 ? -tenths : tenths);
  return (tenths < 0 ? "-" : "") + Decimal::of(a, -1).text();
}

struct Object {
  std::string text = "{";
  void field(std::string_view name, const std::string& json) {
    if (text.size() > 1) text += ", ";
    text += jsonString(name) + ": " + json;
  }
  std::string done() { return text + "}"; }
};

std::string readingJson(const PrintReading& r) {
  Object o;
  if (r.quantity) {
    const Quantity& q = *r.quantity;
    o.field("value", number(q.value));
    o.field("unit", jsonString(unitName(q.family)));
    o.field("written", jsonString(writtenName(q.written)));
    if (q.tolerance) {
      Object t;
      t.field("minus", number(q.tolerance->minus));
      t.field("plus", number(q.tolerance->plus));
      t.field("unit", jsonString(q.tolerance->picofarads ? "pF" : "%"));
      o.field("tolerance", t.done());
    }
  }
  if (r.zeroOhmLink) o.field("zero_ohm_link", "true");
  if (r.voltage) {
    Object v;
    v.field("volts", number(r.voltage->volts));
    v.field("kind", jsonString(r.voltage->alternating ? "AC" : "DC"));
    if (!r.voltage->code.empty()) v.field("code", jsonString(r.voltage->code));
    if (r.tantalum) v.field("tantalum_letter", "true");
    o.field("voltage", v.done());
  }
  if (r.dielectric) {
    const Dielectric& d = *r.dielectric;
    Object j;
    j.field("code", jsonString(d.code));
    j.field("class", std::to_string(d.dielectricClass));
    if (d.dielectricClass == 2) {
      j.field("lowest_celsius", std::to_string(d.lowestC));
      j.field("highest_celsius", std::to_string(d.highestC));
      j.field("change_minus_percent", number(d.changeMinus));
      j.field("change_plus_percent", number(d.changePlus));
    } else {
      j.field("ppm_per_kelvin", signedTenths(d.coefficientTenths));
      j.field("ppm_tolerance", signedTenths(d.coefficientToleranceTenths));
    }
    o.field("dielectric", j.done());
  }
  if (r.tempco) o.field("tempco_ppm_per_kelvin", std::to_string(*r.tempco));
  if (r.watts) o.field("power_watts", number(*r.watts));
  if (r.taper) o.field("taper", jsonString(taperName(*r.taper)));
  if (r.safety) o.field("safety_class", jsonString(r.safety->name));
  if (!r.partNumber.empty()) o.field("part_number", jsonString(r.partNumber));
  return o.done();
}

std::string bandsJson(const std::vector<Band>& bands) {
  std::string out = "[";
  for (Band b : bands) out += (out.size() > 1 ? ", " : "") + jsonString(englishName(b));
  return out + "]";
}

std::string markingsJson(const Quantity& q) {
  Object o;
  if (q.value.isZero()) return "null";
  if (q.family != Family::Capacitance)
    if (const auto b = colourBands(q, 2)) o.field("four_band", bandsJson(*b));
  if (q.family == Family::Resistance) {
    if (const auto b = colourBands(q, 3)) o.field("five_band", bandsJson(*b));
    if (const auto c = chipCode(q.value, 3)) o.field("chip_code", jsonString(*c));
    if (const auto c = chipCode(q.value, 4)) o.field("chip_code_4", jsonString(*c));
    if (const auto c = eia96Code(q.value)) o.field("eia96", jsonString(*c));
  }
  if (q.family == Family::Capacitance)
    if (const auto c = capacitorCode(q.value)) o.field("capacitor_code", jsonString(*c));
  return o.done();
}

std::string seriesJson(const Quantity& q) {
  if (q.value.isZero()) return "null";
  Object o;
  if (const ESeries* s = smallestSeriesHolding(q.value)) {
    o.field("name", jsonString(s->name));
  } else {
    const Neighbours n = neighboursIn(e24(), q.value);
    o.field("name", "null");
    o.field("e24_below", number(n.below));
    o.field("e24_above", number(n.above));
  }
  return o.done();
}

}  // namespace

std::string jsonString(std::string_view text) {
  constexpr std::string_view kHex = "0123456789abcdef";
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
               (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
      // U+2028 and U+2029 end a line in some readers of JSON.
      out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string answerJson(std::span<const PrintReading> readings, std::string_view refusal) {
  Object o;
  std::string list = "[";
  for (const PrintReading& r : readings) list += (list.size() > 1 ? ", " : "") + readingJson(r);
  o.field("readings", list + "]");
  const bool value = !readings.empty() && readings.front().quantity;
  o.field("markings", value ? markingsJson(*readings.front().quantity) : "null");
  o.field("series", value ? seriesJson(*readings.front().quantity) : "null");
  o.field("refusal", refusal.empty() ? "null" : jsonString(refusal));
  return o.done();
}

}  // namespace kalvori
