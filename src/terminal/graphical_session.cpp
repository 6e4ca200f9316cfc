#include "terminal/graphical_session.h"

#include <cstdlib>

namespace kalvori::terminal {

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

SessionEnvironment sessionEnvironment(std::span<const std::string_view> args) {
  SessionEnvironment s{environment("DISPLAY"), environment("WAYLAND_DISPLAY"), environment("QT_QPA_PLATFORM")};
  if (s.waylandDisplay.empty()) s.waylandDisplay = environment("WAYLAND_SOCKET");
  // Qt takes its options with one dash or two, the value in the next argument.
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "-platform" || args[i] == "--platform") s.platform = std::string(args[i + 1]);
    if (args[i] == "-display" || args[i] == "--display") s.display = std::string(args[i + 1]);
  }
  return s;
}

bool windowCanOpen(const SessionEnvironment& s) {
  const bool x11 = !s.display.empty(), wayland = !s.waylandDisplay.empty();
  if (s.platform.empty()) return x11 || wayland;  // Qt chooses between the two
  // A list of platforms tried in order, each "name" or "name:options".
  std::string_view rest = s.platform;
  bool named = false;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    std::string_view name = rest.substr(0, end);
    name = name.substr(0, name.find(':'));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (name.empty()) continue;
    named = true;
    if (name == "xcb" ? x11 : name.starts_with("wayland") ? wayland : true) return true;
  }
  return !named && (x11 || wayland);
}

}  // namespace kalvori::terminal
