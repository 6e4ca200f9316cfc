// Whether the window can open at all: Qt's X11 and Wayland platforms need a display to talk to,
// and without one Qt aborts with advice to reinstall the program. The program asks this first and
// says in one line what is missing instead. Only what the environment and Qt's own arguments name
// is looked at; no connection is tried, so the answer costs nothing.
//
// What it deliberately does not do: second-guess a platform that needs no display (offscreen,
// minimal, vnc, linuxfb, eglfs, …): whatever the user chose is left to Qt.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kalvori::terminal {

struct SessionEnvironment {
  std::string display;         // DISPLAY, or Qt's -display argument
  std::string waylandDisplay;  // WAYLAND_DISPLAY, or else WAYLAND_SOCKET
  std::string platform;        // Qt's -platform argument, or else QT_QPA_PLATFORM: "xcb", "wayland;xcb", …
};

// From the process's environment and its arguments (without the program's name).
SessionEnvironment sessionEnvironment(std::span<const std::string_view> args);

// False when every platform Qt would try needs a display that is not there.
bool windowCanOpen(const SessionEnvironment& session);

// The line said when it cannot, on standard error.
inline constexpr std::string_view kNoGraphicalSession =
    "kalvori：找不到图形界面（没有 DISPLAY 或 WAYLAND_DISPLAY），无法打开窗口；"
    "在终端里查数值请用 kalvori --lookup 文字（见 kalvori --help）";

}  // namespace kalvori::terminal
