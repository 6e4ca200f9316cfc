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

void drawCaption(QPainter& painter, const QRect& box, const QString& text, const QFont& font, CaptionAlign align,
                 const QColor& colour) {
  const QStringList lines = wrapCaption(text, font, box.width());
  if (lines.isEmpty()) return;
  const int pitch = linePitch(font);
  // The Song face sits its baseline at 0.86 em below the top of its line.
  const int baseline = qRound(pitch * 0.86);
  const int blockHeight = pitch * static_cast<int>(lines.size());
  int top = box.top();
  if (align != CaptionAlign::TopLeft) top += (box.height() - blockHeight) / 2;

  const QFontMetricsF metrics(font);
  painter.save();
  painter.setFont(font);
  painter.setPen(colour);
  painter.setClipRect(box, Qt::IntersectClip);
  for (int i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    qreal x = box.left();
    if (align == CaptionAlign::Centre) {
      // Centre on the line's ink, without the blanks that hang at the end of a wrapped line.
      QString shown = line;
      while (shown.endsWith(u' ')) shown.chop(1);
      x += (box.width() - metrics.horizontalAdvance(shown)) / 2;
    }
    painter.drawText(QPointF(x, top + i * pitch + baseline), line);
  }
  painter.restore();
}

}  // namespace kalvori::desktop
