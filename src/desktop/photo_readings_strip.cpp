#include "desktop/photo_readings_strip.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "desktop/classic_style.h"
#include "desktop/control_widgets.h"
#include "desktop/qt_handoff.h"
#include "marking/band_colour.h"

namespace kalvori::desktop {

namespace {

constexpr int kEdge = 2;            // the sunken edge of a classic list
constexpr int kRow = 36;            // a row: the photo's strip over the painted bands, and margins
constexpr int kHalf = 14;           // the strip's height, and the painted bands' under it
constexpr int kNumber = 20;         // the row's number at its left
constexpr int kMostStripWidth = 300;
const QColor kBody(226, 200, 150);  // a carbon-film body, as the look-up's picture paints it
const QColor kEdgeInk(60, 60, 60);
using namespace classic;

QString colourName(Band b) {
  const std::string_view n = bandColour(b).name;
  return QString::fromUtf8(n.data(), static_cast<qsizetype>(n.size()));
}

QColor bandInk(Band b) { return drawnColour(bandColour(b).swatch); }

// A swatch for the colour menu, edged so that white and the light colours show on the menu.
QIcon swatchIcon(Band b) {
  QPixmap pixmap(12, 12);
  pixmap.fill(bandInk(b));
  QPainter p(&pixmap);
  p.setPen(kEdgeInk);
  p.drawRect(0, 0, 11, 11);
  return QIcon(pixmap);
}

QString percent(double score) { return QString::number(std::clamp(std::lround(score * 100), 0L, 100L)) + u'%'; }

}  // namespace

PhotoReadingsStrip::PhotoReadingsStrip(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("读数"));
}

int PhotoReadingsStrip::heightFor(int rows) { return rows * kRow + 2 * kEdge; }

void PhotoReadingsStrip::setReadings(const PhotoAnswer& answer, const QImage& strip, Evaluate evaluate) {
  rows_.clear();
  for (const BandReading& r : answer.readings) rows_.push_back({r, true, false});
  seen_ = answer.seen;
  strip_ = strip;
  evaluate_ = std::move(evaluate);
  chosen_ = rows_.empty() ? -1 : 0;
  band_ = 0;
  changed();
}

void PhotoReadingsStrip::clear() {
  rows_.clear();
  seen_.clear();
  strip_ = QImage();
  chosen_ = -1;
  changed();
}

void PhotoReadingsStrip::setEmptyText(const QString& text) {
  emptyText_ = text;
  update();
}

void PhotoReadingsStrip::choose(int row) {
  if (row < 0 || row >= count() || row == chosen_) return;
  chosen_ = row;
  band_ = std::min<int>(band_, static_cast<int>(rows_[static_cast<std::size_t>(row)].reading.bands.size()) - 1);
  changed();
}

const ShownReading* PhotoReadingsStrip::chosenReading() const {
  return chosen_ < 0 ? nullptr : &rows_[static_cast<std::size_t>(chosen_)];
}

void PhotoReadingsStrip::reevaluate(ShownReading& r) {
  const std::optional<BandReading> now = evaluate_ ? evaluate_(r.reading.bands) : std::nullopt;
  r.edited = true;
  r.valid = now.has_value();
  if (now) {
    const bool reversed = r.reading.reversed;
    r.reading = *now;
    r.reading.reversed = reversed;
  }
}

void PhotoReadingsStrip::flipChosen() {
  if (chosen_ < 0) return;
  ShownReading& r = rows_[static_cast<std::size_t>(chosen_)];
  std::reverse(r.reading.bands.begin(), r.reading.bands.end());
  r.reading.reversed = !r.reading.reversed;
  band_ = static_cast<int>(r.reading.bands.size()) - 1 - band_;
  reevaluate(r);
  changed();
}

void PhotoReadingsStrip::setBand(int row, int band, Band colour) {
  if (row < 0 || row >= count()) return;
  ShownReading& r = rows_[static_cast<std::size_t>(row)];
  if (band < 0 || band >= static_cast<int>(r.reading.bands.size())) return;
  if (r.reading.bands[static_cast<std::size_t>(band)] == colour) return;
  r.reading.bands[static_cast<std::size_t>(band)] = colour;
  reevaluate(r);
  changed();
}

