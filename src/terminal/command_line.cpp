#include "terminal/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "converter/modes.h"

namespace kalvori::terminal {

namespace {

// What each mode reads, as --help lists them, in the order of the window's option buttons.
constexpr std::array<std::pair<std::string_view, std::string_view>, kModes.size()> kModeWords{{
    {kFiveBand, "五环色环电阻（默认）"},
    {kFourBand, "四环色环电阻"},
    {kInductorBands, "四环色环电感"},
    {kCapacitorCode, "三位代码的电容"},
    {kChipCode, "三位代码的贴片电阻和电位器"},
}};

// "r5、r4、l4、c 或 tr"
std::string modeNames() {
  std::string out;
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    if (i > 0) out += i + 1 == kModes.size() ? " 或 " : "、";
    out += kModes[i].option;
  }
  return out;
}

// An argument as an error message quotes it: a control character could move the terminal's cursor
// or clear the line, so each shows as '?'; a long one is cut where a character begins.
std::string quoted(std::string_view arg) {
  constexpr std::size_t kShown = 40;
  std::string out = "“";
  std::size_t n = arg.size();
  if (n > kShown) {
    n = kShown;
    while (n > 0 && (static_cast<unsigned char>(arg[n]) & 0xC0) == 0x80) --n;
  }
  for (const char c : arg.substr(0, n)) {
    const auto u = static_cast<unsigned char>(c);
    out += u < 0x20 || u == 0x7F ? '?' : c;
  }
  if (n < arg.size()) out += "…";
  return out + "”";
}

}  // namespace

std::optional<BodyLine> readBodyLine(std::string_view text) {
  std::array<double, 4> v{};
  for (std::size_t i = 0; i < v.size(); ++i) {
    // Chinese input methods type a full-width comma unless switched.
    std::size_t end = text.size(), next = text.size();
    if (i + 1 < v.size()) {
      const std::size_t comma = text.find(','), wide = text.find("，");
      if (comma == std::string_view::npos && wide == std::string_view::npos) return std::nullopt;
      end = std::min(comma, wide);
      next = end + (end == comma ? 1 : std::string_view("，").size());
    }
    std::string_view number = text.substr(0, end);
    while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
    const char* last = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), last, v[i]);
    // from_chars takes "inf" and "nan", which are no pixel.
    if (number.empty() || error != std::errc() || stop != last || !std::isfinite(v[i])) return std::nullopt;
    text.remove_prefix(next);
  }
  return BodyLine{{v[0], v[1]}, {v[2], v[3]}};
}

