#include "terminal/terminal_start.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "terminal/command_line.h"
#include "terminal/graphical_session.h"
#include "terminal/lookup_command.h"
#include "terminal/photo_command.h"

namespace kalvori::terminal {

namespace {

// Not a usage error: the command line was sound, the session cannot show a window.
constexpr int kNoWindow = 1;

}  // namespace

std::optional<int> runWithoutWindow(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLine line = readCommandLine(args);
  using Asks = CommandLine::Asks;
  switch (line.asks) {
    case Asks::Help:
    case Asks::Version: {
      const std::string text = line.asks == Asks::Help ? helpText() : "kalvori " KALVORI_VERSION "\n";
      const bool written = std::fputs(text.c_str(), stdout) != EOF && std::fflush(stdout) == 0;
      if (!written) std::fputs("kalvori：无法写入标准输出\n", stderr);
      return written ? kAllRead : kUsageOrIoError;
    }
    case Asks::UsageError:
      std::fprintf(stderr, "kalvori：%s\n%s\n", line.error.c_str(), std::string(kSeeHelp).c_str());
      return kUsageOrIoError;
    case Asks::Lookup:
      return answerLookup({line.text, line.mode, line.json}, stdin, stdout, stderr);
    case Asks::Photo:
      return answerPhoto({line.photo, line.line, line.json}, stdin, stdout, stderr);
    case Asks::Window:
      if (windowCanOpen(sessionEnvironment(args))) return std::nullopt;
      std::fprintf(stderr, "%s\n", std::string(kNoGraphicalSession).c_str());
      return kNoWindow;
  }
  return std::nullopt;
}

}  // namespace kalvori::terminal
