// Fuzz target: any text typed or pasted into the look-up line, in any mode. The first byte picks the
// mode selected ("r5", "r4", "l4", "c", "tr" or none), the rest is the text, any bytes. The rules:
// the look-up never crashes, throws or takes long; its answer line is UTF-8, empty only for blank
// text, a refusal exactly when the text was not understood, and says the window cannot show it
// exactly when Enter would press nothing for a reading with a value; it never shows a format
// character (bidi controls would reorder it). The JSON form is one well-formed object, empty only
// for blank text, with no raw control character, a refusal exactly when the text was refused, and
// numbers that are plain JSON numbers. A picture, when there is one, shows bands or lines. What
// Enter would press is pressed on a real window: every key must press a button of that mode, no
// refusal may speak, and the window must then read the same value again (and the tolerance, where
// a colour mode shows one).
#include <cctype>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "converter/lookup.h"
#include "converter/marking_keys.h"
#include "converter/modes.h"
#include "converter/value_reading.h"
#include "marking/print_reader.h"
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

// The format characters pasting brings along, which no answer may show: bidi marks, embeddings,
// overrides and isolates, joiners and the byte-order mark, as UTF-8.
bool hasFormatCharacter(std::string_view s) {
  for (std::string_view f : {"\u200B", "\u200C", "\u200D", "\u200E", "\u200F", "\u202A", "\u202B", "\u202C",
                             "\u202D", "\u202E", "\u2066", "\u2067", "\u2068", "\u2069", "\uFEFF", "\u2060"})
    if (s.find(f) != std::string_view::npos) return true;
  return false;
}

// A small strict reader of JSON: true when `s` is exactly one value, well formed.
class Json {
 public:
  explicit Json(std::string_view s) : s_(s) {}
  bool whole() {
    if (!value(0)) return false;
    blanks();
    return i_ == s_.size();
  }

 private:
  void blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\t' || s_[i_] == '\r')) ++i_;
  }
  bool take(char c) {
    blanks();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  bool word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  bool string() {
    if (!take('"')) return false;
    while (i_ < s_.size()) {
      const unsigned char c = static_cast<unsigned char>(s_[i_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c == '\\') {
        if (i_ >= s_.size()) return false;
        const char e = s_[i_++];
        if (e == 'u') {
          for (int k = 0; k < 4; ++k, ++i_)
            if (i_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[i_]))) return false;
        } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
          return false;
        }
      }
    }
    return false;
  }
  bool digits() {
    const std::size_t from = i_;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
    return i_ > from;
  }
  bool number() {
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    if (i_ < s_.size() && s_[i_] == '0') ++i_;
    else if (!digits()) return false;
    if (i_ < s_.size() && s_[i_] == '.' && (++i_, !digits())) return false;
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      if (!digits()) return false;
    }
    return true;
  }
  bool value(int depth) {
    if (depth > 16) return false;
    blanks();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '{') {
      ++i_;
      if (take('}')) return true;
      do {
        if (!string() || !take(':') || !value(depth + 1)) return false;
      } while (take(','));
      return take('}');
    }
    if (c == '[') {
      ++i_;
      if (take(']')) return true;
      do {
        if (!value(depth + 1)) return false;
      } while (take(','));
      return take(']');
    }
    if (c == '"') return string();
    if (c == 't') return word("true");
    if (c == 'f') return word("false");
    if (c == 'n') return word("null");
    return number();
  }
  std::string_view s_;
  std::size_t i_ = 0;
};

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
  check(!hasFormatCharacter(answer.line), where + "a format character in the answer: " + escaped(answer.line));
  check(answer.json.empty() == answer.line.empty(), where + "JSON empty exactly for blank text");
  if (!answer.json.empty()) {
    check(Json(answer.json).whole(), where + "JSON not well formed: " + escaped(answer.json));
    check(answer.json.find('\n') == std::string::npos, where + "JSON on more than one line");
    const bool refusal = answer.json.find("\"refusal\": null}") == std::string::npos;
    check(refusal == !answer.understood, where + "JSON refusal exactly when refused: " + escaped(answer.json));
  }
  if (answer.picture)
    check(!answer.picture->bands.empty() || !answer.picture->lines.empty(), where + "a picture of nothing");
  const bool refused = answer.line.starts_with("看不懂");
  check(answer.understood == !(answer.line.empty() || refused), where + "understood, yet " + escaped(answer.line));
  check(answer.presses.option.empty() == answer.presses.keys.empty(),
        where + "an option without keys or keys without one");
  if (!answer.understood) {
    check(answer.presses.option.empty(), where + "presses for text not understood");
    return 0;
  }
  const bool cannot = answer.line.find("本窗口的按钮无法按出") != std::string::npos;
  const bool value = readPrint(text, partKindOf(mode)).readings.front().quantity.has_value();
  check(cannot == (value && answer.presses.option.empty()),
        where + "says the window cannot show it exactly when it presses nothing for a value");
  if (!answer.presses.option.empty()) pressOnWindow(text, mode, answer);
  return 0;
}
