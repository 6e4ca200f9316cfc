// One Qt widget per kind of control. Each widget keeps a reference to its control in the model and
// draws from it; it holds no state of its own beyond what Qt needs to draw and take input.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>
#include <functional>

#include "desktop/caption_text.h"
#include "form/control_model.h"

namespace kalvori::desktop {

QColor drawnColour(OleColor colour);
QFont fontFor(const Font& font);

// A caption on the parent's surface, opaque, wrapped inside its width.
class LabelWidget : public QWidget {
 public:
  LabelWidget(const Control& control, const QFont& font, QWidget* parent);
  const QStringList& drawnLines() const { return caption_.lines(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const Control& control_;
  CaptionText caption_;
};

// A one-pixel line that lets clicks through to whatever lies beneath.
class LineWidget : public QWidget {
 public:
  LineWidget(const Control& control, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override;
};

// A frame: its background, an etched border and its caption in the top border.
class FrameWidget : public QWidget {
 public:
  FrameWidget(const Control& control, const QFont& font, QWidget* parent);
  const QStringList& drawnLines() const { return caption_.lines(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const Control& control_;
  CaptionText caption_;
};

// A push button whose caption wraps (several buttons are tall and narrow).
class ButtonWidget : public QAbstractButton {
 public:
  ButtonWidget(const Control& control, const QFont& font, QWidget* parent);
  QSize sizeHint() const override { return size(); }
  const QStringList& drawnLines() const { return caption_.lines(); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Control& control_;
  CaptionText caption_;
};

// An option button drawn from the model's Value. Selection is the model's business: the widget
// is checkable only so that screen readers hear a radio button and whether it is selected, its
// checked state copies the model's Value, and a click never changes it by itself.
class OptionWidget : public QAbstractButton {
 public:
  // `step` moves the selection within the option group: -1 for Up and Left, +1 for Down and Right.
  OptionWidget(const Control& control, const QFont& font, QWidget* parent, std::function<void(int)> step);
  QSize sizeHint() const override { return size(); }
  const QStringList& drawnLines() const { return caption_.lines(); }
  void syncValue();

 protected:
  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent* event) override;
  void nextCheckState() override {}
  // Tab stops at every option button in TabIndex order, not only at the selected one of the group:
  // QAbstractButton's narrowing of an exclusive group's tab stops is left out.
  void focusInEvent(QFocusEvent* event) override { QWidget::focusInEvent(event); }

 private:
  const Control& control_;
  CaptionText caption_;
  std::function<void(int)> step_;
};

// A read-only display box whose text can still be selected and copied.
class DisplayBox : public QLineEdit {
 public:
  DisplayBox(const Control& control, const QFont& font, QWidget* parent);
  void syncColours();

 private:
  const Control& control_;
};

}  // namespace kalvori::desktop
