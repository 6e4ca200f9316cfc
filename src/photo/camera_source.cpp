#include "photo/camera_source.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace kalvori {

namespace {

// GStreamer calls the pipeline's callbacks on its own threads (pooled, so one may serve several
// runs), handed their data under GLib's locks, which ThreadSanitizer cannot see: these tell it that
// the data was handed over, so that what a callback reads is known to have been written before,
// and that a callback was done with it before the run's thread, its pipeline stopped, drops it.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
template <class T>
T* handOver(T* data) {
  __tsan_release(data);
  return data;
}
template <class T>
T* takenOver(void* data) {
  __tsan_acquire(data);
  return static_cast<T*>(data);
}
void doneWith(void* data) { __tsan_release(data); }
#else
template <class T>
T* handOver(T* data) {
  return data;
}
template <class T>
T* takenOver(void* data) {
  return static_cast<T*>(data);
}
void doneWith(void*) {}
#endif

// GStreamer starts the first time a camera is wanted, in the thread that wants it: the program's
// start never pays for it. gst_init_check guards itself, so the player starting it too is harmless.
bool gstreamerReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = gst_init_check(nullptr, nullptr, nullptr); });
  return ready;
}

std::atomic<int> runThreads = 0;

void startDetached(const StartThread& start, std::function<void()> body) {
  if (start) start(std::move(body));
  else std::thread(std::move(body)).detach();
}

std::string stringProperty(const GstStructure* s, const char* name) {
  const gchar* value = s ? gst_structure_get_string(s, name) : nullptr;
  return value ? value : "";
}

std::vector<Camera> probeCameras() {
  std::vector<Camera> cameras;
  if (!gstreamerReady()) return cameras;
  GstDeviceMonitor* monitor = gst_device_monitor_new();
  GstCaps* raw = gst_caps_new_empty_simple("video/x-raw");
  gst_device_monitor_add_filter(monitor, "Video/Source", raw);
  gst_caps_unref(raw);
  // Not started: one look at what is there now, with nothing left running to watch for changes.
  GList* devices = gst_device_monitor_get_devices(monitor);
  for (GList* d = devices; d != nullptr; d = d->next) {
    auto* device = GST_DEVICE(d->data);
    Camera camera;
    gchar* name = gst_device_get_display_name(device);
    camera.name = name ? name : "";
    g_free(name);
    GstStructure* properties = gst_device_get_properties(device);
    // V4L2's provider names the file "device.path"; PipeWire's "api.v4l2.path".
    camera.path = stringProperty(properties, "device.path");
    if (camera.path.empty()) camera.path = stringProperty(properties, "api.v4l2.path");
    if (properties) gst_structure_free(properties);
    camera.device = std::shared_ptr<void>(gst_object_ref(device), gst_object_unref);
    if (camera.name.empty()) camera.name = camera.path.empty() ? "摄像头" : camera.path;
    cameras.push_back(std::move(camera));
  }
  g_list_free_full(devices, gst_object_unref);
  gst_object_unref(monitor);
  return cameras;
}

// Why a camera gives no pictures, in one line. Where the camera has a device file, the file itself
// is asked first: GStreamer's own messages come in the user's language, the file's errno does not.
std::string lineFor(const GError* error, const char* debug, const std::string& path) {
  if (!path.empty() && access(path.c_str(), R_OK | W_OK) != 0) {
    if (errno == EACCES || errno == EPERM) return "没有使用摄像头的权限（用户需在 video 组里）";
    if (errno == ENOENT || errno == ENODEV || errno == ENXIO) return "摄像头已拔出或找不到了";
  }
  const bool negotiation = debug != nullptr && std::strstr(debug, "not-negotiated") != nullptr;
  if (error == nullptr) return "摄像头出错，不再送来画面";
  if (error->domain == GST_RESOURCE_ERROR) {
    switch (error->code) {
      case GST_RESOURCE_ERROR_BUSY: return "摄像头正被别的程序使用，请先关掉那个程序";
      case GST_RESOURCE_ERROR_NOT_FOUND: return "摄像头已拔出或找不到了";
      case GST_RESOURCE_ERROR_NOT_AUTHORIZED: return "没有使用摄像头的权限（用户需在 video 组里）";
      case GST_RESOURCE_ERROR_OPEN_READ:
      case GST_RESOURCE_ERROR_OPEN_WRITE:
      case GST_RESOURCE_ERROR_OPEN_READ_WRITE: return "打不开摄像头";
      default: return "摄像头读不出画面了（是不是拔出了？）";
    }
  }
  if (negotiation || (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_NEGOTIATION) ||
      (error->domain == GST_STREAM_ERROR &&
       (error->code == GST_STREAM_ERROR_NOT_IMPLEMENTED || error->code == GST_STREAM_ERROR_FORMAT)))
    return "摄像头的画面格式读不了";
  if ((error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) ||
      (error->domain == GST_STREAM_ERROR && error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND))
    return "缺少读这个摄像头所需的 GStreamer 组件";
  return "摄像头出错，不再送来画面";
}

