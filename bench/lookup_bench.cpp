// The look-up line's answer: reading one typed or pasted text and writing its answer line and the
// keys Enter would type, as each keystroke asks for it. No window, no Qt.
#include <benchmark/benchmark.h>

#include <string>

#include "converter/lookup.h"

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
std::string repeated(const std::string& piece, std::size_t bytes) {
  std::string out;
  while (out.size() + piece.size() <= bytes) out += piece;
  return out;
}
// The longest text that is read at all: 200 bytes of colour names (refused: too many bands); and a
// megabyte pasted, refused unread.
BENCHMARK_CAPTURE(lookUpOnce, longest_read, repeated("黄", 200), std::string("r5"));
BENCHMARK_CAPTURE(lookUpOnce, megabyte_pasted, repeated("4k7 ", 1 << 20), std::string("r5"));

}  // namespace
BENCHMARK_MAIN();
