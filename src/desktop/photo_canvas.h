// The photo in the photo view, with the line the bands are read along: fitted to its place when it
// opens, zoomed with the wheel or + and - (0 fits it again), moved with the right or middle button
// or Ctrl and the arrows when it is larger than its place. The line's two ends are square handles;
// either is dragged, or a new line is drawn by pressing on the photo and dragging along the body.
// From the keyboard the arrows move the selected end by one pixel of the photo (Shift: ten) and Tab
// goes from the first end to the second, then on to the next control, as Shift+Tab comes back.
//
// What it deliberately does not do: read anything. Every change of the line is reported
// (onLineChanged) and the view asks for a reading.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <optional>

#include "photo/body_line.h"

namespace kalvori::desktop {

class PhotoCanvas : public QWidget {
 public:
  explicit PhotoCanvas(QWidget* parent = nullptr);

  // A new photo, fitted; no line until one is set or drawn.
  void setPhoto(const QImage& shown, const QImage& preview);
  void clear();
  bool hasPhoto() const { return !shown_.isNull(); }
  // Sets the line without reporting it (the reader proposed it).
  void setLine(std::optional<BodyLine> line);
  const std::optional<BodyLine>& line() const { return line_; }
  // 0: the end at line.from, 1: at line.to.
  int selectedEnd() const { return selected_; }

  std::function<void(const BodyLine&)> onLineChanged;

  // Where a point of the photo is drawn, and which point of the photo lies under a point of the
  // canvas (for tests and the handles).
  QPointF toCanvas(PhotoPoint p) const;
  PhotoPoint toPhoto(QPointF p) const;
  double scale() const { return scale_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  enum class Drag { None, End, NewLine, Pan };

  void fit();
  void zoomAt(double factor, QPointF at);
  void keepInPlace();
  void changed();
  void nudge(double dx, double dy);
  void keepInView(PhotoPoint p);
  PhotoPoint clamped(PhotoPoint p) const;
  PhotoPoint& end(int which);
  void describe();

  QImage shown_, preview_;
  std::optional<BodyLine> line_;
  std::optional<BodyLine> reported_;  // the line last read or proposed: the same line is not read twice
  int selected_ = 0;
  bool fitted_ = true;
  double scale_ = 1;  // canvas pixels a photo pixel
  QPointF origin_;    // where the photo's top-left corner is drawn
  Drag drag_ = Drag::None;
  QPointF pressedAt_;
  QPointF panFrom_;
};

}  // namespace kalvori::desktop
