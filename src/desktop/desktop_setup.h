// What the program sets up once on the Qt side: the style that draws back colours, the Song face
// for "宋体", and the message box.
#pragma once

#include <string>

class QApplication;
class QWidget;

namespace kalvori::desktop {

void prepareApplication(QApplication& app);
// A modal box with the text, no icon and one OK button, titled with the program's name.
void showMessageBox(QWidget* parent, const std::string& text);

}  // namespace kalvori::desktop
