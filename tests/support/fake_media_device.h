// A media device that records what it is told, for checking the player's command sequences.
#pragma once

#include <string>
#include <vector>

#include "player/media_device.h"

namespace kalvori::testing {

class RecordingMediaDevice : public MediaDevice {
 public:
  std::vector<std::string> log;  // "type:X", "file:X" and the commands, in order

  void setDeviceType(std::string_view type) override { log.push_back("type:" + std::string(type)); }
  void setFileName(std::string_view path) override { log.push_back("file:" + std::string(path)); }
  void command(std::string_view command) override { log.push_back(std::string(command)); }
  State state() const override { return current; }
  void pause() override { log.push_back("pause"); }
  void setStateListener(std::function<void(State)> l) override { listener = std::move(l); }

  // What the device would report as it plays.
  void become(State s) {
    current = s;
    if (listener) listener(s);
  }
  State current = State::Closed;
  std::function<void(State)> listener;
};

}  // namespace kalvori::testing