// A misspelt element or property counts as failure rather than a half-made pipeline.
template <class Parse>
GstElement* parsed(Parse parse) {
  GError* error = nullptr;
  GstElement* made = parse(&error);
  if (error == nullptr) return made;
  g_error_free(error);
  if (made != nullptr) gst_object_unref(gst_object_ref_sink(made));
  return nullptr;
}

// Every camera's picture ends the same way: decoded where the camera sends JPEG (many USB cameras
// give their larger sizes only so), converted to RGB, scaled down to fit the largest size kept (its
// shape kept, square pixels), the newest picture only. A raw picture passes the decoder untouched.
constexpr const char* kTail =
    "decodebin ! videoconvert ! videoscale ! capsfilter name=size ! appsink name=frames drop=true max-buffers=1 "
    "sync=false";

}  // namespace

struct CameraSource::Run {
  Camera camera;
  OnFrame onFrame;
  OnError onError;

  // What the run's thread waits for: stop() or a failure.
  std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;

  // Held while a callback runs, so that once stop() has it, none is running or will run.
  std::mutex calling;
  bool open = true;                 // callbacks are still wanted (under `calling`)
  std::atomic<bool> wanted = true;  // the same, read without the lock to skip copying a frame

  void requestStop() {
    {
      const std::lock_guard lock(mutex);
      stopping = true;
    }
    wake.notify_one();
  }
  void close() {
    const std::lock_guard lock(calling);
    open = false;
    wanted = false;
  }
  void frame(RgbImage image) {
    const std::lock_guard lock(calling);
    if (open) onFrame(std::move(image));
  }
  // Told once; no picture comes after it, and the pipeline is taken down.
  void fail(const std::string& line) {
    {
      const std::lock_guard lock(calling);
      if (open) {
        open = false;
        wanted = false;
        if (onError) onError(line);
      }
    }
    requestStop();
  }

  static void drive(const std::shared_ptr<Run>& run);
  GstElement* build();
  static GstFlowReturn newSample(GstAppSink* sink, gpointer data);
  static GstBusSyncReply busMessage(GstBus*, GstMessage* message, gpointer data);
};

GstElement* CameraSource::Run::build() {
  GstElement* pipeline = nullptr;
  if (!camera.device) {
    // A description may end in caps of its own ("videotestsrc ! video/x-raw,width=64"), which only
    // a whole pipeline's description can hold.
    const std::string whole = camera.description + " ! " + kTail;
    pipeline = parsed([&](GError** error) { return gst_parse_launch(whole.c_str(), error); });
    if (pipeline == nullptr) return nullptr;
    gst_object_ref_sink(pipeline);
  } else {
    GstElement* source = gst_device_create_element(GST_DEVICE(camera.device.get()), nullptr);
    GstElement* tail = parsed([](GError** error) { return gst_parse_bin_from_description(kTail, TRUE, error); });
    if (source == nullptr || tail == nullptr) {
      if (source) gst_object_unref(gst_object_ref_sink(source));
      if (tail) gst_object_unref(gst_object_ref_sink(tail));
      return nullptr;
    }
    pipeline = GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr)));
    gst_bin_add_many(GST_BIN(pipeline), source, tail, nullptr);
    if (!gst_element_link(source, tail)) {
      gst_object_unref(pipeline);
      return nullptr;
    }
  }
  GstElement* size = gst_bin_get_by_name(GST_BIN(pipeline), "size");
  GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "frames");
  if (size == nullptr || sink == nullptr || !GST_IS_APP_SINK(sink)) {  // the description named one of its own so
    if (size) gst_object_unref(size);
    if (sink) gst_object_unref(sink);
    gst_object_unref(pipeline);
    return nullptr;
  }
  GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "RGB", "width", GST_TYPE_INT_RANGE, 1,
                                      kMaxCameraWidth, "height", GST_TYPE_INT_RANGE, 1, kMaxCameraHeight,
                                      "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
  g_object_set(size, "caps", caps, nullptr);
  gst_caps_unref(caps);
  GstAppSinkCallbacks callbacks{};
  callbacks.new_sample = &Run::newSample;
  // The run outlives its pipeline: its thread holds it until the pipeline is gone.
  gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, handOver(this), nullptr);
  gst_object_unref(size);
  gst_object_unref(sink);
  GstBus* bus = gst_element_get_bus(pipeline);
  gst_bus_set_sync_handler(bus, &Run::busMessage, handOver(this), nullptr);
  gst_object_unref(bus);
  return pipeline;
}

