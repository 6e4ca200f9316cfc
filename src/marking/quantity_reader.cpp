#include "marking/quantity_reader.h"

#include "marking/print_reader.h"

namespace kalvori {

Reading readQuantity(std::string_view text, PartKind kind) {
  const PrintReadings print = readPrint(text, kind);
  if (print.readings.empty()) return {{}, print.refusal};
  if (!print.readings.front().quantity) return {{}, "没有数值"};
  return {print.readings.front().quantity, {}};
}

}  // namespace kalvori
