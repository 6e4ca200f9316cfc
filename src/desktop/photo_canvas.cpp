#include "desktop/photo_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "desktop/classic_style.h"

namespace kalvori::desktop {

namespace {

// Inside the sunken edge; the photo stands on the classic dark grey where it does not fill it.
constexpr int kEdge = 2;
using namespace classic;
const QColor kBehind = kShadow;

constexpr int kHandle = 7;          // a handle's side, as the classic sizing handles
constexpr double kGrip = 8;         // how near a handle a press takes it
constexpr double kNewLineFrom = 4;  // how far a press must move before it draws a line
constexpr double kZoomStep = 1.25;
constexpr double kMostZoom = 16;    // canvas pixels a photo pixel, at most
constexpr int kPanStep = 40;

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

}  // namespace

PhotoCanvas::PhotoCanvas(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("照片"));
  setMouseTracking(false);
}

void PhotoCanvas::setPhoto(const QImage& shown, const QImage& preview) {
  shown_ = shown;
  preview_ = preview.isNull() ? shown : preview;
  line_.reset();
  reported_.reset();
  selected_ = 0;
  drag_ = Drag::None;
  fit();
  describe();
}

void PhotoCanvas::clear() {
  shown_ = preview_ = QImage();
  line_.reset();
  reported_.reset();
  drag_ = Drag::None;
  describe();
  update();
}

void PhotoCanvas::setLine(std::optional<BodyLine> line) {
  line_ = line;
  if (line_) {
    line_->from = clamped(line_->from);
    line_->to = clamped(line_->to);
  }
  reported_ = line_;
  describe();
  update();
}

QPointF PhotoCanvas::toCanvas(PhotoPoint p) const { return origin_ + QPointF(p.x, p.y) * scale_; }

PhotoPoint PhotoCanvas::toPhoto(QPointF p) const {
  const QPointF q = (p - origin_) / scale_;
  return {q.x(), q.y()};
}

PhotoPoint PhotoCanvas::clamped(PhotoPoint p) const {
  return {std::clamp(p.x, 0.0, static_cast<double>(shown_.width())),
          std::clamp(p.y, 0.0, static_cast<double>(shown_.height()))};
}

PhotoPoint& PhotoCanvas::end(int which) { return which == 0 ? line_->from : line_->to; }

void PhotoCanvas::fit() {
  fitted_ = true;
  if (shown_.isNull()) return update();
  const QRectF area = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
  scale_ = std::max(1e-3, std::min(area.width() / shown_.width(), area.height() / shown_.height()));
  keepInPlace();
}

// A photo smaller than its place stands in the middle; a larger one leaves no gap at either side.
void PhotoCanvas::keepInPlace() {
  const QRectF area = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
  const auto place = [](double origin, double extent, double from, double length) {
    if (extent <= length) return from + (length - extent) / 2;
    return std::clamp(origin, from + length - extent, from);
  };
  origin_ = QPointF(place(origin_.x(), shown_.width() * scale_, area.left(), area.width()),
                    place(origin_.y(), shown_.height() * scale_, area.top(), area.height()));
  update();
}

// Zooms about `at`, which stays over the same point of the photo; never smaller than fitted.
void PhotoCanvas::zoomAt(double factor, QPointF at) {
  if (shown_.isNull()) return;
  const QRectF area = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
  const double fitScale = std::min(area.width() / shown_.width(), area.height() / shown_.height());
  const double next = std::clamp(scale_ * factor, fitScale, std::max(fitScale, kMostZoom));
  if (next <= fitScale) return fit();
  const PhotoPoint under = toPhoto(at);
  scale_ = next;
  origin_ = at - QPointF(under.x, under.y) * scale_;
  fitted_ = false;
  keepInPlace();
}

void PhotoCanvas::changed() {
  describe();
  update();
  if (!line_ || line_ == reported_) return;
  reported_ = line_;
  if (onLineChanged) onLineChanged(*line_);
}

