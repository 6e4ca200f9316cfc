// The media device on Linux: one GStreamer playbin, driven through GStreamer's C API.
//
// Everything happens on the thread that owns the device (the UI thread). Commands only ask the
// pipeline for a state and return; what the pipeline reports later (end of stream, errors) arrives
// through a bus watch on the default GLib main context, which the program's event loop iterates.
//
// GStreamer itself is initialised on the first "open", so starting the program costs nothing.
// A file that cannot be played leaves the device Closed, silently.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "player/media_device.h"

using GstElement = struct _GstElement;

namespace kalvori {

class GstMediaDevice final : public MediaDevice {
 public:
  // The sinks, as gst-launch descriptions (tests use "fakesink sync=true"). Empty: playbin's own
  // automatic sinks, which it makes in GStreamer's threads only when a stream needs one. A sink
  // named here is started on the caller's thread at every "open", which for a real audio or video
  // sink costs tens to hundreds of milliseconds.
  struct Sinks {
    std::string audio;
    std::string video;
  };

  GstMediaDevice();
  explicit GstMediaDevice(Sinks sinks);
  ~GstMediaDevice() override;
  GstMediaDevice(const GstMediaDevice&) = delete;
  GstMediaDevice& operator=(const GstMediaDevice&) = delete;

  void setDeviceType(std::string_view type) override;
  void setFileName(std::string_view path) override;
  void command(std::string_view command) override;

  State state() const override;
  void pause() override;
  void setStateListener(std::function<void(State)> listener) override;

  // For tests and benchmarks: the playing position, when the pipeline can tell it, and whether the
  // pipeline has let go of everything (state NULL, nothing pending).
  std::optional<long long> positionNs() const;
  bool pipelineReleased() const;

 private:
  bool ensurePipeline();
  void open();
  // Asks the pipeline for a GstState and, unless that fails at once, takes on `then`.
  void request(int pipelineState, State then);
  void releasePipeline();
  void setState(State state);
  void onEndOfStream();
  void onError();

  Sinks sinks_;
  std::string deviceType_;
  std::string fileName_;
  State state_ = State::Closed;
  std::function<void(State)> listener_;
  GstElement* playbin_ = nullptr;
  bool setupFailed_ = false;  // GStreamer or the pipeline could not be made: never try again
};

}  // namespace kalvori
