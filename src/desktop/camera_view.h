// The camera view: a panel laid over the window that shows a camera's live picture, so that a
// resistor can be photographed where it lies. At the top a chooser of the cameras found (filled
// once the search for them answers), in the middle the picture scaled to fit, at the bottom "拍照"
// and "取消". "拍照" or Space takes the picture shown and closes the view; Esc or "取消" closes it.
// Closing stops the camera.
//
// Pictures come from the camera's own threads; the newest waits for the UI thread, replacing any
// that has not been shown yet, and only one call to show it is ever queued: a busy window sees a
// slower picture, never a backlog. Nothing here waits for the camera: finding cameras, opening one
// and stopping it all happen off the UI thread (camera_source.h).
//
// What it deliberately does not do: read the photo or keep it (whoever hears `taken` does), decide
// which keys of the window reach it beyond its own, or write anything. It is made when first
// wanted, so the program's start pays nothing for it or for GStreamer.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "photo/camera_source.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kalvori::desktop {

class QtHandoff;
class CameraPicture;

class CameraView : public QWidget {
  Q_OBJECT

 public:
  // Lists the cameras and answers once, from any thread (findCameras; tests give a source of
  // their own).
  using FindCameras = std::function<void(std::function<void(std::vector<Camera>)> answer)>;

  // Lies over the whole of `parent`, hidden until opened. No `find` given: the system's cameras.
  explicit CameraView(QWidget* parent, FindCameras find = {});
  ~CameraView() override;

  // Shows the view, takes the keyboard and looks for cameras again (one may have been plugged in);
  // the first one found starts.
  void open();
  // Stops the camera (without waiting for it), hides the view and gives the keyboard back to the
  // widget that had it before.
  void dismiss();
  // Takes the picture shown, if any, and closes: `taken` carries it.
  void takePicture();

  // The picture shown now; null before the first.
  const QImage& picture() const { return frame_; }
  // A camera is open (or being opened) for the view.
  bool cameraOn() const { return source_ != nullptr; }

 signals:
  void taken(const QImage& photo);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Latest;
  void camerasFound(unsigned search, std::vector<Camera> cameras);
  void startCamera(int index);
  void stopCamera();
  void showLatest();
  void showMessage(const QString& message);

  FindCameras find_;
  std::shared_ptr<QtHandoff> handoff_;
  std::shared_ptr<Latest> latest_;    // the newest picture, waiting for the UI thread
  std::vector<Camera> cameras_;       // as listed in the chooser
  std::unique_ptr<CameraSource> source_;
  unsigned search_ = 0;               // the last search for cameras asked for
  unsigned run_ = 0;                  // the camera started last: what pictures and errors belong to
  QImage frame_;
  QPointer<QWidget> returnTo_;        // had the keyboard before the view opened

  QComboBox* chooser_;
  CameraPicture* pictureArea_;
  QLabel* hint_;
  QPushButton* take_;
  QPushButton* cancel_;
};

}  // namespace kalvori::desktop
