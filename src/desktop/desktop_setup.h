// What the program sets up once on the Qt side: the classic style (classic_style.h), the Song face
// for "宋体" (or, failing that, any face for Chinese), the roles screen readers hear, the toolkit's
// own words (toolkit_words.h), the window icon, and the message box.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

class QApplication;
class QWidget;

namespace kalvori::desktop {

// Everything the first frame needs; then what can wait until it is on the screen.
void prepareApplication(QApplication& app);
void finishApplicationSetup();

// The faces that stand for "宋体", best first, given the families installed that can write
// Simplified Chinese: the Song faces the window was laid out with, then every other installed face
// for Chinese, the Song-style ones (Song or Sung, Ming, Serif) before the others.
QStringList songSubstitutes(const QStringList& chineseFamilies);
// What to say on standard error when no installed face can write Chinese; empty when one can.
QString missingChineseFontNotice(const QStringList& chineseFamilies);
// A modal box with the text, no icon and one OK button, titled with the program's name. Answers
// from the background that come while it is up wait until it has gone (qt_handoff.h).
void showMessageBox(QWidget* parent, const std::string& text);

}  // namespace kalvori::desktop
