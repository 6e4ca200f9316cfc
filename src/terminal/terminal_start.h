// What the program does before it thinks of a window: answers --lookup, --photo, --help and
// --version in the terminal, refuses a command line it cannot use, and says in one line that the
// window needs a graphical session when there is none. main() asks it first, before any QApplication exists, so
// none of this loads a Qt platform plugin or needs a display (--photo uses QtGui's image readers,
// which need neither).
//
// What it deliberately does not do: start Qt. When the window is to open, it returns nothing and
// leaves every argument to QApplication.
#pragma once

#include <optional>

namespace kalvori::terminal {

// The exit status when the program is done without a window; nothing when the window is to open.
std::optional<int> runWithoutWindow(int argc, char** argv);

}  // namespace kalvori::terminal
