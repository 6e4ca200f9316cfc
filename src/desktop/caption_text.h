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
void drawCaption(QPainter& painter, const QRect& box, const QString& text, const QFont& font, CaptionAlign align,
                 const QColor& colour);

}  // namespace kalvori::desktop
