#include "player/gst_media_device.h"

#include <gst/gst.h>

#include <utility>

namespace kalvori {

namespace {

// Gives playbin the sink that `description` (gst-launch syntax) makes; an empty description keeps
// playbin's own. False when the description does not make a sink completely: a misspelt element or
// property counts as failure rather than a half-built sink.
bool useSink(GstElement* playbin, const char* property, const std::string& description) {
  if (description.empty()) return true;
  GError* error = nullptr;
  GstElement* sink = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
  if (error != nullptr) {
    g_error_free(error);
    if (sink != nullptr) gst_object_unref(gst_object_ref_sink(sink));
    return false;
  }
  g_object_set(playbin, property, sink, nullptr);
  return true;
}

// autovideosink tries the video sinks in turn until one works. Those that take over the whole
// screen never do inside a desktop session, and cost a lot to find that out: KMS's probes for
// seconds, DirectFB's has crashed the process. A window program never wants them.
void leaveOutFullScreenSinks() {
  for (const char* name : {"kmssink", "dfbvideosink"}) {
    if (GstPluginFeature* sink = gst_registry_lookup_feature(gst_registry_get(), name)) {
      gst_plugin_feature_set_rank(sink, GST_RANK_NONE);
      gst_object_unref(sink);
    }
  }
}

}  // namespace

GstMediaDevice::GstMediaDevice() : GstMediaDevice(Sinks{}) {}

GstMediaDevice::GstMediaDevice(Sinks sinks) : sinks_(std::move(sinks)) {}

GstMediaDevice::~GstMediaDevice() {
  if (playbin_ == nullptr) return;
  GstBus* bus = gst_element_get_bus(playbin_);
  gst_bus_remove_watch(bus);
  gst_object_unref(bus);
  gst_element_set_state(playbin_, GST_STATE_NULL);
  gst_object_unref(playbin_);
}

void GstMediaDevice::setDeviceType(std::string_view type) {
  // playbin finds the format itself, so the type is only kept.
  deviceType_ = type;
}

void GstMediaDevice::setFileName(std::string_view path) { fileName_ = path; }

void GstMediaDevice::command(std::string_view command) {
  if (command == "open") {
    open();
  } else if (command == "close") {
    releasePipeline();
    setState(State::Closed);
  } else if (command == "play") {
    if (state_ == State::Stopped || state_ == State::Paused) request(GST_STATE_PLAYING, State::Playing);
  } else if (command == "stop") {
    // Stopping keeps the position: the next "play" goes on from there.
    if (state_ == State::Playing || state_ == State::Paused) request(GST_STATE_PAUSED, State::Stopped);
  }
}

MediaDevice::State GstMediaDevice::state() const { return state_; }

void GstMediaDevice::pause() {
  if (state_ == State::Playing) request(GST_STATE_PAUSED, State::Paused);
}

void GstMediaDevice::setStateListener(std::function<void(State)> listener) { listener_ = std::move(listener); }

std::optional<long long> GstMediaDevice::positionNs() const {
  gint64 position = 0;
  if (playbin_ == nullptr || state_ == State::Closed ||
      !gst_element_query_position(playbin_, GST_FORMAT_TIME, &position)) {
    return std::nullopt;
  }
  return position;
}

bool GstMediaDevice::pipelineReleased() const {
  if (playbin_ == nullptr) return true;
  GstState current = GST_STATE_VOID_PENDING;
  GstState pending = GST_STATE_VOID_PENDING;
  gst_element_get_state(playbin_, &current, &pending, 0);  // no waiting: only reads
  return current == GST_STATE_NULL && pending == GST_STATE_VOID_PENDING;
}

bool GstMediaDevice::ensurePipeline() {
  if (playbin_ != nullptr) return true;
  if (setupFailed_) return false;
  setupFailed_ = true;  // until everything below has worked

  // The first "open" pays for GStreamer's start (mostly reading its plugin registry cache).
  if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
  leaveOutFullScreenSinks();
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  if (playbin == nullptr) return false;
  playbin_ = GST_ELEMENT(gst_object_ref_sink(playbin));
  if (!useSink(playbin_, "audio-sink", sinks_.audio) || !useSink(playbin_, "video-sink", sinks_.video)) {
    gst_object_unref(playbin_);
    playbin_ = nullptr;
    return false;
  }

  // The watch sits on the default main context, so messages are handled on the UI thread.
  GstBus* bus = gst_element_get_bus(playbin_);
  gst_bus_add_watch(
      bus,
      [](GstBus*, GstMessage* message, gpointer self) -> gboolean {
        auto* device = static_cast<GstMediaDevice*>(self);
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) device->onEndOfStream();
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) device->onError();
        return G_SOURCE_CONTINUE;
      },
      this);
  gst_object_unref(bus);
  setupFailed_ = false;
  return true;
}

void GstMediaDevice::open() {
  releasePipeline();
  if (fileName_.empty() || !ensurePipeline()) {
    setState(State::Closed);
    return;
  }
  // The library makes the URI: it escapes every byte that needs it ('#', '%', spaces, non-UTF-8)
  // and makes a relative path absolute.
  gchar* uri = gst_filename_to_uri(fileName_.c_str(), nullptr);
  if (uri == nullptr) {
    setState(State::Closed);
    return;
  }
  g_object_set(playbin_, "uri", uri, nullptr);
  g_free(uri);
  // Prerolling happens in GStreamer's threads; a file that is missing or unreadable fails here
  // at once, anything else that is wrong with it arrives later as an error message.
  request(GST_STATE_PAUSED, State::Stopped);
}

void GstMediaDevice::request(int pipelineState, State then) {
  if (gst_element_set_state(playbin_, static_cast<GstState>(pipelineState)) == GST_STATE_CHANGE_FAILURE) {
    releasePipeline();
    setState(State::Closed);
    return;
  }
  setState(then);
}

void GstMediaDevice::releasePipeline() {
  // Going to NULL stops GStreamer's threads, closes the file, the audio device and the video
  // window, and drops messages still queued on the bus, so none of them reaches the next file.
  // It waits for those threads: for a MIDI file still prerolling, until its decoder has loaded the
  // soundfont (about 150 ms for Debian's).
  if (playbin_ != nullptr) gst_element_set_state(playbin_, GST_STATE_NULL);
}

void GstMediaDevice::setState(State state) {
  if (state == state_) return;
  state_ = state;
  // A copy, so that a listener may replace itself.
  if (auto listener = listener_) listener(state);
}

void GstMediaDevice::onEndOfStream() {
  if (state_ == State::Closed) return;
  // The file stays open at its start, so that the next "play" starts over.
  gst_element_set_state(playbin_, GST_STATE_PAUSED);
  const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT);
  if (!gst_element_seek_simple(playbin_, GST_FORMAT_TIME, flags, 0)) {
    // A stream that cannot seek starts over by prerolling again.
    gst_element_set_state(playbin_, GST_STATE_READY);
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
  }
  setState(State::Stopped);
}

void GstMediaDevice::onError() {
  // A file that cannot be played simply does not play: nothing is shown or logged.
  releasePipeline();
  setState(State::Closed);
}

}  // namespace kalvori
