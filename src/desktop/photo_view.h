// Reading a resistor's bands from a photo: a panel over the whole window with the photo and the line
// the bands are read along (photo_canvas.h), the readings under it (photo_readings_strip.h), and
// 确定, 换方向 and 取消 at the bottom. A photo comes in by Ctrl+V (an image on the clipboard, or a
// file copied in a file manager), by a drop on the window, or by Ctrl+O and "读照片…" in the value
// boxes' menu, which ask for a file. Opening and reading run off the UI thread (photo_worker.h);
// meanwhile the panel says "正在读…", and a file on a share that hangs never holds the window up.
//
// Keys: 1, 2, 3 choose a reading (as Up and Down do in the readings); R reads the chosen one from the
// other end; Enter shows it on the window by choosing the four-band mode (at most four bands, where
// its buttons can show the value) or else the five-band one and pressing its buttons, as clicks and
// typed digits do, then closes; Esc closes and gives the keyboard back where it was, the window
// unchanged. Tab goes round the panel's controls only: the window's, under it, are not reachable.
// "摄像头…" stands at the bottom left once a camera's view is given to open (setCamera).
//
// What it deliberately does not do: read a photo (the reader does), write a property of the window
// (every press goes through Form::click and MarkingKeys), or decide which keys reach it (the
// window's key filter does). It is made the first time a photo comes, so starting pays nothing.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/photo_worker.h"

class QLabel;
class QMimeData;
class QPushButton;

namespace kalvori {
class MarkingKeys;
}

namespace kalvori::desktop {

class FormWidget;
class PhotoCanvas;
class PhotoReadingsStrip;

class PhotoView : public QWidget {
 public:
  // Covers `window` whole, hidden until a photo comes; `keys` types the marking and must outlive it.
  PhotoView(FormWidget* window, MarkingKeys& keys, PhotoReader reader = PhotoReader::standard());
  ~PhotoView() override;

  // Whether `data` (the clipboard's, or a drop's) holds a photo: local files (the first is opened),
  // or an image and no text, or an image's encoded bytes. Text beside an image is taken as text:
  // the look-up line reads it.
  static bool holdsPhoto(const QMimeData* data, bool dropped);
  // Opens the panel with the photo `data` holds; false (and nothing opened) when it holds none.
  bool openFrom(const QMimeData* data, bool dropped);
  // Asks for a file (JPEG or PNG) and opens it; nothing when none is chosen.
  void chooseFile();
  // `path`: the bytes of the file's name as the file system has them.
  void openFile(const std::string& path);
  void openImage(const QImage& image);

  // Shows "摄像头…", which calls `open` (none: hidden, as until the camera's view is there).
  void setCamera(std::function<void()> open);

  // Closes it; the keyboard goes back where it was.
  void dismiss();

  // `w` is the panel or lies in it: its keys are its own.
  bool holds(const QWidget* w) const { return w == this || isAncestorOf(w); }

  PhotoWorker& worker() { return *worker_; }
  PhotoCanvas* canvas() const { return canvas_; }
  PhotoReadingsStrip* readings() const { return readings_; }
  QString status() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void begin();
  void opened(const OpenedPhoto& photo);
  void read(std::optional<BodyLine> line);
  void answered(const ReadPhoto& read);
  void say(const QString& text);
  void showStatus();
  void sayReadings();
  void flip();
  void showOnWindow();

  FormWidget* window_;
  MarkingKeys& keys_;
  std::unique_ptr<PhotoWorker> worker_;
  QLabel* title_;
  QLabel* hint_;
  PhotoCanvas* canvas_;
  QLabel* status_;
  PhotoReadingsStrip* readings_;
  QPushButton* camera_;  // hidden until there is a camera's view to open
  std::function<void()> openCamera_;
  QPushButton* ok_;
  QPushButton* flip_;
  QPushButton* cancel_;
  std::shared_ptr<const RgbImage> photo_;
  QString said_;  // what the panel says now: in the status line, or in the empty list
  QPointer<QWidget> returnTo_;  // had the keyboard before the panel opened
};

}  // namespace kalvori::desktop
