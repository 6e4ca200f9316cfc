// The baseline for start-up and memory: a bare Qt Widgets window of the real window's size, with as
// many plain widgets as the real window has controls, in the same mix of buttons, line edits and
// labels and with as many of each shown at start (window_census.h, counted from the model when
// this is built). It has the program's style but none of its colours or drawing. It reports its
// first frame as the real window does (see first_frame.h).
//
// Built twice: baseline_window has short Latin captions in the default face; baseline_chinese
// (BASELINE_CHINESE) gives each widget its control's own Chinese caption and font, the face for
// "宋体" found as the program's first choices (AR PL UMing, Noto Serif CJK), so that it draws the
// same text the window draws.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>

#include <iterator>

#include "first_frame.h"
#include "window_census.h"

static_assert(census::kButtons + census::kLineEdits + census::kLabels == census::kControls,
              "every control of the window has a plain widget");
static_assert(std::size(census::kButtonWidgets) == census::kButtons &&
                  std::size(census::kLineEditWidgets) == census::kLineEdits &&
                  std::size(census::kLabelWidgets) == census::kLabels,
              "one caption for each plain widget");

namespace {

constexpr int kWidth = 785, kHeight = 553;  // the real window's control area, in logical pixels
constexpr int kColumns = 12;

// Makes one widget of a kind for each of `widgets`, hides those not shown at start, and lays them
// on a grid of cells that fills the window, from cell `next` on.
template <class W, std::size_t N>
void addWidgets(QWidget* window, [[maybe_unused]] const char* caption, const census::Widget (&widgets)[N], int& next) {
  const int rows = (census::kControls + kColumns - 1) / kColumns;
  const int cellWidth = kWidth / kColumns, cellHeight = kHeight / rows;
  for (std::size_t i = 0; i < N; ++i, ++next) {
#ifdef BASELINE_CHINESE
    auto* w = new W(QString::fromUtf8(widgets[i].caption), window);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(widgets[i].pixelSize);
    font.setBold(widgets[i].bold);
    w->setFont(font);
#else
    auto* w = new W(QStringLiteral("%1 %2").arg(QLatin1String(caption)).arg(i + 1), window);
#endif
    w->setGeometry((next % kColumns) * cellWidth + 1, (next / kColumns) * cellHeight + 1, cellWidth - 2,
                   cellHeight - 2);
    if (!widgets[i].shown) w->hide();
  }
}

}  // namespace

int main(int argc, char** argv) {
  startup::mark("main");
  QApplication app(argc, argv);
  startup::mark("application");
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#ifdef BASELINE_CHINESE
  QFont::insertSubstitutions(QStringLiteral("宋体"),
                             {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")});
#endif
  startup::mark("prepared");
  QWidget window;
  window.setWindowTitle(QStringLiteral("Baseline"));
  window.resize(kWidth, kHeight);
  int next = 0;
  addWidgets<QPushButton>(&window, "Button", census::kButtonWidgets, next);
  addWidgets<QLineEdit>(&window, "Text", census::kLineEditWidgets, next);
  addWidgets<QLabel>(&window, "Label", census::kLabelWidgets, next);
  startup::mark("widgets");
  new startup::FirstFrame(&window, static_cast<std::size_t>(next));
  window.show();
  startup::mark("shown");
  return QApplication::exec();
}
