// Fuzz target: any text typed or pasted into the look-up line, in any mode. The first byte picks the
// mode selected ("r5", "r4", "l4", "c", "tr" or none), the rest is the text, any bytes. The rules:
// the look-up never crashes, throws or takes long; its answer line is UTF-8, empty only for blank
// text, a refusal exactly when the text was not understood, and says the window cannot show it
// exactly when Enter would press nothing. What Enter would press is pressed on a real window: every
// key must press a button of that mode, no refusal may speak, and the window must then read the
// same value again (and the tolerance, where a colour mode shows one).
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "converter/lookup.h"
#include "converter/marking_keys.h"
#include "converter/modes.h"
#include "converter/value_reading.h"
#include "marking/quantity_reader.h"
#include "fuzz/fuzz_input.h"
#include "window/main_window.h"

namespace kalvori::fuzz {
namespace {

constexpr std::string_view kModesOrNone[] = {"r5", "r4", "l4", "c", "tr", ""};
// Far beyond what one look-up takes (microseconds); only a pathology reaches it, even under sanitizers.
constexpr auto kSlow = std::chrono::seconds(1);

bool isUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const std::size_t len = b < 0x80                   ? 1
                            : (b >= 0xC2 && b <= 0xDF) ? 2
                            : (b >= 0xE0 && b <= 0xEF) ? 3
                            : (b >= 0xF0 && b <= 0xF4) ? 4
                                                       : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

// One window for the process: each look-up chooses its mode afresh, which lays the window out again.
struct Window {
  std::unique_ptr<Form> form = createMainWindow();
  MarkingKeys keys{*form};
  int messages = 0;
  Window() {
    form->setMessageSink([this](const std::string&) { ++messages; });
  }
};

void pressOnWindow(const std::string& text, std::string_view mode, const LookupAnswer& answer) {
  static Window w;
  const std::string where = "\"" + escaped(text) + "\" in " + std::string(mode) + ": ";
  const Quantity q = *readQuantity(text, partKindOf(mode)).quantity;
  if (!mode.empty()) w.form->click(mode);
  w.form->click(answer.presses.option);
  const int messagesBefore = w.messages;
  for (char key : answer.presses.keys)
    check(w.keys.type(key) != nullptr,
          where + "key " + std::string(1, key) + " presses nothing in " + answer.presses.option);
  check(w.messages == messagesBefore, where + "a refusal spoke");
  const std::string reading = ValueReading(*w.form).text();
  const Reading again = readQuantity(reading, partKindOf(answer.presses.option));
  check(again.quantity.has_value(), where + "the window reads \"" + escaped(reading) + "\", not understood");
  check(again.quantity->value == q.value && again.quantity->family == q.family,
        where + "the window reads \"" + escaped(reading) + "\", another value");
  const bool colourMode = answer.presses.option != "c" && answer.presses.option != "tr";
  if (colourMode && !isBandless(q.tolerance))
    check(again.quantity->tolerance == q.tolerance,
          where + "the window reads \"" + escaped(reading) + "\", another tolerance");
}

}  // namespace
}  // namespace kalvori::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvori;
  using namespace kalvori::fuzz;
  Input in(data, size);
  const std::string_view mode = kModesOrNone[in.pick(std::size(kModesOrNone))];
  const std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  const std::string where = "\"" + escaped(text) + "\" in " + std::string(mode) + ": ";

  const auto start = std::chrono::steady_clock::now();
  const LookupAnswer answer = lookUp(text, mode);
  check(std::chrono::steady_clock::now() - start < kSlow, where + "slow");

  check(isUtf8(answer.line), where + "answer not UTF-8: " + escaped(answer.line));
  const bool refused = answer.line.starts_with("看不懂");
  check(answer.understood == !(answer.line.empty() || refused), where + "understood, yet " + escaped(answer.line));
  check(answer.presses.option.empty() == answer.presses.keys.empty(),
        where + "an option without keys or keys without one");
  if (!answer.understood) {
    check(answer.presses.option.empty(), where + "presses for text not understood");
    return 0;
  }
  const bool cannot = answer.line.find("本窗口的按钮无法按出") != std::string::npos;
  check(cannot == answer.presses.option.empty(),
        where + "says the window cannot show it exactly when it presses nothing");
  if (!answer.presses.option.empty()) pressOnWindow(text, mode, answer);
  return 0;
}
