#include "desktop/classic_style.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <cmath>
#include <utility>

namespace kalvori::desktop {

namespace {

using namespace classic;

struct EdgePair {
  QColor topLeft, bottomRight;
};
struct Bevel {
  EdgePair outer, inner;
};
// Light falls from the top left: on a raised face the top and left edges catch it; in a sunken
// box (and on a pressed button) the far side of the hollow does.
const Bevel kRaised{{kWhite, kBlack}, {kLight, kShadow}};
const Bevel kSunken{{kShadow, kWhite}, {kDarkShadow, kLight}};

// One edge pair round `r`, each edge one logical pixel wide, so that it stays one crisp line at any
// scale. The bottom and right edges own the corners they share with the top and left ones.
void drawEdges(QPainter* p, const QRect& r, const EdgePair& e) {
  p->fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), e.topLeft);
  p->fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), e.topLeft);
  p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), e.bottomRight);
  p->fillRect(QRect(r.right(), r.top(), 1, r.height()), e.bottomRight);
}

void drawBevel(QPainter* p, const QRect& r, const Bevel& b) {
  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  drawEdges(p, r, b.outer);
  drawEdges(p, r.adjusted(1, 1, -1, -1), b.inner);
  p->restore();
}

// A face is one flat colour over the whole control, then its bevel.
void drawFace(QPainter* p, const QRect& r, const QColor& face, const Bevel& b) {
  p->fillRect(r, face);
  drawBevel(p, r, b);
}

bool pressed(const QStyleOption* o) { return o->state & (QStyle::State_Sunken | QStyle::State_On); }
const Bevel& buttonBevel(const QStyleOption* o) { return pressed(o) ? kSunken : kRaised; }

// Dots on every other logical pixel round `r`. The classic focus rectangle inverts what it covers,
// so the dots take the inverse of the face they stand on and show on every face colour.
void drawFocusDots(QPainter* p, const QRect& r, const QColor& face) {
  const QColor ink = face.isValid() ? QColor(255 - face.red(), 255 - face.green(), 255 - face.blue()) : kBlack;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  for (int x = r.left(); x <= r.right(); x += 2) {
    p->fillRect(QRect(x, r.top(), 1, 1), ink);
    p->fillRect(QRect(x, r.bottom(), 1, 1), ink);
  }
  for (int y = r.top(); y <= r.bottom(); y += 2) {
    p->fillRect(QRect(r.left(), y, 1, 1), ink);
    p->fillRect(QRect(r.right(), y, 1, 1), ink);
  }
  p->restore();
}

QRect focusRectIn(const QRect& face) { return face.adjusted(3, 3, -3, -3); }

// A small solid triangle, seven pixels across its base, pointing along `direction`.
void drawArrow(QPainter* p, const QPoint& c, Qt::ArrowType direction, const QColor& colour) {
  const bool vertical = direction == Qt::DownArrow || direction == Qt::UpArrow;
  const bool forward = direction == Qt::DownArrow || direction == Qt::RightArrow;
  for (int i = 0; i < 4; ++i) {
    const int along = forward ? i - 1 : 2 - i;  // the base first, then ever shorter rows to the tip
    p->fillRect(vertical ? QRect(c.x() - 3 + i, c.y() + along, 7 - 2 * i, 1)
                         : QRect(c.x() + along, c.y() - 3 + i, 1, 7 - 2 * i),
                colour);
  }
}

// The round option indicator: a white hollow edged by the sunken bevel's colours, each edge a half
// ring, and a black dot when selected. Round shapes are smoothed; the box it stands in is Fusion's.
void drawRadio(QPainter* p, const QStyleOption* o) {
  const qreal d = 12;
  const QRectF circle(o->rect.x() + (o->rect.width() - d) / 2, o->rect.y() + (o->rect.height() - d) / 2, d, d);
  const bool enabled = o->state & QStyle::State_Enabled;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  p->setPen(Qt::NoPen);
  p->setBrush(enabled && !(o->state & QStyle::State_Sunken) ? kWhite : kFace);
  p->drawEllipse(circle.adjusted(1, 1, -1, -1));
  p->setBrush(Qt::NoBrush);
  const auto halfRings = [p](const QRectF& ring, const EdgePair& e) {
    p->setPen(QPen(e.topLeft, 1));
    p->drawArc(ring, 45 * 16, 180 * 16);
    p->setPen(QPen(e.bottomRight, 1));
    p->drawArc(ring, 225 * 16, 180 * 16);
  };
  halfRings(circle.adjusted(0.5, 0.5, -0.5, -0.5), kSunken.outer);
  halfRings(circle.adjusted(1.5, 1.5, -1.5, -1.5), kSunken.inner);
  if (o->state & QStyle::State_On) {
    p->setPen(Qt::NoPen);
    p->setBrush(enabled ? kBlack : kShadow);
    p->drawEllipse(circle.center(), 2, 2);
  }
  p->restore();
}

