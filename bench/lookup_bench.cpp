// The look-up line's answer: reading one typed or pasted text and writing its answer line and the
// keys Enter would type, as each keystroke asks for it. No window, no Qt.
#include <benchmark/benchmark.h>

#include <string>

#include "converter/lookup.h"
#include "marking/typed_text.h"

namespace {

void lookUpOnce(benchmark::State& state, const std::string& text, const std::string& mode) {
  for (auto _ : state) benchmark::DoNotOptimize(kalvori::lookUp(text, mode));
}

BENCHMARK_CAPTURE(lookUpOnce, value_with_tolerance, std::string("4k7 5%"), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, full_width_and_unit_words, std::string("４.７千欧 误差率＋－1％"), std::string("r4"));
BENCHMARK_CAPTURE(lookUpOnce, capacitor_code, std::string("104"), std::string("c"));
BENCHMARK_CAPTURE(lookUpOnce, eia96_code, std::string("01C"), std::string("tr"));
BENCHMARK_CAPTURE(lookUpOnce, colours, std::string("yellow violet black brown brown"), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, not_standard, std::string("4.87654k"), std::string("r4"));
BENCHMARK_CAPTURE(lookUpOnce, refused, std::string("4k7k"), std::string("r4"));
// Whole prints: fields apart and run together, several readings, every table.
BENCHMARK_CAPTURE(lookUpOnce, capacitor_print, std::string("104K 2A"), std::string("c"));
BENCHMARK_CAPTURE(lookUpOnce, run_together, std::string("2A104J"), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, safety_capacitor, std::string("X2 104K 275VAC"), std::string("c"));
BENCHMARK_CAPTURE(lookUpOnce, two_readings, std::string("470 6.3V"), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, six_bands, std::string("brown black black red brown red"), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, pot_with_part_number, std::string("WH148 B100K"), std::string("r4"));
// The longest prints: the most fields read (eight), the longest group of fields run together that
// is split (24 characters), and eight fields that each mean several things and clash.
BENCHMARK_CAPTURE(lookUpOnce, most_fields, std::string("X2 104K X7R 275VAC MKP-3386"), std::string("c"));
BENCHMARK_CAPTURE(lookUpOnce, longest_run_together, std::string("2A104K100V2A104K100V2A10"), std::string("c"));
BENCHMARK_CAPTURE(lookUpOnce, clashing_fields, std::string("104K 476J 2R2F 1M0F 470 6.3V 73H X2"), std::string("c"));
std::string repeated(const std::string& piece, std::size_t bytes) {
  std::string out;
  while (out.size() + piece.size() <= bytes) out += piece;
  return out;
}
// The longest text that is read at all: kMaxTypedChars colour names (refused: too many bands), and
// as many characters of the longest fields; and a megabyte pasted, refused unread.
BENCHMARK_CAPTURE(lookUpOnce, longest_read, repeated("黄", 3 * kalvori::kMaxTypedChars), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, longest_fields, repeated("2A104K100V2A104K ", kalvori::kMaxTypedChars),
                  std::string("c"));
BENCHMARK_CAPTURE(lookUpOnce, megabyte_pasted, repeated("4k7 ", 1 << 20), std::string("r5"));

}  // namespace
BENCHMARK_MAIN();
