// The window model on its own, without Qt: what a click costs from the button to the last property
// write, and what building the whole form costs.
//
// A benchmark of a sequence of clicks takes two lines: a list of buttons and a
// BENCHMARK_CAPTURE(clickInTurn, ...) naming it. Each click must differ from the one before, or it
// may write nothing; every click benchmark reports the property writes a click made ("writes") and
// fails when there were none.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "window/main_window.h"

namespace {

using Buttons = std::vector<std::string>;

// The form as the program builds it, loaded, with a message sink that drops every message (a box
// would wait for a user) and a listener that counts the property writes instead of drawing them.
std::unique_ptr<kalvori::Form> quietForm(long& writes) {
  auto form = kalvori::createMainWindow();
  form->setMessageSink([](const std::string&) {});
  form->setPropertyListener([&writes](const kalvori::Control&, kalvori::Property) { ++writes; });
  form->load();
  return form;
}

// Clicks `before` once to reach a state (a mode, say), then the buttons in turn, round after round,
// one click an iteration.
void clickInTurn(benchmark::State& state, const Buttons& buttons, const Buttons& before = {}) {
  long writes = 0;
  const auto form = quietForm(writes);
  for (const std::string& name : before) form->click(name);
  writes = 0;
  std::size_t next = 0;
  for (auto _ : state) {
    form->click(buttons[next]);
    if (++next == buttons.size()) next = 0;
  }
  if (writes == 0) state.SkipWithError("the clicks changed nothing");
  state.counters["writes"] = benchmark::Counter(static_cast<double>(writes), benchmark::Counter::kAvgIterations);
}

// The colour columns of the five-band mode, which the window opens in.
const Buttons kA1A2{"a1", "a2"};
const Buttons kFirstBand{"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"};
// Multipliers also show or hide the thousands commas and write the printed code.
const Buttons kMultiplier{"d1", "d2", "d3", "d4", "d5", "d6", "d7"};

BENCHMARK_CAPTURE(clickInTurn, band_a1_a2, kA1A2);
BENCHMARK_CAPTURE(clickInTurn, band_a1_to_a9, kFirstBand);
BENCHMARK_CAPTURE(clickInTurn, band_d1_to_d7, kMultiplier);

// Each click on a mode button applies that mode's whole layout (about 150 property writes; the
// five-band layout also runs k1's Change), here the five in turn.
const Buttons kModes{"r5", "r4", "l4", "c", "tr"};
BENCHMARK_CAPTURE(clickInTurn, layout_each_mode_in_turn, kModes);
// One layout against another: the digit-code layouts write fewer controls than the colour ones.
BENCHMARK_CAPTURE(clickInTurn, layout_r5_and_c, Buttons{"r5", "c"});

// ---- Building -------------------------------------------------------------------------------------

// The whole form from its design data with every handler bound, and its destruction.
void buildMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    auto form = kalvori::createMainWindow();
    benchmark::DoNotOptimize(form.get());
  }
}
BENCHMARK(buildMainWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
