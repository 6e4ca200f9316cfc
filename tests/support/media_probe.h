// What tests and benchmarks read of the media device's pipelines, which the program never asks:
// the open file's playing position, and whether every pipeline the device made has let go of
// everything (this one waits).
#pragma once

#include <chrono>
#include <optional>
#include <thread>

#include "player/gst_media_device.h"
#include "player/gst_session.h"

namespace kalvori {

namespace testing {
struct MediaProbe {
  static std::optional<long long> positionNs(const GstMediaDevice& device) {
    if (!device.session_ || device.commanded_ == MediaDevice::State::Closed) return std::nullopt;
    GstElement* pipeline = device.session_->pipeline();
    if (pipeline == nullptr) return std::nullopt;
    gint64 position = 0;
    const bool known = gst_element_query_position(pipeline, GST_FORMAT_TIME, &position);
    gst_object_unref(pipeline);
    return known ? std::optional<long long>(position) : std::nullopt;
  }
  static bool pipelineReleased(const GstMediaDevice& device) {
    if (device.session_ && device.commanded_ != MediaDevice::State::Closed) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (*device.pipelines_ > 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return *device.pipelines_ == 0;
  }
  static bool pipelinesAtMost(const GstMediaDevice& device, int left) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (*device.pipelines_ > left && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return *device.pipelines_ <= left;
  }
};
}  // namespace testing

// Found by argument-dependent lookup wherever a device is at hand.
// The open file's playing position, when its pipeline can tell it.
inline std::optional<long long> positionNs(const GstMediaDevice& device) {
  return testing::MediaProbe::positionNs(device);
}
// Whether every pipeline the device made has let go of everything: none open, and those given up
// released (waits up to five seconds for them).
inline bool pipelineReleased(const GstMediaDevice& device) { return testing::MediaProbe::pipelineReleased(device); }
// Whether no more than `left` pipelines still hold anything (those stuck in their release), once
// the others have let go (waits up to five seconds for them).
inline bool pipelinesAtMost(const GstMediaDevice& device, int left) {
  return testing::MediaProbe::pipelinesAtMost(device, left);
}

}  // namespace kalvori
