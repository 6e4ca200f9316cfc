#include "desktop/caption_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace kalvori::desktop {

namespace {

int linePitch(const QFont& font) { return font.pixelSize() > 0 ? font.pixelSize() : QFontMetricsF(font).height(); }

}  // namespace

QStringList wrapCaption(const QString& text, const QFont& font, int width) {
  QStringList lines;
  if (text.isEmpty()) return lines;
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength());
  }
  layout.endLayout();
  return lines;
}

void CaptionText::draw(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
                       CaptionAlign align, const QColor& colour) {
  if (text != text_ || font != font_ || box.width() != width_) {
    text_ = text;
    font_ = font;
    width_ = box.width();
    lines_ = wrapCaption(text, font, box.width());
    widths_.clear();
    const QFontMetricsF metrics(font);
    for (QString line : lines_) {
      while (line.endsWith(u' ')) line.chop(1);
      widths_ << metrics.horizontalAdvance(line);
    }
  }
  if (lines_.isEmpty()) return;
  const int pitch = linePitch(font);
  // The Song face sits its baseline at 0.86 em below the top of its line.
  const int baseline = qRound(pitch * 0.86);
  const int blockHeight = pitch * static_cast<int>(lines_.size());
  int top = box.top();
  if (align != CaptionAlign::TopLeft) top += (box.height() - blockHeight) / 2;

  painter.save();
  painter.setFont(font);
  painter.setPen(colour);
  painter.setClipRect(box, Qt::IntersectClip);
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    // Centred lines are centred on their ink, without the blanks that hang at a wrapped line's end.
    const qreal x = box.left() + (align == CaptionAlign::Centre ? (box.width() - widths_[i]) / 2 : 0);
    painter.drawText(QPointF(x, top + static_cast<int>(i) * pitch + baseline), lines_[i]);
  }
  painter.restore();
}

}  // namespace kalvori::desktop
