// The media device behind the multimedia control MMControl1, as the program uses it: a device
// type, a file name and four string commands. Playing happens beside the program; no command
// waits for the medium, and the program reads no result back.
//
// What it deliberately does not do: report errors to the user (a file that cannot be played simply
// does not play) or know about the window. The transport row of the control uses state(),
// pause() and the state listener; the program's handlers use only the four commands.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kalvori {

class MediaDevice {
 public:
  enum class State {
    Closed,   // nothing open
    Stopped,  // a file is open and not playing
    Playing,  // its sound is coming: said only once the medium plays, not when asked to
    Paused,
  };

  virtual ~MediaDevice() = default;

  virtual void setDeviceType(std::string_view type) = 0;
  // The file for the next "open": a path as the file system names it (any bytes but NUL).
  virtual void setFileName(std::string_view path) = 0;
  // "close": stop and release whatever is open (harmless when nothing is);
  // "open": open the named file; "play": play the opened file (from its beginning when it was
  // just opened); "stop": stop playing and keep the file open. Other commands are ignored.
  virtual void command(std::string_view command) = 0;

  // The control's own transport row.
  virtual State state() const = 0;
  virtual void pause() = 0;
  virtual void setStateListener(std::function<void(State)> listener) = 0;
};

}  // namespace kalvori
