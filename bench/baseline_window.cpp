// The baseline for start-up and memory: a bare Qt Widgets window of the real window's size, with as
// many plain widgets as the real window has controls, in the same mix of buttons, line edits and
// labels and with as many of each shown at start (window_census.h, counted from the model when
// this is built). It has the program's style but none of its fonts, colours or drawing. It reports
// its first frame as the real window does (see first_frame.h).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>

#include "first_frame.h"
#include "window_census.h"

static_assert(census::kButtons + census::kLineEdits + census::kLabels == census::kControls,
              "every control of the window has a plain widget");

namespace {

constexpr int kWidth = 785, kHeight = 553;  // the real window's control area, in logical pixels
constexpr int kColumns = 12;

// Makes `count` widgets of one kind, hides those past the first `shown`, and lays them on a grid
// of cells that fills the window, from cell `next` on.
template <class W>
void addWidgets(QWidget* window, const char* caption, int count, int shown, int& next) {
  const int rows = (census::kControls + kColumns - 1) / kColumns;
  const int cellWidth = kWidth / kColumns, cellHeight = kHeight / rows;
  for (int i = 0; i < count; ++i, ++next) {
    auto* w = new W(QStringLiteral("%1 %2").arg(QLatin1String(caption)).arg(i + 1), window);
    w->setGeometry((next % kColumns) * cellWidth + 1, (next / kColumns) * cellHeight + 1, cellWidth - 2,
                   cellHeight - 2);
    if (i >= shown) w->hide();
  }
}

}  // namespace

int main(int argc, char** argv) {
  startup::mark("main");
  QApplication app(argc, argv);
  startup::mark("application");
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  startup::mark("prepared");
  QWidget window;
  window.setWindowTitle(QStringLiteral("Baseline"));
  window.resize(kWidth, kHeight);
  int next = 0;
  addWidgets<QPushButton>(&window, "Button", census::kButtons, census::kShownButtons, next);
  addWidgets<QLineEdit>(&window, "Text", census::kLineEdits, census::kShownLineEdits, next);
  addWidgets<QLabel>(&window, "Label", census::kLabels, census::kShownLabels, next);
  startup::mark("widgets");
  new startup::FirstFrame(&window, static_cast<std::size_t>(next));
  window.show();
  startup::mark("shown");
  return QApplication::exec();
}
