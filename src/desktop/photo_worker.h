// The photo view's work off the UI thread: opening a photo (decoding a file, which may sit on a
// share that hangs, or turning a pasted or dropped image into the reader's buffer) and reading it
// (proposing the line, reading along it, straightening the strip the readings are drawn over).
//
// Files are decoded by a few threads counted by mount (background_worker.h): a hung share holds
// only its own thread, and a photo from anywhere else still opens. Everything else goes to one
// thread of its own, started when asked and ended when idle, where only the newest request waits:
// a request that comes while another waits replaces it. Answers come back to the UI thread through
// the Handoff, and only the newest request's answer is delivered: a slower, older one is dropped,
// so the view never shows the reading of a line the user has already moved.
//
// What it deliberately does not do: wait for, join or cancel a thread (one stuck on a dead share is
// left to finish, or never to), read a photo itself (the reader does, through PhotoReader, which
// tests replace), or show anything.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "photo/photo_reading.h"
#include "player/background_worker.h"
#include "player/handoff.h"

namespace kalvori::desktop {

// What the view asks of the reader, as functions so that tests can read by hand. Each is called off
// the UI thread except `evaluate`, which is small and pure and runs where a band is changed.
struct PhotoReader {
  std::function<std::optional<BodyLine>(const RgbImage&)> propose;
  std::function<PhotoAnswer(const RgbImage&, std::optional<BodyLine>)> read;
  std::function<RgbImage(const RgbImage&, const BodyLine&, int height, int maxWidth)> strip;
  std::function<std::optional<BandReading>(const std::vector<Band>&)> evaluate;

  // The reader of photo_reading.h.
  static PhotoReader standard();
};

// A photo opened: the reader's buffer, and how it is drawn (the whole photo, and a copy at most
// kPreviewSide pixels long for drawing it small, which would be slow from a 48-megapixel photo).
struct OpenedPhoto {
  std::shared_ptr<const RgbImage> photo;  // null when it could not be opened
  QImage shown;
  QImage preview;
  std::string why;  // when it could not: one line in Chinese
};

inline constexpr int kPreviewSide = 1600;

// A reading along a line, with the strip of the photo along that line, straightened.
struct ReadPhoto {
  PhotoAnswer answer;
  QImage strip;  // kStripHeight rows, from answer.line.from to answer.line.to; null without a line
};

inline constexpr int kStripHeight = 16;
inline constexpr int kStripMaxWidth = 480;

class PhotoWorker {
 public:
  // Answers come back through `handoff`, which must deliver on the UI thread.
  PhotoWorker(std::shared_ptr<Handoff> handoff, PhotoReader reader);
  ~PhotoWorker();
  PhotoWorker(const PhotoWorker&) = delete;
  PhotoWorker& operator=(const PhotoWorker&) = delete;

  void setReader(PhotoReader reader) { reader_ = std::move(reader); }
  const PhotoReader& reader() const { return reader_; }

  // Each opening replaces any opening or reading not answered yet. `path` is the bytes of the
  // file's name as the file system has them.
  void openFile(const std::string& path, std::function<void(const OpenedPhoto&)> answer);
  void openImage(const QImage& image, std::function<void(const OpenedPhoto&)> answer);
  void openBytes(const QByteArray& bytes, std::function<void(const OpenedPhoto&)> answer);

  // Reads `photo` along `line`, or along the line the reader proposes when none is given; the
  // proposed line is answered first (`proposed`, none when the reader found no body), as soon as
  // it is found, then the reading. Replaces any reading not answered yet.
  void read(std::shared_ptr<const RgbImage> photo, std::optional<BodyLine> line,
            std::function<void(std::optional<BodyLine>)> proposed, std::function<void(const ReadPhoto&)> answer);

  // Drops every answer still to come (the view was closed).
  void forget();

 private:
  class Lane;
  // Runs `answer` on the UI thread if nothing newer was asked meanwhile.
  template <class T>
  std::function<void(const T&)> ifLatest(std::uint64_t asked, std::function<void(const T&)> answer);

  std::shared_ptr<Handoff> handoff_;
  PhotoReader reader_;
  std::unique_ptr<Lane> lane_;               // openings of images and readings, newest only
  BackgroundWorker<OpenedPhoto> files_;      // decoding files, a thread or so for each mount
  std::shared_ptr<std::uint64_t> openings_;  // counts openings; an answer to an older one is dropped
  std::shared_ptr<std::uint64_t> readings_;  // the same for readings (an opening counts as one too)
};

}  // namespace kalvori::desktop
