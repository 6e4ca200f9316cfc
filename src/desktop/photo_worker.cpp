#include "desktop/photo_worker.h"

#include <mutex>
#include <system_error>
#include <utility>

#include "photo_file/photo_file.h"
#include "player/log_line.h"
#include "player/mounted_volumes.h"

namespace kalvori::desktop {

PhotoReader PhotoReader::standard() {
  return {[](const RgbImage& photo) { return proposeLine(photo); },
          [](const RgbImage& photo, std::optional<BodyLine> line) { return readPhoto(photo, line); },
          [](const RgbImage& photo, const BodyLine& line, int height, int maxWidth) {
            return straightStrip(photo, line, height, maxWidth);
          },
          [](const std::vector<Band>& bands) { return readingOfBands(bands); }};
}

namespace {

// How a decoded photo is drawn: the whole of it, and a smaller copy for drawing it small.
OpenedPhoto opened(RgbImage image, std::string whyNot) {
  OpenedPhoto o;
  if (image.empty()) {
    o.why = whyNot.empty() ? "这不是一张照片" : std::move(whyNot);
    return o;
  }
  o.shown = imageFromPhoto(image);
  o.preview = std::max(o.shown.width(), o.shown.height()) > kPreviewSide
                  ? o.shown.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                  : o.shown;
  o.photo = std::make_shared<const RgbImage>(std::move(image));
  return o;
}

OpenedPhoto openedFrom(DecodedPhoto decoded) { return opened(std::move(decoded.image), std::move(decoded.why)); }

}  // namespace

// One thread, started when work comes and ended when there is none; only the newest job waits.
class PhotoWorker::Lane {
 public:
  // `work` runs on the lane's thread; `noThread`, when no thread can be had, on the caller's.
  void ask(std::function<void()> work, std::function<void()> noThread) {
    {
      const std::lock_guard lock(shared_->mutex);
      shared_->queued = std::move(work);  // what waited is let go: a newer request replaces it
      if (shared_->running) return;
      shared_->running = true;
    }
    try {
      startThread([shared = shared_] { serve(*shared); });
    } catch (const std::system_error& e) {
      {
        const std::lock_guard lock(shared_->mutex);
        shared_->running = false;
        shared_->queued = nullptr;
      }
      logLine(std::string("no thread to be had for reading a photo (") + e.what() + ")");
      noThread();
    }
  }

 private:
  struct Shared {
    std::mutex mutex;
    std::function<void()> queued;
    bool running = false;
  };

  static void serve(Shared& s) {
    std::unique_lock lock(s.mutex);
    while (s.queued) {
      const std::function<void()> work = std::exchange(s.queued, nullptr);
      lock.unlock();
      work();
      lock.lock();
    }
    s.running = false;
  }

  // Shared with the thread, which may outlive the worker.
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

PhotoWorker::PhotoWorker(std::shared_ptr<Handoff> handoff, PhotoReader reader)
    : handoff_(std::move(handoff)),
      reader_(std::move(reader)),
      lane_(std::make_unique<Lane>()),
      // One thread a mount: a second photo from a share that hangs waits for the first one's
      // thread; three in all, however many shares hang.
      files_("photo decoding", {1, 3}, handoff_,
             [](const std::string& path) { return openedFrom(decodePhotoFile(path)); },
             OpenedPhoto{nullptr, {}, {}, "现在打不开文件，请稍后再试"}, mountPointOf),
      openings_(std::make_shared<std::uint64_t>(0)),
      readings_(std::make_shared<std::uint64_t>(0)) {}

PhotoWorker::~PhotoWorker() = default;

template <class T>
std::function<void(const T&)> PhotoWorker::ifLatest(std::uint64_t asked, std::function<void(const T&)> answer) {
  return [counter = std::is_same_v<T, OpenedPhoto> ? openings_ : readings_, asked,
          answer = std::move(answer)](const T& result) {
    if (*counter == asked) answer(result);
  };
}

void PhotoWorker::forget() {
  ++*openings_;
  ++*readings_;
}

void PhotoWorker::openFile(const std::string& path, std::function<void(const OpenedPhoto&)> answer) {
  forget();
  files_.ask(path, ifLatest(*openings_, std::move(answer)));
}

void PhotoWorker::openImage(const QImage& image, std::function<void(const OpenedPhoto&)> answer) {
  forget();
  auto deliver = ifLatest(*openings_, std::move(answer));
  // The image is shared, not copied; Qt's images may be read from any thread.
  lane_->ask([handoff = handoff_, image, deliver] {
    handoff->post([deliver, o = opened(photoFromImage(image), "图像太大或是空的")] { deliver(o); });
  }, [deliver] { deliver(OpenedPhoto{nullptr, {}, {}, "现在读不了照片，请稍后再试"}); });
}

void PhotoWorker::openBytes(const QByteArray& bytes, std::function<void(const OpenedPhoto&)> answer) {
  forget();
  auto deliver = ifLatest(*openings_, std::move(answer));
  lane_->ask([handoff = handoff_, bytes, deliver] {
    handoff->post([deliver, o = openedFrom(decodePhotoBytes(bytes))] { deliver(o); });
  }, [deliver] { deliver(OpenedPhoto{nullptr, {}, {}, "现在读不了照片，请稍后再试"}); });
}

void PhotoWorker::read(std::shared_ptr<const RgbImage> photo, std::optional<BodyLine> line,
                       std::function<void(std::optional<BodyLine>)> proposed,
                       std::function<void(const ReadPhoto&)> answer) {
  const std::uint64_t asked = ++*readings_;
  auto deliver = ifLatest(asked, std::move(answer));
  auto deliverLine = [counter = readings_, asked, proposed = std::move(proposed)](const std::optional<BodyLine>& l) {
    if (*counter == asked) proposed(l);
  };
  lane_->ask(
      [handoff = handoff_, reader = reader_, photo = std::move(photo), line, deliver, deliverLine] {
        std::optional<BodyLine> along = line;
        if (!along) {
          along = reader.propose(*photo);
          handoff->post([deliverLine, along] { deliverLine(along); });
        }
        ReadPhoto r;
        r.answer = reader.read(*photo, along);
        if (along) r.answer.line = *along;  // the line the strip is cut along is the one shown
        if (along || !r.answer.readings.empty())
          r.strip = imageFromPhoto(reader.strip(*photo, r.answer.line, kStripHeight, kStripMaxWidth)).copy();
        handoff->post([deliver, r = std::move(r)] { deliver(r); });
      },
      [deliver] {
        ReadPhoto r;
        r.answer.refusal = PhotoRefusal::Unsure;
        r.answer.why = "现在读不了照片，请稍后再试";
        deliver(r);
      });
}

}  // namespace kalvori::desktop