// A shape of the icon in one colour: its dark, opaque pixels (light ones are highlights, not the
// shape), with their coverage.
QImage shapeOf(const QImage& icon, const QColor& colour) {
  QImage shape(icon.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < icon.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(shape.scanLine(y));
    for (int x = 0; x < icon.width(); ++x) {
      const int alpha = qGray(in[x]) < 192 ? qAlpha(in[x]) : 0;
      out[x] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), alpha));
    }
  }
  return shape;
}

}  // namespace

ClassicStyle::ClassicStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QPalette ClassicStyle::standardPalette() const {
  QPalette palette(kBlack, kFace, kWhite, kShadow, kShadow, kBlack, kWhite, kWhite, kFace);
  palette.setColor(QPalette::Midlight, kLight);
  palette.setColor(QPalette::Shadow, kBlack);
  palette.setColor(QPalette::Highlight, kNavy);
  palette.setColor(QPalette::HighlightedText, kWhite);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, kShadow);
  return palette;
}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical: return 1;  // a pressed caption moves down and right
    case PM_DefaultFrameWidth:
      // A list's frame holds the whole sunken bevel; its entries sit inside it. Text boxes keep
      // Fusion's one pixel, so that their text stands where the box's font puts it.
      if (qobject_cast<const QListWidget*>(widget)) return 2;
      break;
    default: break;
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

int ClassicStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;  // OK says OK, with no check mark
  if (hint == SH_ComboBox_Popup) return 0;  // the drive list drops down below its field, in its colour
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  switch (element) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
    case PE_PanelButtonTool:
      drawFace(painter, option->rect, option->palette.button().color(), buttonBevel(option));
      return;
    case PE_FrameButtonBevel:
    case PE_FrameButtonTool: drawBevel(painter, option->rect, buttonBevel(option)); return;
    case PE_FrameDefaultButton: return;
    case PE_PanelLineEdit:
      painter->fillRect(option->rect, option->palette.base());
      if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option); frame && frame->lineWidth > 0)
        drawBevel(painter, option->rect, kSunken);
      // A display box shows no text cursor: the dots tell where the keyboard is. A box that takes
      // typing shows its cursor and needs none.
      if (const auto* box = qobject_cast<const QLineEdit*>(widget); box && !box->isReadOnly()) return;
      if (option->state & State_HasFocus)
        drawFocusDots(painter, focusRectIn(option->rect), option->palette.base().color());
      return;
    case PE_FrameLineEdit: drawBevel(painter, option->rect, kSunken); return;
    case PE_Frame:
      if (option->state & State_Sunken) {
        drawBevel(painter, option->rect, kSunken);
        return;
      }
      break;
    case PE_FrameFocusRect: {
      const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option);
      drawFocusDots(painter, option->rect, focus ? focus->backgroundColor : QColor());
      return;
    }
    case PE_IndicatorRadioButton: drawRadio(painter, option); return;
    default: break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  if (element == CE_PushButtonBevel && button) {
    drawFace(painter, option->rect, option->palette.button().color(), buttonBevel(option));
    return;
  }
  if (element == CE_PushButton && button) {
    drawControl(CE_PushButtonBevel, option, painter, widget);
    // The caption moves here, once; the label is drawn as if unpressed so that it does not move twice.
    QStyleOptionButton label = *button;
    label.rect = subElementRect(SE_PushButtonContents, button, widget);
    if (pressed(option)) label.rect.translate(1, 1);
    label.state &= ~(State_Sunken | State_On);
    QProxyStyle::drawControl(CE_PushButtonLabel, &label, painter, widget);
    if (option->state & State_HasFocus)
      drawFocusDots(painter, focusRectIn(option->rect), option->palette.button().color());
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                      const QWidget* widget) const {
  if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
      control == CC_ComboBox && combo && !combo->editable) {
    // A sunken field in the list's back colour with a raised button-face button at its right.
    const QRect field = option->rect;
    painter->fillRect(field, option->palette.base());
    drawBevel(painter, field, kSunken);
    const QRect arrow = subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget) & field.adjusted(2, 2, -2, -2);
    const bool down = (combo->activeSubControls & SC_ComboBoxArrow) && (option->state & State_Sunken);
    drawFace(painter, arrow, kFace, down ? kSunken : kRaised);
    drawArrow(painter, arrow.center() + (down ? QPoint(1, 1) : QPoint()), Qt::DownArrow,
              option->state & State_Enabled ? kBlack : kShadow);
    if (option->state & State_HasFocus) {
      const QRect text = subControlRect(CC_ComboBox, combo, SC_ComboBoxEditField, widget);
      drawFocusDots(painter, text.adjusted(0, 1, -1, -1), option->palette.base().color());
    }
    return;
  }
  if (const auto* tool = qstyleoption_cast<const QStyleOptionToolButton*>(option);
      control == CC_ToolButton && tool && !(tool->features & QStyleOptionToolButton::MenuButtonPopup) &&
      !(tool->features & QStyleOptionToolButton::HasMenu)) {
    drawFace(painter, option->rect, option->palette.button().color(), buttonBevel(option));
    QStyleOptionToolButton label = *tool;
    label.rect = option->rect.adjusted(2, 2, -2, -2);  // moves down and right by itself when pressed
    drawControl(CE_ToolButtonLabel, &label, painter, widget);
    if (option->state & State_HasFocus)
      drawFocusDots(painter, focusRectIn(option->rect), option->palette.button().color());
    return;
  }
  if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option); control == CC_ScrollBar && bar) {
    // Button-face arrow buttons and thumb on a track dotted white over the button face; the parts
    // stand where Fusion puts them.
    painter->fillRect(option->rect, kFace);
    painter->fillRect(option->rect, QBrush(kWhite, Qt::Dense4Pattern));
    const bool enabled = (option->state & State_Enabled) && bar->maximum > bar->minimum;
    const bool vertical = bar->orientation == Qt::Vertical;
    const std::pair<SubControl, Qt::ArrowType> ends[] = {
        {SC_ScrollBarSubLine, vertical ? Qt::UpArrow : Qt::LeftArrow},
        {SC_ScrollBarAddLine, vertical ? Qt::DownArrow : Qt::RightArrow}};
    for (const auto& [part, direction] : ends) {
      const QRect r = subControlRect(CC_ScrollBar, bar, part, widget);
      const bool down = (bar->activeSubControls & part) && (option->state & State_Sunken);
      drawFace(painter, r, kFace, down ? kSunken : kRaised);
      drawArrow(painter, r.center() + (down ? QPoint(1, 1) : QPoint()), direction, enabled ? kBlack : kShadow);
    }
    if (enabled) drawFace(painter, subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget), kFace, kRaised);
    return;
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

// A disabled icon is embossed as classic disabled captions are: its shape in grey, standing on a
// white copy of itself one pixel down and right.
QPixmap ClassicStyle::generatedIconPixmap(QIcon::Mode mode, const QPixmap& pixmap, const QStyleOption* option) const {
  if (mode != QIcon::Disabled || pixmap.isNull()) return QProxyStyle::generatedIconPixmap(mode, pixmap, option);
  const QImage icon = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  QImage embossed(icon.size(), QImage::Format_ARGB32_Premultiplied);
  embossed.fill(Qt::transparent);
  const int step = std::max(1, static_cast<int>(std::lround(pixmap.devicePixelRatio())));
  {
    QPainter p(&embossed);
    p.drawImage(QPoint(step, step), shapeOf(icon, kWhite));
    p.drawImage(QPoint(0, 0), shapeOf(icon, kShadow));
  }
  QPixmap out = QPixmap::fromImage(embossed);
  out.setDevicePixelRatio(pixmap.devicePixelRatio());
  return out;
}

void paintRaisedPanel(QWidget* panel) {
  QPainter painter(panel);
  QStyleOption option;
  option.initFrom(panel);
  option.state &= ~(QStyle::State_Sunken | QStyle::State_On | QStyle::State_HasFocus);
  option.state |= QStyle::State_Raised;
  panel->style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, panel);
}

void paintSunkenEdge(QPainter& painter, const QRect& r) { drawBevel(&painter, r, kSunken); }

}  // namespace kalvori::desktop
