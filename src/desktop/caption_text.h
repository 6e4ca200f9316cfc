// Captions as the window draws them: wrapped inside the control's width at blanks and between CJK
// characters, runs of blanks kept, one line every em (the pitch of the Song face the window was
// designed with, so that tall narrow labels hold exactly their designed number of lines).
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

namespace kalvori::desktop {

enum class CaptionAlign { TopLeft, Centre, MiddleLeft };

QStringList wrapCaption(const QString& text, const QFont& font, int width);

// A caption as a widget draws it, laid out again only when its text, font or width changes (a
// repaint would otherwise shape every caption anew).
class CaptionText {
 public:
  void draw(QPainter& painter, const QRect& box, const QString& text, const QFont& font, CaptionAlign align,
            const QColor& colour);
  // The lines as last drawn.
  const QStringList& lines() const { return lines_; }

 private:
  QString text_;
  QFont font_;
  int width_ = -1;
  QStringList lines_;
  QList<qreal> widths_;  // each line's width without the blanks that hang at its end
};

}  // namespace kalvori::desktop
