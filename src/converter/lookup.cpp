#include "converter/lookup.h"

#include <vector>

#include "converter/mode_presses.h"
#include "converter/modes.h"
#include "marking/answer.h"
#include "marking/answer_json.h"
#include "marking/print_reader.h"

namespace kalvori {

namespace {

constexpr std::string_view kNotOnWindow = "（本窗口的按钮无法按出）";

// What each mode shows a value as, for saying where Enter shows it.
std::string_view modeWords(std::string_view mode) {
  constexpr std::pair<std::string_view, std::string_view> kWords[] = {
      {kFiveBand, "五环"}, {kFourBand, "四环"}, {kInductorBands, "电感色环"}, {kCapacitorCode, "电容代码"},
      {kChipCode, "贴片代码"}};
  for (const auto& [m, words] : kWords)
    if (m == mode) return words;
  return {};
}

bool isCodeMode(std::string_view mode) { return mode == kChipCode || mode == kCapacitorCode; }

bool printedChipCode(const Quantity& q) {
  return q.family == Family::Resistance &&
         (q.written == Written::Code3 || q.written == Written::Code4 || q.written == Written::Eia96);
}

// The current mode if it can show the quantity, else the first of its family's modes that can. A
// printed chip-resistor code is shown as printed where the chip-code mode can press it (a 3-digit
// code with a third digit 1 to 7); a 4-digit or EIA-96 code, or a third digit 0, 8 or 9, is shown
// by its bands instead, in the current colour mode if it can, else the first colour mode that can.
LookupPresses pressesFor(const Quantity& q, std::string_view currentMode) {
  if (printedChipCode(q)) {
    if (q.written == Written::Code3)
      if (const auto keys = keysFor(q, kChipCode)) return {std::string(kChipCode), *keys};
    for (std::string_view mode : {currentMode, kFourBand, kFiveBand})
      if (!isCodeMode(mode))
        if (const auto keys = keysFor(q, mode)) return {std::string(mode), *keys};
    return {};
  }
  if (const auto keys = keysFor(q, currentMode)) return {std::string(currentMode), *keys};
  for (std::string_view mode : modesOf(q.family))
    if (const auto keys = keysFor(q, mode)) return {std::string(mode), *keys};
  return {};
}

// What the answer says of Enter where it is not what the user would expect: a printed code shown
// by its bands, a tolerance the mode Enter goes to cannot show.
std::string enterNote(const Quantity& q, const LookupPresses& presses, std::string_view currentMode) {
  if (presses.option.empty()) return std::string(kNotOnWindow);
  if (presses.option == currentMode) return {};
  if (printedChipCode(q) && !isCodeMode(presses.option))
    return "（Enter 以" + std::string(modeWords(presses.option)) + "显示）";
  if (isCodeMode(presses.option) && !isBandless(q.tolerance))
    return "（Enter 显示为" + std::string(modeWords(presses.option)) + "，不含 " + toleranceText(*q.tolerance) + "）";
  return {};
}

DrawnMarking drawnIn(std::string_view mode) {
  if (mode == kFourBand) return DrawnMarking::FourBand;
  if (mode == kFiveBand) return DrawnMarking::FiveBand;
  if (mode == kChipCode) return DrawnMarking::ChipCode;
  return DrawnMarking::First;
}

}  // namespace

LookupAnswer lookUp(std::string_view text, std::string_view currentMode) {
  LookupAnswer answer;
  const PrintReadings print = readPrint(text, partKindOf(currentMode));
  if (print.readings.empty()) {
    if (!print.refusal.empty()) {
      answer.line = refusalWords(text, print.refusal);
      answer.json = answerJson({}, print.refusal);
    }
    return answer;
  }
  answer.understood = true;
  answer.json = answerJson(print.readings, {});
  const PrintReading& best = print.readings.front();
  answer.line = readingWords(best);
  if (best.quantity) {
    const Quantity& q = *best.quantity;
    answer.presses = pressesFor(q, currentMode);
    std::vector<std::string> markings = markingWords(q);
    if (markings.empty()) markings.push_back("没有色环或代码");
    markings.back() += enterNote(q, answer.presses, currentMode);
    for (const std::string& m : markings) answer.line += std::string(kAnswerGap) + m;
    if (!best.zeroOhmLink) answer.line += std::string(kAnswerGap) + seriesWords(q);
  }
  const std::string others = otherReadingsWords(std::span(print.readings).subspan(1));
  if (!others.empty()) answer.line += "\n" + others;
  answer.picture = pictureOf(best, drawnIn(answer.presses.option));
  return answer;
}

}  // namespace kalvori
