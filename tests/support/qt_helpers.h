// Helpers for driving the real window offscreen.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>

namespace kalvori::testing {

struct SeenMessage {
  QString title;
  QString text;
  int buttons = 0;
  QMessageBox::Icon icon = QMessageBox::Information;
  bool modal = false;
};

// Answers the next message box with OK as soon as it is shown, noting what it showed.
inline void answerNextMessageBox(SeenMessage& seen, int triesLeft = 400) {
  QTimer::singleShot(5, [&seen, triesLeft] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      if (triesLeft > 0) answerNextMessageBox(seen, triesLeft - 1);
      return;
    }
    seen = {box->windowTitle(), box->text(), static_cast<int>(box->buttons().size()), box->icon(), box->isModal()};
    box->button(QMessageBox::Ok)->click();
  });
}

}  // namespace kalvori::testing