void PhotoCanvas::nudge(double dx, double dy) {
  if (!line_) return;
  PhotoPoint& p = end(selected_);
  p = clamped({p.x + dx, p.y + dy});
  keepInView(p);
  changed();
}

// The photo moves under a zoomed view so that the end the keys move stays in sight.
void PhotoCanvas::keepInView(PhotoPoint p) {
  const QRectF sight = QRectF(rect()).adjusted(kEdge + kHandle, kEdge + kHandle, -kEdge - kHandle, -kEdge - kHandle);
  const QPointF at = toCanvas(p);
  if (sight.isEmpty() || sight.contains(at)) return;
  origin_ += QPointF(std::clamp(at.x(), sight.left(), sight.right()) - at.x(),
                     std::clamp(at.y(), sight.top(), sight.bottom()) - at.y());
  keepInPlace();
}

// A screen reader hears where the line lies and which end the arrows move.
void PhotoCanvas::describe() {
  if (shown_.isNull()) return setAccessibleDescription(QString());
  if (!line_) return setAccessibleDescription(QStringLiteral("%1×%2 像素，没有线：在电阻上拖出一条线").arg(shown_.width()).arg(shown_.height()));
  const auto at = [](PhotoPoint p) { return QStringLiteral("(%1, %2)").arg(std::lround(p.x)).arg(std::lround(p.y)); };
  setAccessibleDescription(QStringLiteral("线从 %1 到 %2，方向键移动%3")
                               .arg(at(line_->from), at(line_->to), selected_ == 0 ? QStringLiteral("起点") : QStringLiteral("终点")));
}

// Tab goes from the first end to the second before it leaves; Shift+Tab from the second back.
bool PhotoCanvas::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && line_) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::KeypadModifier) && selected_ == 0) {
      selected_ = 1;
      describe();
      update();
      return true;
    }
    if (key->key() == Qt::Key_Backtab && selected_ == 1) {
      selected_ = 0;
      describe();
      update();
      return true;
    }
  }
  return QWidget::event(e);
}

void PhotoCanvas::focusInEvent(QFocusEvent* e) {
  if (e->reason() == Qt::TabFocusReason) selected_ = 0;
  if (e->reason() == Qt::BacktabFocusReason) selected_ = 1;
  describe();
  update();
}

void PhotoCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The sunken edge of a classic box, the dark grey behind the photo.
  const QRect r = rect();
  p.fillRect(r, kBehind);
  paintSunkenEdge(p, r);
  if (shown_.isNull()) return;

  const QRectF area = r.adjusted(kEdge, kEdge, -kEdge, -kEdge);
  p.setClipRect(area);
  // Only the part in view is drawn: from the small copy while it has pixels enough, and with its
  // pixels as squares once they are larger than the screen's, so that an end can be set on one.
  const QRectF drawn(origin_, QSizeF(shown_.width() * scale_, shown_.height() * scale_));
  const QRectF visible = drawn & area;
  const bool small = scale_ <= static_cast<double>(preview_.width()) / shown_.width();
  const QImage& image = small ? preview_ : shown_;
  const double ratio = static_cast<double>(image.width()) / shown_.width();
  const QRectF source((visible.left() - origin_.x()) / scale_ * ratio, (visible.top() - origin_.y()) / scale_ * ratio,
                      visible.width() / scale_ * ratio, visible.height() / scale_ * ratio);
  p.setRenderHint(QPainter::SmoothPixmapTransform, scale_ < 1);
  p.drawImage(visible, image, source);

  if (!line_) return;
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF a = toCanvas(line_->from), b = toCanvas(line_->to);
  // A white line edged in navy shows on a light tray and on a dark body alike.
  p.setPen(QPen(kNavy, 3));
  p.drawLine(a, b);
  p.setPen(QPen(kWhite, 1));
  p.drawLine(a, b);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int which : {0, 1}) {
    const QPointF c = which == 0 ? a : b;
    const QRect handle(static_cast<int>(std::lround(c.x())) - kHandle / 2, static_cast<int>(std::lround(c.y())) - kHandle / 2,
                       kHandle, kHandle);
    const bool chosen = which == selected_;
    p.fillRect(handle, chosen ? kNavy : kWhite);
    p.setPen(chosen ? kWhite : kBlack);
    p.setBrush(Qt::NoBrush);
    p.drawRect(handle.adjusted(0, 0, -1, -1));
    if (chosen && hasFocus()) {
      // The classic focus dots round the end the keys move.
      const QRect dots = handle.adjusted(-3, -3, 3, 3);
      for (int x = dots.left(); x <= dots.right(); x += 2) {
        p.fillRect(QRect(x, dots.top(), 1, 1), kWhite);
        p.fillRect(QRect(x, dots.bottom(), 1, 1), kWhite);
      }
      for (int y = dots.top(); y <= dots.bottom(); y += 2) {
        p.fillRect(QRect(dots.left(), y, 1, 1), kWhite);
        p.fillRect(QRect(dots.right(), y, 1, 1), kWhite);
      }
    }
  }
}

