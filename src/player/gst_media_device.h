// The media device on Linux: a GStreamer playbin for each file opened, driven through GStreamer's
// C API.
//
// The UI thread never waits for GStreamer. Each file opened gets a thread of its own that makes
// its pipeline, opens the file and carries out that file's commands in the order they were given;
// the UI thread only queues them. The device's state (what state() answers) follows the commands
// at once, as the commands would leave it; what the pipeline finds out later (the end of the file,
// a file that cannot be played) comes back through the Handoff, like every other answer. A file
// closed, or left for another, is released by its own thread in the background: a pipeline stuck
// on a stalled share never holds up the next file (which gets a fresh pipeline), nor the end of
// the program.
//
// Those threads are few: a file's thread counts until it has ended, stuck or not. While eight are
// left, or three files of one folder are still being opened, a further file from there waits for
// a thread (its commands queued) until one of them is done; once those three have been opening for
// a second (its storage does not answer), it is refused. A file elsewhere still plays. A refused
// file, like one for which no thread can be had, leaves the device Closed with one line in GLib's
// log.
//
// GStreamer itself starts with the first "open", or earlier in the background when the program
// asks for it once its window has shown (startInBackground), so starting the program costs
// nothing. A file that cannot be played leaves the device Closed; the error goes to standard error
// through GLib's log, and the user sees nothing.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "player/handoff.h"
#include "player/media_device.h"

namespace kalvori {

class GstMediaDevice final : public MediaDevice {
 public:
  // The sinks, as gst-launch descriptions (tests use "fakesink sync=true"). Empty: playbin's own
  // automatic sinks.
  struct Sinks {
    std::string audio;
    std::string video;
  };

  // What the pipelines find out later comes back through `handoff`; without one the device hears
  // nothing back, and its state follows the commands alone.
  explicit GstMediaDevice(Sinks sinks = {}, std::shared_ptr<Handoff> handoff = {});
  // Gives up the open file (released in the background) and waits for nothing.
  ~GstMediaDevice() override;
  GstMediaDevice(const GstMediaDevice&) = delete;
  GstMediaDevice& operator=(const GstMediaDevice&) = delete;

  void setDeviceType(std::string_view type) override;
  void setFileName(std::string_view path) override;
  void command(std::string_view command) override;

  State state() const override;
  void pause() override;
  void setStateListener(std::function<void(State)> listener) override;

  // Starts GStreamer (reading its plugin registry, which without a cache takes a second) in a
  // thread of its own, so that the first file does not wait for it.
  static void startInBackground();

  // For tests and benchmarks: the open file's playing position, when its pipeline can tell it; and
  // whether every pipeline this device made has let go of everything (none open, and those given
  // up released: this waits up to five seconds for them).
  std::optional<long long> positionNs() const;
  bool pipelineReleased() const;

  struct Session;  // one opened file: its pipeline and the thread that drives it
  enum class Step : int;

 private:
  // Whether a session gets its thread now, waits for one (until another session has opened its
  // file or ended), or is refused; start() gives it one.
  enum class Turn { Now, Later, Refused };
  Turn turnOf(const Session& s);
  bool start(const std::shared_ptr<Session>& s);
  void startWaiting();
  void send(Step step);
  void giveUp();
  void heard(unsigned serial, unsigned sent, State state, bool ended);
  void setState(State state);

  Sinks sinks_;
  std::shared_ptr<Handoff> handoff_;
  std::string fileName_;
  State state_ = State::Closed;
  std::function<void(State)> listener_;
  std::shared_ptr<Session> session_;  // the open file, if any
  std::vector<std::shared_ptr<Session>> alive_;  // every session whose thread may not have ended
  unsigned sent_ = 0;                 // commands given to it so far
  unsigned serial_ = 0;               // the number of the last session made
  std::shared_ptr<std::atomic<int>> pipelines_;  // in use and not yet released (shared with sessions)
  std::shared_ptr<GstMediaDevice*> self_;  // what reports from sessions find the device by
};

}  // namespace kalvori
