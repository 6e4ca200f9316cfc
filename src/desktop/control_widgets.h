// One Qt widget per kind of control. Each widget keeps a reference to its control in the model and
// draws from it; it holds no state of its own beyond what Qt needs to draw and take input.
//
// What it deliberately does not do: decide anything. A widget forwards user input to the window,
// which hands it to the model; the model's changes come back through ControlView::sync.
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

// What every widget that mirrors a control shares: the control, which it may hold by reference for
// as long as the form lives (the form's controls never move), and how it takes in a change.
class ControlView {
 public:
  explicit ControlView(const Control& control) : control_(control) {}
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  const Control& control() const { return control_; }
  // Takes in a change of the control's property `p`. Visible and the accessible name are the
  // window's business, done before this is called.
  virtual void sync(Property p) = 0;
  // The caption's lines as last drawn; none for a control that draws no caption.
  virtual QStringList drawnLines() const { return {}; }

 protected:
  const Control& control_;
};

// A label or a frame: drawn on its own background with its caption wrapped inside its width; a
// frame adds its etched border with the caption standing in the top border.
class CaptionWidget : public QWidget, public ControlView {
 public:
  CaptionWidget(const Control& control, const QFont& font, QWidget* parent);
  void sync(Property) override { update(); }
  QStringList drawnLines() const override { return caption_.lines(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void paintFrame(QPainter& p);
  CaptionText caption_;
};

// A one-pixel line that lets clicks through to whatever lies beneath.
class LineWidget : public QWidget, public ControlView {
 public:
  LineWidget(const Control& control, QWidget* parent);
  void sync(Property) override {}

 protected:
  void paintEvent(QPaintEvent*) override;
};

// A push button whose caption wraps (several buttons are tall and narrow).
class ButtonWidget : public QAbstractButton, public ControlView {
 public:
  ButtonWidget(const Control& control, const QFont& font, QWidget* parent);
  QSize sizeHint() const override { return size(); }
  void sync(Property) override { update(); }
  QStringList drawnLines() const override { return caption_.lines(); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CaptionText caption_;
};

// An option button drawn from the model's Value. Selection is the model's business: the widget
// is checkable only so that screen readers hear a radio button and whether it is selected, its
// checked state copies the model's Value, and a click never changes it by itself.
class OptionWidget : public QAbstractButton, public ControlView {
 public:
  // `step` moves the selection within the option group: -1 for Up and Left, +1 for Down and Right.
  OptionWidget(const Control& control, const QFont& font, QWidget* parent, std::function<void(int)> step);
  QSize sizeHint() const override { return size(); }
  void sync(Property p) override;
  QStringList drawnLines() const override { return caption_.lines(); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent* event) override;
  void nextCheckState() override {}
  // Tab stops at every option button in TabIndex order, not only at the selected one of the group:
  // QAbstractButton's narrowing of an exclusive group's tab stops is left out.
  void focusInEvent(QFocusEvent* event) override { QWidget::focusInEvent(event); }

 private:
  CaptionText caption_;
  std::function<void(int)> step_;
};

// A read-only display box whose text can still be selected and copied.
class DisplayBox : public QLineEdit, public ControlView {
 public:
  DisplayBox(const Control& control, const QFont& font, QWidget* parent);
  void sync(Property p) override;

 private:
  void syncColours();
};

}  // namespace kalvori::desktop
