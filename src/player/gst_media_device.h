// The media device on Linux: a GStreamer playbin for each file opened, driven through GStreamer's
// C API.
//
// The UI thread never waits for GStreamer. Each file opened gets a thread of its own that makes
// its pipeline, opens the file and carries out that file's commands in the order they were given;
// the UI thread only queues them. The device's state (what state() answers) follows the commands
// at once, except Playing: that is reported only once the pipeline plays, so a file that waits for
// a thread, is refused or never gets its data is never shown as playing. What the pipeline finds
// out later (the end of the file, a file that cannot be played) comes back through the Handoff,
// like every other answer. A file closed, or left for another, is released by its own thread in
// the background: a pipeline stuck on a stalled share never holds up the next file (which gets a
// fresh pipeline), nor the end of the program.
//
// Those threads are few, and counted by the mount the file lies on (the longest mount point that
// prefixes its path). A call on the storage (opening, releasing, a change of state) that has not
// come back within a second counts as stuck, and a file's thread counts until it has ended. While
// three of one mount are alive, or twelve in all, a further file waits for a thread, judged again
// each quarter of a second and whenever a thread moves; once three of its mount are stuck (or all
// twelve are) it is refused at once. A file of another mount still plays. A refused file, like one
// for which no thread can be had, leaves the device Closed with one line on standard error
// (log_line.h) naming it and saying why; the window shows no message for it, as for any file that
// does not play. When the audio output changes under a playing file (its clock is lost), it is
// paused and played again.
//
// GStreamer itself starts with the first "open", or earlier in the background when the program
// asks for it once its window has shown (startInBackground), so starting the program costs
// nothing.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "player/handoff.h"
#include "player/media_device.h"

namespace kalvori {

namespace testing {
struct MediaProbe;
}

class GstMediaDevice final : public MediaDevice {
 public:
  // The sinks, as gst-launch descriptions (tests use "fakesink sync=true"). Empty: playbin's own
  // automatic sinks.
  struct Sinks {
    std::string audio;
    std::string video;
  };

  // How a file's storage is judged: which mount it lies on, and the clock by which a call on it is
  // judged stuck. None given: the system's mount table, and the steady clock.
  struct Storage {
    std::function<std::string(const std::string& path)> mountOf;
    std::function<std::chrono::steady_clock::time_point()> now;
  };

  // What the pipelines find out later comes back through `handoff`; without one the device hears
  // nothing back, and its state follows the commands alone (Playing included).
  explicit GstMediaDevice(Sinks sinks = {}, std::shared_ptr<Handoff> handoff = {}, Storage storage = {});
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

  struct Session;  // one opened file: its pipeline and the thread that drives it (gst_session.h)
  enum class Step : int;

 private:
  friend struct testing::MediaProbe;  // what tests and benchmarks read of the pipelines

  // Whether a session gets its thread now, waits for one (judged again later), or is refused;
  // start() gives it one.
  enum class Turn { Now, Later, Refused };
  Turn turnOf(const Session& s);
  bool start(const std::shared_ptr<Session>& s);
  void startWaiting();
  void judgeAgainSoon();
  void send(Step step);
  void giveUp();
  void heard(unsigned serial, unsigned sent, State state, bool playing, bool ended);
  // What the commands leave the device in, and whether its pipeline plays; state() is made of both.
  void setState(State commanded, bool playing = false);

  Sinks sinks_;
  std::shared_ptr<Handoff> handoff_;
  Storage storage_;
  std::string fileName_;
  State commanded_ = State::Closed;
  bool playing_ = false;       // the open file's pipeline has reached PLAYING since the last "play"
  State beforePlay_ = State::Stopped;  // what is shown until it has
  bool judgeQueued_ = false;   // a waiting session is to be judged again by the clock
  std::function<void(State)> listener_;
  std::shared_ptr<Session> session_;  // the open file, if any
  std::vector<std::shared_ptr<Session>> alive_;  // every session whose thread may not have ended
  unsigned sent_ = 0;                 // commands given to it so far
  unsigned serial_ = 0;               // the number of the last session made
  std::shared_ptr<std::atomic<int>> pipelines_;  // in use and not yet released (shared with sessions)
  std::shared_ptr<GstMediaDevice*> self_;  // what reports from sessions find the device by
};

}  // namespace kalvori