void PhotoCanvas::resizeEvent(QResizeEvent*) {
  if (fitted_) fit();
  else keepInPlace();
}

void PhotoCanvas::wheelEvent(QWheelEvent* e) {
  const double steps = e->angleDelta().y() / 120.0;
  if (steps != 0) zoomAt(std::pow(kZoomStep, steps), e->position());
  e->accept();
}

void PhotoCanvas::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  if (shown_.isNull()) return;
  if (e->button() == Qt::RightButton || e->button() == Qt::MiddleButton) {
    drag_ = Drag::Pan;
    panFrom_ = e->position();
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  if (line_) {
    for (int which : {selected_, 1 - selected_}) {
      if (distance(toCanvas(end(which)), e->position()) <= kGrip) {
        selected_ = which;
        drag_ = Drag::End;
        describe();
        update();
        return;
      }
    }
  }
  const PhotoPoint at = toPhoto(e->position());
  if (at.x < 0 || at.y < 0 || at.x > shown_.width() || at.y > shown_.height()) return;
  drag_ = Drag::NewLine;
  pressedAt_ = e->position();
}

void PhotoCanvas::mouseMoveEvent(QMouseEvent* e) {
  switch (drag_) {
    case Drag::None: return;
    case Drag::Pan:
      origin_ += e->position() - panFrom_;
      panFrom_ = e->position();
      fitted_ = false;
      keepInPlace();
      return;
    case Drag::End:
      end(selected_) = clamped(toPhoto(e->position()));
      changed();
      return;
    case Drag::NewLine:
      // A press that barely moves is a click, and leaves the line as it was; once it moves, the
      // new line's far end follows the pointer.
      if (distance(e->position(), pressedAt_) < kNewLineFrom) return;
      line_ = BodyLine{clamped(toPhoto(pressedAt_)), clamped(toPhoto(e->position()))};
      selected_ = 1;
      drag_ = Drag::End;
      changed();
      return;
  }
}

void PhotoCanvas::mouseReleaseEvent(QMouseEvent* e) {
  if (drag_ != Drag::None && drag_ != Drag::Pan) mouseMoveEvent(e);
  drag_ = Drag::None;
}

void PhotoCanvas::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const double step = e->modifiers() & Qt::ShiftModifier ? 10 : 1;
  const QPointF middle = QRectF(rect()).center();
  switch (e->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomAt(kZoomStep, middle); return;
    case Qt::Key_Minus: zoomAt(1 / kZoomStep, middle); return;
    case Qt::Key_0: fit(); return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int dx = e->key() == Qt::Key_Left ? -1 : e->key() == Qt::Key_Right ? 1 : 0;
      const int dy = e->key() == Qt::Key_Up ? -1 : e->key() == Qt::Key_Down ? 1 : 0;
      if (ctrl) {
        origin_ -= QPointF(dx, dy) * kPanStep;
        fitted_ = false;
        keepInPlace();
      } else {
        nudge(dx * step, dy * step);
      }
      return;
    }
    default: e->ignore();
  }
}

}  // namespace kalvori::desktop
