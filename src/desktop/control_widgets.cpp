#include "desktop/control_widgets.h"

#include <QKeyEvent>
#include <algorithm>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

#include "desktop/caption_text.h"

namespace kalvori::desktop {

QColor drawnColour(OleColor colour) { return QColor::fromRgb(drawnRgb(colour)); }

QFont fontFor(const Font& font) {
  QFont f(QStringLiteral("宋体"));
  f.setPixelSize(font.pixelSize());
  f.setBold(font.bold);
  return f;
}

namespace {

QString captionOf(const Control& c) { return QString::fromStdString(c.caption); }

void paintBackground(QWidget* w, QPainter& p, OleColor colour) { p.fillRect(w->rect(), drawnColour(colour)); }

}  // namespace

CaptionWidget::CaptionWidget(const Control& control, const QFont& font, QWidget* parent)
    : QWidget(parent), ControlView(control) {
  setFont(font);
  setFocusPolicy(Qt::NoFocus);
}

void CaptionWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (control_.kind == Kind::Frame) return paintFrame(p);
  paintBackground(this, p, control_.backColor);
  caption_.draw(p, rect(), captionOf(control_), font(), CaptionAlign::TopLeft, drawnColour(control_.foreColor));
}

LineWidget::LineWidget(const Control& control, QWidget* parent) : QWidget(parent), ControlView(control) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void LineWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), drawnColour(sys::windowText));
}

void CaptionWidget::paintFrame(QPainter& p) {
  paintBackground(this, p, control_.backColor);
  const QString caption = captionOf(control_);
  const int pitch = font().pixelSize();
  // The border runs through the middle of the caption, which stands on the frame's background.
  const int borderTop = caption.isEmpty() ? 0 : pitch / 2;
  const QRect border = rect().adjusted(0, borderTop, -2, -2);
  p.setPen(QColor(128, 128, 128));
  p.drawRect(border);
  p.setPen(Qt::white);
  p.drawRect(border.translated(1, 1));
  if (!caption.isEmpty()) {
    const int captionLeft = 6;
    const int captionWidth = QFontMetrics(font()).horizontalAdvance(caption) + 4;
    const QRect captionBox(captionLeft, 0, qMin(captionWidth, width() - captionLeft - 4), pitch + 2);
    p.fillRect(captionBox, drawnColour(control_.backColor));
    caption_.draw(p, captionBox.adjusted(2, 0, 0, 0), caption, font(), CaptionAlign::TopLeft,
                  drawnColour(control_.foreColor));
  }
}

ButtonWidget::ButtonWidget(const Control& control, const QFont& font, QWidget* parent)
    : QAbstractButton(parent), ControlView(control) {
  setFont(font);
  setFocusPolicy(Qt::StrongFocus);
}

void ButtonWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionButton option;
  option.initFrom(this);
  option.palette.setColor(QPalette::Button, drawnColour(control_.backColor));
  option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
  // A pressed button's caption moves down and right with the face.
  const QPoint shift = isDown() ? QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                                         style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this))
                                : QPoint();
  caption_.draw(p, rect().adjusted(4, 3, -4, -3).translated(shift), captionOf(control_), font(), CaptionAlign::Centre,
                drawnColour(control_.foreColor));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    focus.backgroundColor = drawnColour(control_.backColor);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

void ButtonWidget::keyPressEvent(QKeyEvent* event) {
  // Enter presses a button as Space does; held down, once, as the file list chooses once.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (!event->isAutoRepeat()) animateClick();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

OptionWidget::OptionWidget(const Control& control, const QFont& font, QWidget* parent, std::function<void(int)> step)
    : QAbstractButton(parent), ControlView(control), step_(std::move(step)) {
  setFont(font);
  setFocusPolicy(Qt::StrongFocus);
  setCheckable(true);
  setAutoExclusive(true);  // Qt's own group is the model's: every option button of the same parent
  sync(Property::Value);
}

void OptionWidget::sync(Property p) {
  if (p == Property::Value) {
    // Exclusive buttons refuse to be unchecked one by one; the model has already decided.
    setAutoExclusive(false);
    setChecked(control_.value);
    setAutoExclusive(true);
  }
  update();
}

void OptionWidget::keyPressEvent(QKeyEvent* event) {
  // A key held down moves or presses once: each press re-lays the window.
  const bool once = !event->isAutoRepeat();
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
      if (once) step_(-1);
      return;
    case Qt::Key_Down:
    case Qt::Key_Right:
      if (once) step_(+1);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:  // Enter presses an option button as Space does
      if (once) animateClick();
      return;
    default: QAbstractButton::keyPressEvent(event);
  }
}

void OptionWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paintBackground(this, p, control_.backColor);
  const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this);
  QStyleOptionButton option;
  option.initFrom(this);
  option.rect = QRect(2, (height() - indicator) / 2, indicator, indicator);
  option.state |= control_.value ? QStyle::State_On : QStyle::State_Off;
  if (isDown()) option.state |= QStyle::State_Sunken;
  style()->drawPrimitive(QStyle::PE_IndicatorRadioButton, &option, &p, this);
  const QRect captionBox = rect().adjusted(indicator + 6, 0, 0, 0);
  caption_.draw(p, captionBox, captionOf(control_), font(), CaptionAlign::MiddleLeft,
                drawnColour(control_.foreColor));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = captionBox.adjusted(-2, 1, 0, -1);
    focus.backgroundColor = drawnColour(control_.backColor);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

DisplayBox::DisplayBox(const Control& control, const QFont& font, QWidget* parent)
    : QLineEdit(parent), ControlView(control) {
  setFont(font);
  setReadOnly(true);
  // Sit the baseline where the Song face puts it (0.86 em down), also with faces whose ascent is
  // taller, so that large digits are not cut off at the bottom of their box.
  const int lift = QFontMetrics(font).ascent() - qRound(font.pixelSize() * 0.86);
  setTextMargins(0, -std::max(0, lift), 0, 0);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setText(QString::fromStdString(control.text));
  syncColours();
}

void DisplayBox::sync(Property p) {
  if (p == Property::Text) setText(QString::fromStdString(control_.text));
  if (p == Property::BackColor) syncColours();
  update();
}

void DisplayBox::syncColours() {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Base, drawnColour(control_.backColor));
  palette.setColor(QPalette::Text, drawnColour(control_.foreColor));
  setPalette(palette);
}

}  // namespace kalvori::desktop
