#include "converter/lookup.h"

#include <vector>

#include "marking/e_series.h"
#include "marking/markings.h"
#include "converter/mode_presses.h"
#include "converter/modes.h"
#include "marking/quantity_reader.h"
#include "marking/typed_text.h"

namespace kalvori {

namespace {

constexpr std::string_view kGap = "  ";
constexpr std::string_view kNotOnWindow = "（本窗口的按钮无法按出）";

// The markings of the quantity's family, each as "四环 黄紫红金", "贴片 472", "代码 220".
std::vector<std::string> markingsOf(const Quantity& q) {
  std::vector<std::string> out;
  const auto addBands = [&](std::string_view title, int digitBands) {
    if (const auto bands = colourBands(q, digitBands)) out.push_back(std::string(title) + " " + bandNames(*bands));
  };
  switch (q.family) {
    case Family::Resistance: {
      addBands("四环", 2);
      addBands("五环", 3);
      // Precise parts (three digits, or ±1 % and finer, or printed with four digits) carry the
      // 4-digit code or EIA-96.
      const bool precise = q.value.significantDigits() == 3 || q.written == Written::Code4 ||
                           (q.tolerance && !(Decimal::of(1, 0) < *q.tolerance));
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
      addBands("四环", 2);
      break;
  }
  return out;
}

std::string seriesText(const Quantity& q) {
  if (const ESeries* s = smallestSeriesHolding(q.value)) return std::string(s->name) + " 标准值";
  const Neighbours n = neighboursIn(e24(), q.value);
  return "不是标准值，最接近 " + valueText(n.below, q.family) + "、" + valueText(n.above, q.family);
}

// The current mode if it can show the quantity, else the first of its family's modes that can. A
// printed chip-resistor code is shown as printed or not at all: only the chip-code mode presses
// codes, and it has no buttons for a 4-digit or EIA-96 code, nor for a third digit 0, 8 or 9.
LookupPresses pressesFor(const Quantity& q, std::string_view currentMode) {
  const bool printedCode = q.written == Written::Code3 || q.written == Written::Code4 || q.written == Written::Eia96;
  if (q.family == Family::Resistance && printedCode) {
    const auto keys = q.written == Written::Code3 ? keysFor(q, kChipCode) : std::nullopt;
    return keys ? LookupPresses{std::string(kChipCode), *keys} : LookupPresses{};
  }
  if (const auto keys = keysFor(q, currentMode)) return {std::string(currentMode), *keys};
  for (std::string_view mode : modesOf(q.family))
    if (const auto keys = keysFor(q, mode)) return {std::string(mode), *keys};
  return {};
}

}  // namespace

LookupAnswer lookUp(std::string_view text, std::string_view currentMode) {
  LookupAnswer answer;
  const Reading reading = readQuantity(text, partKindOf(currentMode));
  if (!reading.quantity) {
    if (!reading.refusal.empty()) {
      const std::string quote = quotedTyped(text);
      answer.line = "看不懂" + (quote.empty() ? std::string() : "“" + quote + "”") + "：" + reading.refusal;
    }
    return answer;
  }
  const Quantity& q = *reading.quantity;
  answer.understood = true;
  answer.presses = pressesFor(q, currentMode);
  answer.line = valueText(q.value, q.family);
  if (q.tolerance) answer.line += " " + toleranceText(*q.tolerance);
  std::vector<std::string> markings = markingsOf(q);
  if (markings.empty()) markings.push_back("没有色环或代码");
  if (answer.presses.option.empty()) markings.back() += kNotOnWindow;
  for (const std::string& m : markings) answer.line += std::string(kGap) + m;
  answer.line += std::string(kGap) + seriesText(q);
  return answer;
}

}  // namespace kalvori
