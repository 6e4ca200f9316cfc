#include <algorithm>

#include "marking/answer.h"
#include "marking/markings.h"
#include "marking/tolerance_letters.h"
#include "marking/voltage_codes.h"

namespace kalvori {

namespace {

MarkingPicture banded(MarkingPicture::Body body, const std::vector<Band>& bands) {
  MarkingPicture p;
  p.body = body;
  for (Band b : bands) p.bands.push_back({bandColour(b).swatch, bandColour(b).name});
  return p;
}

std::optional<MarkingPicture> chip(std::optional<std::string> code) {
  if (!code) return std::nullopt;
  MarkingPicture p;
  p.body = MarkingPicture::Body::ChipResistor;
  p.lines.push_back(*code);
  return p;
}

std::optional<MarkingPicture> resistor(const Quantity& q, DrawnMarking drawn) {
  const auto bands = [&](int digitBands) -> std::optional<MarkingPicture> {
    const auto b = colourBands(q, digitBands);
    return b ? std::optional(banded(MarkingPicture::Body::Resistor, *b)) : std::nullopt;
  };
  // A printed code is drawn as printed.
  const auto printed = [&] {
    if (q.written == Written::Eia96) return chip(eia96Code(q.value));
    return chip(chipCode(q.value, q.written == Written::Code4 ? 4 : 3));
  };
  switch (drawn) {
    case DrawnMarking::FourBand:
      return bands(2);
    case DrawnMarking::FiveBand:
      return bands(3);
    case DrawnMarking::ChipCode:
      return printed();
    default:
      if (auto p = bands(2)) return p;
      if (auto p = bands(3)) return p;
      return printed();
  }
}

// A capacitor's lines as its print would carry them: a safety class, the code with its tolerance
// letter (or microfarads where the value has no code), the voltage (coded where it was, or joined to
// a tantalum chip's code), the dielectric.
std::optional<MarkingPicture> capacitor(const PrintReading& r) {
  MarkingPicture p;
  p.body = MarkingPicture::Body::Capacitor;
  if (r.safety) p.lines.emplace_back(r.safety->name);
  if (r.quantity) {
    const Quantity& q = *r.quantity;
    const auto letter = q.tolerance ? letterOfTolerance(*q.tolerance) : std::nullopt;
    const auto code = capacitorCode(q.value);
    std::string line;
    if (code && (q.written == Written::Code3 || q.value < Decimal::of(1, -6)))
      line = *code + (letter ? std::string(1, *letter) : "");
    else {
      line = valueText(q.value, q.family);
      line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    }
    if (r.tantalum && r.voltage) line += r.voltage->code;
    p.lines.push_back(line);
  }
  if (r.voltage && !r.tantalum) {
    const Voltage& v = *r.voltage;
    p.lines.push_back(!v.code.empty() ? v.code : v.volts.text() + (v.alternating ? "VAC" : "V"));
  }
  if (r.dielectric) p.lines.push_back(r.dielectric->code);
  if (p.lines.empty()) return std::nullopt;
  return p;
}

}  // namespace

std::optional<MarkingPicture> pictureOf(const PrintReading& r, DrawnMarking drawn) {
  const bool inductor = r.quantity && r.quantity->family == Family::Inductance;
  if (!r.bands.empty()) {
    MarkingPicture p;
    p.body = inductor ? MarkingPicture::Body::Inductor : MarkingPicture::Body::Resistor;
    p.bands = r.bands;
    return p;
  }
  if (r.zeroOhmLink) {
    if (drawn == DrawnMarking::ChipCode) return chip("000");
    return banded(MarkingPicture::Body::Resistor, {Band::Black});
  }
  if (!r.quantity) return r.voltage || r.dielectric || r.safety ? capacitor(r) : std::nullopt;
  switch (r.quantity->family) {
    case Family::Capacitance:
      return capacitor(r);
    case Family::Inductance: {
      const auto b = colourBands(*r.quantity, 2);
      return b ? std::optional(banded(MarkingPicture::Body::Inductor, *b)) : std::nullopt;
    }
    default:
      return resistor(*r.quantity, drawn);
  }
}

}  // namespace kalvori