CommandLine readCommandLine(std::span<const std::string_view> args) {
  CommandLine line;
  line.mode = std::string(kFiveBand);  // the window starts in it too
  bool lookup = false, modeGiven = false, help = false, version = false, photo = false, lineGiven = false;
  std::string error;         // the first thing wrong
  std::string_view notOurs;  // the first argument that is none of ours: Qt's, or no one's
  bool notOursSeen = false;
  const auto fail = [&](std::string why) {
    if (error.empty()) error = std::move(why);
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help") {
      help = true;
      continue;
    }
    if (arg == "--version") {
      version = true;
      continue;
    }
    if (arg == "--json") {
      line.json = true;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string_view name = arg.substr(0, eq);
    if (name == "--json" || name == "--help" || name == "--version") {
      fail(std::string(name) + " 不带参数");
      continue;
    }
    if (name == "--lookup" || name == "--mode" || name == "--photo" || name == "--line") {
      // The value is the next argument whatever it looks like, so that "--lookup -5%" reads "-5%"
      // and "--line -3,10,200,12" starts left of the photo.
      std::optional<std::string_view> value;
      if (eq != std::string_view::npos) value = arg.substr(eq + 1);
      else if (i + 1 < args.size()) value = args[++i];
      if (name == "--lookup") {
        if (!value) fail("--lookup 后面缺少要查的文字（“-”表示从标准输入逐行读）");
        else if (lookup) fail("--lookup 只能给一次");
        else line.text = std::string(*value);
        lookup = true;
      } else if (name == "--photo") {
        if (!value) fail("--photo 后面缺少照片文件（“-”表示从标准输入读）");
        else if (photo) fail("--photo 只能给一次");
        else line.photo = std::string(*value);
        photo = true;
      } else if (name == "--line") {
        if (!value) fail("--line 后面缺少线的两端：X1,Y1,X2,Y2");
        else if (lineGiven) fail("--line 只能给一次");
        else if (line.line = readBodyLine(*value); !line.line)
          fail("--line 要写成 X1,Y1,X2,Y2（照片上的像素，四个数用逗号隔开），不是" + quoted(*value));
        lineGiven = true;
      } else {
        if (!value) fail("--mode 后面缺少方式：" + modeNames());
        else if (!isMode(*value)) fail("没有" + quoted(*value) + "这种方式，可用 " + modeNames());
        else line.mode = std::string(*value);
        modeGiven = true;
      }
      continue;
    }
    if (!notOursSeen) {
      notOurs = arg;
      notOursSeen = true;
    }
  }
  using Asks = CommandLine::Asks;
  if (help) line.asks = Asks::Help;
  else if (version) line.asks = Asks::Version;
  else if (!error.empty()) line.error = error;
  else if (lookup && photo) line.error = "--lookup 和 --photo 不能一起用";
  else if ((lookup || photo) && notOursSeen)
    line.error = (notOurs.starts_with("-") && notOurs != "-" ? "不认识的选项" : "多余的参数") + quoted(notOurs) +
                 (notOurs.starts_with("-") ? ""
                  : lookup                 ? "（要查的文字有空格时请加引号）"
                                           : "（文件名有空格时请加引号）");
  else if (lineGiven && !photo) line.error = "--line 只能和 --photo 一起用";
  else if (modeGiven && photo) line.error = "--mode 只能和 --lookup 一起用：照片只读色环电阻";
  else if (modeGiven && !lookup) line.error = "--mode 只能和 --lookup 一起用";
  else if (line.json && !lookup && !photo) line.error = "--json 只能和 --lookup 或 --photo 一起用";
  else line.asks = lookup ? Asks::Lookup : photo ? Asks::Photo : Asks::Window;
  if (!line.error.empty()) line.asks = Asks::UsageError;
  return line;
}

std::string helpText() {
  std::string modes;
  for (const auto& [name, words] : kModeWords)
    modes += "                  " + std::string(name) + std::string(4 - name.size(), ' ') + std::string(words) + "\n";
  return "用法：kalvori [Qt 的选项]\n"
         "　或：kalvori --lookup 文字 [--mode 方式] [--json]\n"
         "　或：kalvori --lookup - [--mode 方式] [--json]\n"
         "　或：kalvori --photo 照片 [--line X1,Y1,X2,Y2] [--json]\n"
         "\n"
         "不带选项时打开 Kalvori 的窗口：读出元件上印的色环和代码。\n"
         "\n"
         "  --lookup 文字   不开窗口，读出印在元件上的标记或数值，回答和窗口里“查数值”的一样\n"
         "  --lookup -      从标准输入逐行读，每行回答一行；空行回答空行\n"
         "  --mode 方式     照哪种方式读：\n" +
         modes +
         "  --photo 照片    不开窗口，从色环电阻的照片（JPEG、PNG 等）读出色环和阻值，\n"
         "                  每种读法一行，最可能的在前；“-”表示从标准输入读照片\n"
         "  --line X1,Y1,X2,Y2\n"
         "                  沿照片上的这条线读（从电阻一端到另一端，照片摆正后的像素，\n"
         "                  左上角是 0,0）；不写时自己找电阻\n"
         "  --json          每个回答写成一行 JSON\n"
         "  -h, --help      显示本说明\n"
         "  --version       显示版本\n"
         "\n"
         "退出状态：0 都读懂了，1 有看不懂的或照片读不出色环，2 用法错误、无法读写或文件不是照片。\n"
         "\n"
         "例：kalvori --lookup 2A104J --mode c\n"
         "　　kalvori --lookup - --json < parts.txt\n"
         "　　kalvori --photo 电阻.jpg --line 120,240,520,250\n"
         "详见 man kalvori。\n";
}

}  // namespace kalvori::terminal
