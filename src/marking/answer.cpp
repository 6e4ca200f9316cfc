#include "marking/answer.h"

#include "marking/band_words.h"
#include "marking/e_series.h"
#include "marking/markings.h"
#include "marking/typed_text.h"

namespace kalvori {

namespace {

std::string voltageWords(const Voltage& v, bool tantalum) {
  const std::string volts = Decimal::of(1, 3) < v.volts || v.volts == Decimal::of(1, 3) ? v.volts.text(3) + " kV"
                                                                                        : v.volts.text() + " V";
  return volts + (v.alternating ? " 交流" : " 直流") + (tantalum ? "（钽电容）" : "");
}

std::string_view taperWords(Taper t) {
  switch (t) {
    case Taper::Logarithmic:
      return "A 对数电位器";
    case Taper::Linear:
      return "B 线性电位器";
    default:
      return "C 反对数电位器";
  }
}

void add(std::string& line, const std::string& part) {
  if (part.empty()) return;
  if (!line.empty()) line += kAnswerGap;
  line += part;
}

}  // namespace

std::string readingWords(const PrintReading& r) {
  std::string line;
  if (r.zeroOhmLink) {
    line = "0 Ω 跳线";
  } else if (r.quantity) {
    line = valueText(r.quantity->value, r.quantity->family);
    if (r.quantity->tolerance) line += " " + toleranceText(*r.quantity->tolerance);
  }
  if (r.tempco) add(line, "温漂 ±" + std::to_string(*r.tempco) + " ppm/K");
  if (r.watts) add(line, "功率 " + r.watts->text() + " W");
  if (r.taper) add(line, std::string(taperWords(*r.taper)));
  if (r.voltage) add(line, voltageWords(*r.voltage, r.tantalum));
  if (r.dielectric) add(line, dielectricWords(*r.dielectric));
  if (r.safety) add(line, std::string(r.safety->name) + " 安规电容：" + std::string(r.safety->meaning));
  if (!r.partNumber.empty()) add(line, "型号 " + r.partNumber);
  return line;
}

std::vector<std::string> markingWords(const Quantity& q) {
  std::vector<std::string> out;
  if (q.value.isZero()) {
    out.push_back("一条黑环");
    out.push_back("贴片 0 或 000");
    return out;
  }
  // A tolerance no band stands for: no band marking, and why, rather than bands that read ±20 %.
  const auto addBands = [&](std::string_view title, int digitBands) {
    if (const auto bands = colourBands(q, digitBands)) out.push_back(std::string(title) + " " + bandNames(*bands));
  };
  const auto noBand = [&] {
    if (isBandless(q.tolerance)) return false;
    const auto percent = q.tolerance->symmetricPercent();
    return !percent || !toleranceBand(*percent);
  };
  switch (q.family) {
    case Family::Resistance: {
      if (noBand()) {
        out.push_back("色环 无（" + toleranceText(*q.tolerance) + " 没有误差环）");
      } else {
        addBands("四环", 2);
        addBands("五环", 3);
      }
      // Precise parts (three digits, or ±1 % and finer, or printed with four digits) carry the
      // 4-digit code or EIA-96.
      const auto percent = q.tolerance ? q.tolerance->symmetricPercent() : std::nullopt;
      const bool precise = q.value.significantDigits() == 3 || q.written == Written::Code4 ||
                           (percent && !(Decimal::of(1, 0) < *percent));
      std::vector<std::string> chip;
      if (const auto code = chipCode(q.value, 3)) chip.push_back(*code);
      if (const auto code = chipCode(q.value, 4); code && precise) chip.push_back(*code);
      if (!chip.empty()) out.push_back("贴片 " + chip.front() + (chip.size() > 1 ? " 或 " + chip.back() : ""));
      if (const auto code = eia96Code(q.value); code && precise) out.push_back("EIA-96 " + *code);
      break;
    }
    case Family::Capacitance:
      if (const auto code = capacitorCode(q.value)) out.push_back("代码 " + *code);
      break;
    case Family::Inductance:
      if (noBand())
        out.push_back("色环 无（" + toleranceText(*q.tolerance) + " 没有误差环）");
      else
        addBands("四环", 2);
      // The small ones have no bands but a printed code ("6N8").
      if (out.empty())
        if (const auto code = inductorChipCode(q.value)) out.push_back("贴片 " + *code);
      break;
  }
  return out;
}

std::string seriesWords(const Quantity& q) {
  if (const ESeries* s = smallestSeriesHolding(q.value)) return std::string(s->name) + " 标准值";
  const Neighbours n = neighboursIn(e24(), q.value);
  return "不是标准值，最接近 " + valueText(n.below, q.family) + "、" + valueText(n.above, q.family);
}

std::string otherReadingsWords(std::span<const PrintReading> others) {
  std::string out;
  for (const PrintReading& r : others) out += (out.empty() ? "也可能是 " : "；") + readingWords(r);
  return out;
}

std::string refusalWords(std::string_view text, std::string_view reason) {
  const std::string quote = quotedTyped(text);
  return "看不懂" + (quote.empty() ? std::string() : "“" + quote + "”") + "：" + std::string(reason);
}

}  // namespace kalvori
