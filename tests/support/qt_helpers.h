// Helpers for driving the real window offscreen.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <vector>

namespace kalvori::testing {

struct SeenMessage {
  QString title;
  QString text;
  int buttons = 0;
  QMessageBox::Icon icon = QMessageBox::Information;
  bool modal = false;
};

// While it lives, answers every message box with OK as soon as it is shown, noting what it showed.
// (A test that meets a box nobody answers would wait in the box's modal loop for ever.)
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      seen.push_back({box->windowTitle(), box->text(), static_cast<int>(box->buttons().size()), box->icon(),
                      box->isModal()});
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start(5);
  }
  std::vector<SeenMessage> seen;

 private:
  QTimer timer_;
};

}  // namespace kalvori::testing