// On the streaming thread: the picture copied out row by row (GStreamer's rows may be padded).
GstFlowReturn CameraSource::Run::newSample(GstAppSink* sink, gpointer data) {
  Run* run = takenOver<Run>(data);
  GstSample* sample = gst_app_sink_pull_sample(sink);
  if (sample == nullptr) return GST_FLOW_EOS;
  GstVideoInfo info;
  GstVideoFrame frame;
  if (run->wanted && gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
      gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ)) {
    RgbImage image(GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame));
    const auto* rows = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y)
      std::memcpy(image.pixel(0, y), rows + static_cast<std::ptrdiff_t>(y) * stride, rowBytes);
    gst_video_frame_unmap(&frame);
    run->frame(std::move(image));
  }
  gst_sample_unref(sample);
  doneWith(run);
  return GST_FLOW_OK;
}

// On whichever thread posts it: an error or the end of the pictures ends the run, told once.
GstBusSyncReply CameraSource::Run::busMessage(GstBus*, GstMessage* message, gpointer data) {
  Run* run = takenOver<Run>(data);
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    run->fail(lineFor(error, debug, run->camera.path));
    if (error) g_error_free(error);
    g_free(debug);
  } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
    run->fail("摄像头不再送来画面");
  }
  gst_message_unref(message);
  doneWith(run);
  return GST_BUS_DROP;
}

void CameraSource::Run::drive(const std::shared_ptr<Run>& run) {
  if (!gstreamerReady()) {
    run->fail("打不开摄像头：GStreamer 无法启动");
    return;
  }
  GstElement* pipeline = run->build();
  if (pipeline == nullptr) {
    run->fail("打不开摄像头：这个画面来源无法建立");
    return;
  }
  // Opening the device happens here, in this thread: a driver that hangs holds this run alone. A
  // device that cannot be opened has told why on the bus already; the failure only makes sure.
  if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
    run->fail("打不开摄像头");
  {
    std::unique_lock lock(run->mutex);
    run->wake.wait(lock, [&] { return run->stopping; });
  }
  // Going to NULL waits for the streaming thread and closes the device; this thread is the only
  // one that waits.
  gst_element_set_state(pipeline, GST_STATE_NULL);
  takenOver<Run>(run.get());  // no callback runs any more
  GstBus* bus = gst_element_get_bus(pipeline);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
  gst_object_unref(pipeline);
}

void findCameras(std::function<void(std::vector<Camera>)> answer, StartThread start) {
  try {
    startDetached(start, [answer] { answer(probeCameras()); });
  } catch (const std::system_error&) {
    answer({});
  }
}

CameraSource::CameraSource(Camera camera, OnFrame onFrame, OnError onError, StartThread start)
    : camera_(std::move(camera)), onFrame_(std::move(onFrame)), onError_(std::move(onError)), start_(std::move(start)) {}

CameraSource::~CameraSource() { stop(); }

void CameraSource::start() {
  if (run_) return;
  auto run = std::make_shared<Run>();
  run->camera = camera_;
  run->onFrame = onFrame_;
  run->onError = onError_;
  ++runThreads;
  try {
    startDetached(start_, [run] {
      Run::drive(run);
      --runThreads;
    });
  } catch (const std::system_error&) {
    --runThreads;
    run->fail("打不开摄像头：没有可用的线程");
    return;
  }
  run_ = std::move(run);
}

int CameraSource::threadsAlive() { return runThreads; }

void CameraSource::stop() {
  if (!run_) return;
  run_->close();
  run_->requestStop();
  run_.reset();
}

}  // namespace kalvori