// A screen reader hears the chosen reading and the band that Space offers colours for.
void PhotoReadingsStrip::describe() {
  if (chosen_ < 0) return setAccessibleDescription(QString());
  const std::vector<Band>& bands = rows_[static_cast<std::size_t>(chosen_)].reading.bands;
  const QString band = band_ >= 0 && band_ < static_cast<int>(bands.size())
                           ? QStringLiteral("；第%1环%2（空格换颜色）").arg(band_ + 1).arg(colourName(bands[static_cast<std::size_t>(band_)]))
                           : QString();
  setAccessibleDescription(QStringLiteral("第%1种读法：").arg(chosen_ + 1) + words(chosen_) + band);
}

void PhotoReadingsStrip::changed() {
  describe();
  update();
  if (onChanged) onChanged();
}

QString PhotoReadingsStrip::words(int row) const {
  const ShownReading& r = rows_[static_cast<std::size_t>(row)];
  QString colours;
  for (Band b : r.reading.bands) colours += colourName(b);
  if (!r.valid) return QStringLiteral("%1：不是电阻的色环").arg(colours);
  QString value = QString::fromStdString(valueText(r.reading.ohms, Family::Resistance)) + u' ' +
                  (r.reading.tolerance ? QString::fromStdString(toleranceText(*r.reading.tolerance)) : QStringLiteral("±20%"));
  if (r.reading.tempco) value += QStringLiteral(" %1ppm/K").arg(*r.reading.tempco);
  const QString sure = r.edited ? QStringLiteral("改过") : QStringLiteral("把握 ") + percent(r.reading.score);
  return QStringLiteral("%1　%2　%3").arg(value, sure, colours);
}

QRect PhotoReadingsStrip::rowRect(int row) const { return {kEdge, kEdge + row * kRow, width() - 2 * kEdge, kRow}; }

QRect PhotoReadingsStrip::stripRect(int row) const {
  const QRect r = rowRect(row);
  const int w = std::min(kMostStripWidth, r.width() * 2 / 5);
  return {r.left() + kNumber, r.top() + (kRow - 2 * kHalf) / 2, w, 2 * kHalf};
}

// The bands where they were seen along the line (read from the other end when the reading is),
// or, where the reading has another number of bands than were seen, spread along the body.
QRect PhotoReadingsStrip::bandRect(int row, int band) const {
  if (row < 0 || row >= count()) return {};
  const BandReading& r = rows_[static_cast<std::size_t>(row)].reading;
  const int n = static_cast<int>(r.bands.size());
  if (band < 0 || band >= n) return {};
  const QRect s = stripRect(row);
  const int top = s.top() + kHalf;
  double from = 0, to = 0;
  if (static_cast<int>(seen_.size()) == n) {
    const SeenBand& seen = seen_[static_cast<std::size_t>(r.reversed ? n - 1 - band : band)];
    from = r.reversed ? 1 - seen.to : seen.from;
    to = r.reversed ? 1 - seen.from : seen.to;
  } else {
    from = (0.15 + 0.7 * band / n);
    to = from + 0.7 / n * 0.6;
  }
  const int left = s.left() + static_cast<int>(std::lround(from * s.width()));
  const int width = std::max(4, static_cast<int>(std::lround((to - from) * s.width())));
  return {left, top, width, kHalf};
}

void PhotoReadingsStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // A classic list: white inside a sunken edge.
  const QRect r = rect();
  p.fillRect(r, kWhite);
  paintSunkenEdge(p, r);
  p.setClipRect(r.adjusted(kEdge, kEdge, -kEdge, -kEdge));

  const QFontMetrics m(font());
  if (rows_.empty()) {
    p.setPen(QColor(80, 80, 80));
    p.drawText(r.adjusted(8, 4, -8, -4), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
  }
  for (int i = 0; i < count(); ++i) {
    const QRect row = rowRect(i);
    const QRect s = stripRect(i);
    const ShownReading& shown = rows_[static_cast<std::size_t>(i)];
    const bool chosen = i == chosen_;
    // The chosen row's number and words stand in the classic selection colours.
    const QRect words(s.right() + 8, row.top() + 1, row.right() - s.right() - 10, kRow - 2);
    if (chosen) {
      p.fillRect(QRect(row.left(), row.top() + 1, kNumber - 2, kRow - 2), kNavy);
      p.fillRect(words.adjusted(-3, 0, 0, 0), kNavy);
    }
    p.setPen(chosen ? kWhite : Qt::black);
    p.drawText(QRect(row.left(), row.top(), kNumber - 2, kRow), Qt::AlignCenter, QString::number(i + 1));
    // The body straightened, turned round for a reading from the other end, so that both read
    // from the left.
    if (!strip_.isNull()) {
      const QImage body = shown.reading.reversed ? strip_.mirrored(true, false) : strip_;
      p.setRenderHint(QPainter::SmoothPixmapTransform, true);
      p.drawImage(QRect(s.left(), s.top(), s.width(), kHalf), body);
    } else {
      p.fillRect(QRect(s.left(), s.top(), s.width(), kHalf), kLight);
    }
    const QRect painted(s.left(), s.top() + kHalf, s.width(), kHalf);
    p.fillRect(painted, kBody);
    for (int b = 0; b < static_cast<int>(shown.reading.bands.size()); ++b) {
      const QRect band = bandRect(i, b);
      p.fillRect(band, bandInk(shown.reading.bands[static_cast<std::size_t>(b)]));
      p.setPen(kEdgeInk);
      p.drawRect(band.adjusted(0, 0, -1, -1));
    }
    p.setPen(kEdgeInk);
    p.drawRect(s.adjusted(0, 0, -1, -1));
    if (chosen && hasFocus()) {
      // The focus dots round the band that Space offers colours for.
      const QRect band = bandRect(i, band_).adjusted(-2, -2, 1, 1);
      for (int x = band.left(); x <= band.right(); x += 2) {
        p.fillRect(QRect(x, band.top(), 1, 1), Qt::black);
        p.fillRect(QRect(x, band.bottom(), 1, 1), Qt::black);
      }
      for (int y = band.top(); y <= band.bottom(); y += 2) {
        p.fillRect(QRect(band.left(), y, 1, 1), Qt::black);
        p.fillRect(QRect(band.right(), y, 1, 1), Qt::black);
      }
    }
    p.setPen(chosen ? kWhite : (shown.valid ? QColor(Qt::black) : QColor(128, 0, 0)));
    p.drawText(words, Qt::AlignLeft | Qt::AlignVCenter, m.elidedText(this->words(i), Qt::ElideRight, words.width()));
  }
}

void PhotoReadingsStrip::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  const QPoint at = e->position().toPoint();
  for (int i = 0; i < count(); ++i) {
    if (!rowRect(i).contains(at)) continue;
    choose(i);
    for (int b = 0; b < static_cast<int>(rows_[static_cast<std::size_t>(i)].reading.bands.size()); ++b) {
      if (bandRect(i, b).contains(at) && e->button() == Qt::LeftButton) {
        band_ = b;
        describe();
        update();
        chooseColour(i, b, bandRect(i, b).bottomLeft());
        return;
      }
    }
    return;
  }
}

void PhotoReadingsStrip::keyPressEvent(QKeyEvent* e) {
  if (chosen_ < 0) return e->ignore();
  const int bands = static_cast<int>(rows_[static_cast<std::size_t>(chosen_)].reading.bands.size());
  switch (e->key()) {
    case Qt::Key_Up: choose(std::max(0, chosen_ - 1)); return;
    case Qt::Key_Down: choose(std::min(count() - 1, chosen_ + 1)); return;
    case Qt::Key_Left: band_ = std::max(0, band_ - 1); break;
    case Qt::Key_Right: band_ = std::min(bands - 1, band_ + 1); break;
    case Qt::Key_Space:
    case Qt::Key_Menu: chooseColour(chosen_, band_, bandRect(chosen_, band_).bottomLeft()); return;
    default: e->ignore(); return;
  }
  describe();
  update();
}

// The twelve colours, the band's own checked; the choice is read again at once.
void PhotoReadingsStrip::chooseColour(int row, int band, QPoint at) {
  const Band now = rows_[static_cast<std::size_t>(row)].reading.bands[static_cast<std::size_t>(band)];
  auto menu = std::make_unique<QMenu>(this);
  menu->setAccessibleName(QStringLiteral("第%1环的颜色").arg(band + 1));
  std::optional<Band> picked;
  for (const BandColour& c : kBandColours) {
    const QString caption = colourName(c.band) + (c.digit ? QStringLiteral("  %1").arg(*c.digit) : QString());
    QAction* a = menu->addAction(swatchIcon(c.band), caption, this, [&picked, b = c.band] { picked = b; });
    a->setCheckable(true);
    a->setChecked(c.band == now);
  }
  {
    // The menu's loop runs no answer from the background: the click's handler ends first.
    const AnswersHeld later;
    menu->exec(mapToGlobal(at));
  }
  if (picked) setBand(row, band, *picked);
}

}  // namespace kalvori::desktop
