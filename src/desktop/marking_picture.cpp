#include "desktop/marking_picture.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

#include "desktop/control_widgets.h"

namespace kalvori::desktop {

namespace {

using Body = MarkingPicture::Body;

// The bodies as such parts commonly come: carbon-film resistors beige, moulded inductors light
// green, thick-film chips black with tinned ends and a white code, ceramic discs ochre with dark
// print. Bands and bodies are outlined in a dark grey, so that a white, yellow or gold band still
// stands out on beige.
const QColor kResistorBody(226, 200, 150);
const QColor kInductorBody(170, 215, 160);
const QColor kChipBody(28, 28, 28);
const QColor kChipEnd(200, 200, 200);
const QColor kChipPrint(255, 255, 255);
const QColor kCapacitorBody(205, 140, 55);
const QColor kCapacitorPrint(40, 25, 10);
const QColor kLead(150, 150, 150);
const QColor kEdge(60, 60, 60);

bool banded(Body body) { return body == Body::Resistor || body == Body::Inductor; }

int scaled(int height, double share) { return static_cast<int>(std::lround(height * share)); }

// How many of the last bands stand apart from the others, as on real parts: the tolerance band of
// a four- or five-band code, the tolerance and temperature-coefficient bands of a six-band one. Three
// bands have no tolerance band; a single band (a zero-ohm link) sits in the middle.
std::size_t bandsApart(std::size_t bands) {
  if (bands == 4 || bands == 5) return 1;
  if (bands == 6) return 2;
  return 0;
}

// A banded body laid out for a height: the leads run through the middle of the whole width.
struct BandedLayout {
  QRect body;
  int radius = 0;
  std::vector<QRect> bands;
  int leadThickness = 1;
  int width = 0;
};

BandedLayout bandedLayout(const MarkingPicture& p, int height) {
  const bool inductor = p.body == Body::Inductor;
  BandedLayout l;
  const int bodyHeight = std::max(6, scaled(height, inductor ? 0.72 : 0.58));
  l.radius = inductor ? bodyHeight / 2 : scaled(bodyHeight, 0.35);
  const int bandWidth = std::max(3, scaled(bodyHeight, 0.22));
  const int space = std::max(2, scaled(bandWidth, 0.6));
  const int apartBy = bandWidth + 2 * space;  // between the last band before the gap and the first after
  const int pad = l.radius + space;           // bands keep to the straight part of the body
  const int lead = std::max(3, scaled(height, 0.3));
  l.leadThickness = std::max(1, scaled(height, 0.06));

  const std::size_t n = p.bands.size();
  const std::size_t apart = bandsApart(n), first = n - apart;
  auto groupWidth = [&](std::size_t k) { return k == 0 ? 0 : static_cast<int>(k) * (bandWidth + space) - space; };
  const int span = groupWidth(first) + (apart > 0 ? apartBy + groupWidth(apart) : 0);
  const int length = std::max(span + 2 * pad, scaled(bodyHeight, inductor ? 2.0 : 2.6));
  l.body = QRect(lead, (height - bodyHeight) / 2, length, bodyHeight);
  l.width = length + 2 * lead;

  // The leading bands from the reading end; those set apart at the far end, so that a longer body
  // widens the gap as on real parts; a lone band in the middle.
  int x = n == 1 ? l.body.left() + (length - bandWidth) / 2 : l.body.left() + pad;
  for (std::size_t i = 0; i < n; ++i) {
    if (i == first && apart > 0) x = l.body.right() + 1 - pad - groupWidth(apart);
    l.bands.emplace_back(x, l.body.top(), bandWidth, bodyHeight);
    x += bandWidth + space;
  }
  return l;
}

// A printed body laid out for a height and at most `maxWidth`: the lines centred one under the
// other, in the largest face that fits both.
struct PrintedLayout {
  QRect body;
  int radius = 0;
  int end = 0;          // a chip's tinned end, at each side
  int legs = 0;         // a capacitor's two leads below the body, how long
  int leadThickness = 1;
  QFont font;
  QStringList lines;
  std::vector<int> baselines;
  int width = 0;
};

QFont printFont(int pixelSize) {
  QFont f(QStringLiteral("sans-serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setWeight(QFont::DemiBold);
  f.setPixelSize(pixelSize);
  return f;
}

PrintedLayout printedLayout(const MarkingPicture& p, int height, int maxWidth) {
  const bool chip = p.body == Body::ChipResistor;
  PrintedLayout l;
  for (const std::string& line : p.lines) l.lines << QString::fromStdString(line);
  if (l.lines.isEmpty()) l.lines << QString();
  l.leadThickness = std::max(1, scaled(height, 0.08));
  l.legs = chip ? 0 : std::max(3, scaled(height, 0.16));
  const int bodyHeight = chip ? std::max(6, scaled(height, 0.72)) : height - l.legs;
  l.radius = chip ? 1 : scaled(bodyHeight, 0.4);
  l.end = chip ? std::max(3, scaled(bodyHeight, 0.22)) : 0;
  const int sides = chip ? 2 * l.end + std::max(2, scaled(bodyHeight, 0.2)) : std::max(4, l.radius);
  const int room = bodyHeight - 2 * std::max(1, scaled(bodyHeight, 0.06));
  const int n = static_cast<int>(l.lines.size());

  // Capitals and digits are what is printed: the lines stand a cap height apart plus a third.
  int textWidth = 0, cap = 0, gap = 0;
  for (int size = std::max(5, scaled(bodyHeight, 0.62)); size >= 5; --size) {
    l.font = printFont(size);
    const QFontMetrics m(l.font);
    cap = m.capHeight();
    gap = std::max(1, cap / 3);
    textWidth = 0;
    for (const QString& line : l.lines) textWidth = std::max(textWidth, m.horizontalAdvance(line));
    if (n * cap + (n - 1) * gap <= room && textWidth + 2 * sides <= maxWidth) break;
  }
  const int width = std::max(chip ? 2 * bodyHeight : bodyHeight, textWidth + 2 * sides);
  l.body = QRect(0, chip ? (height - bodyHeight) / 2 : 0, width, bodyHeight);
  l.width = width;
  const int block = n * cap + (n - 1) * gap;
  int baseline = l.body.top() + (bodyHeight - block + 1) / 2 + cap;
  for (int i = 0; i < n; ++i, baseline += cap + gap) l.baselines.push_back(baseline);
  return l;
}

// A rectangle's outline one logical pixel wide, lying on its edge pixels: sharp at any whole
// device-pixel ratio.
QRectF outlineOf(const QRect& r) { return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5); }

void paintBanded(QPainter& painter, const MarkingPicture& p, const BandedLayout& l) {
  const int leadTop = l.body.top() + (l.body.height() - l.leadThickness) / 2;
  painter.fillRect(QRect(0, leadTop, l.width, l.leadThickness), kLead);

  QPainterPath body;
  body.addRoundedRect(outlineOf(l.body), l.radius, l.radius);
  painter.setPen(Qt::NoPen);
  painter.setBrush(p.body == Body::Inductor ? kInductorBody : kResistorBody);
  painter.drawPath(body);

  painter.save();
  painter.setClipPath(body);
  for (std::size_t i = 0; i < l.bands.size(); ++i) {
    // The colour as the window's swatch of that colour is drawn (0x00BBGGRR, red in the low byte).
    painter.fillRect(l.bands[i], drawnColour(p.bands[i].colour));
    painter.setPen(QPen(kEdge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outlineOf(l.bands[i]));
  }
  painter.restore();

  painter.setPen(QPen(kEdge, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(body);
}

void paintPrinted(QPainter& painter, const MarkingPicture& p, const PrintedLayout& l) {
  const bool chip = p.body == Body::ChipResistor;
  if (!chip) {
    // Two leads below the body, a third of the way in from each side.
    for (int x : {l.width / 3, l.width - l.width / 3 - l.leadThickness})
      painter.fillRect(QRect(x, l.body.bottom() - l.radius / 2, l.leadThickness, l.legs + l.radius / 2 + 1), kLead);
  }
  painter.setPen(QPen(kEdge, 1));
  painter.setBrush(chip ? kChipBody : kCapacitorBody);
  painter.drawRoundedRect(outlineOf(l.body), l.radius, l.radius);
  if (chip) {
    painter.setBrush(Qt::NoBrush);
    for (const QRect& end : {QRect(l.body.left(), l.body.top(), l.end, l.body.height()),
                             QRect(l.body.right() + 1 - l.end, l.body.top(), l.end, l.body.height())}) {
      painter.fillRect(end, kChipEnd);
      painter.drawRect(outlineOf(end));
    }
  }
  painter.setFont(l.font);
  painter.setPen(chip ? kChipPrint : kCapacitorPrint);
  const QFontMetrics m(l.font);
  for (qsizetype i = 0; i < l.lines.size(); ++i) {
    const int x = l.body.left() + (l.body.width() - m.horizontalAdvance(l.lines[i])) / 2;
    painter.drawText(QPoint(x, l.baselines[static_cast<std::size_t>(i)]), l.lines[i]);
  }
}

// What a screen reader says of it: the colours in reading order, or the printed lines.
QString describe(const MarkingPicture& p) {
  QStringList parts;
  for (const PaintedBand& band : p.bands)
    parts << QString::fromUtf8(band.name.data(), static_cast<qsizetype>(band.name.size()));
  for (const std::string& line : p.lines) parts << QString::fromStdString(line);
  switch (p.body) {
    case Body::Resistor: return QStringLiteral("电阻色环：") + parts.join(u'、');
    case Body::Inductor: return QStringLiteral("电感色环：") + parts.join(u'、');
    case Body::ChipResistor: return QStringLiteral("贴片印字：") + parts.join(u'，');
    case Body::Capacitor: return QStringLiteral("电容印字：") + parts.join(u'，');
  }
  return parts.join(u'，');
}

}  // namespace

MarkingPictureView::MarkingPictureView(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("标记图"));
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void MarkingPictureView::setPicture(std::optional<MarkingPicture> picture) {
  picture_ = std::move(picture);
  setAccessibleDescription(picture_ ? describe(*picture_) : QString());
  setVisible(picture_.has_value());
  update();
}

QRect MarkingPictureView::bandRect(std::size_t i) const {
  if (!picture_ || !banded(picture_->body) || i >= picture_->bands.size()) return {};
  const BandedLayout l = bandedLayout(*picture_, height());
  return l.bands[i].translated(std::max(0, (width() - l.width) / 2), 0);
}

void MarkingPictureView::paintEvent(QPaintEvent*) {
  if (!picture_) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // Centred across its width; given too little, a banded body runs off the right, a printed code
  // is set smaller.
  if (banded(picture_->body)) {
    const BandedLayout l = bandedLayout(*picture_, height());
    painter.translate(std::max(0, (width() - l.width) / 2), 0);
    paintBanded(painter, *picture_, l);
  } else {
    const PrintedLayout l = printedLayout(*picture_, height(), width());
    painter.translate(std::max(0, (width() - l.width) / 2), 0);
    paintPrinted(painter, *picture_, l);
  }
}

}  // namespace kalvori::desktop
