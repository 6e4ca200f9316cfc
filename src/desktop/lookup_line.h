// The look-up line: a one-line input with the answer under it and, at the right, a picture of the
// marking, laid over the lower part of the converter, just below the value row it explains. The
// input holds no more than the reader reads. The answer follows every keystroke; Enter shows
// what was typed on the window by choosing the mode and pressing its buttons, as clicks and typed
// digits do; Esc closes it and puts the keyboard back where it was.
//
// What it deliberately does not do: read the text (the converter's lookUp does), write a property of
// the window (every press goes through Form::click and MarkingKeys), or decide which keys reach it
// (the window's key filter does, in one place). It is made the first time it is asked for, so
// starting the program pays nothing for it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "converter/lookup.h"

class QLabel;
class QLineEdit;

namespace kalvori {
class MarkingKeys;
}

namespace kalvori::desktop {

class FormWidget;
class MarkingPictureView;

class LookupLine : public QWidget {
 public:
  // Lies on the window's canvas over `area` (logical pixels of the canvas), hidden until opened;
  // `keys` types the marking and must outlive it.
  LookupLine(FormWidget* window, MarkingKeys& keys, const QRect& area);
  ~LookupLine() override;

  // Opens it (or, open already, brings the keyboard back to it) with what it held selected, so that
  // typing starts afresh.
  void open();
  // Opens it holding `text` (its first line, trimmed and shortened), or, when the input has the
  // keyboard already, puts `text` in at the text cursor as a paste would.
  void paste(const QString& text);
  // Closes it and gives the keyboard back to the widget that had it before it opened.
  void dismiss();
  void copyAnswer() const;

  // `w` is the line or lies in it: its keys are the line's own.
  bool holds(const QWidget* w) const { return w == this || isAncestorOf(w); }
  bool hasSelectedText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void answerFor(const QString& text);
  QString shownAnswer() const;
  void layOutAnswer();
  void showAnswer();
  void showOnWindow();
  std::string currentMode() const;

  FormWidget* window_;
  MarkingKeys& keys_;
  QLabel* title_;
  QLineEdit* input_;
  QLabel* hint_;
  QLabel* answerLabel_;
  MarkingPictureView* picture_;  // beside the answer, when it has a marking to draw
  QRect answerRow_;              // where the answer and its picture lie
  QString answer_;         // the whole answer, however much of it the label has room for
  LookupPresses presses_;  // what Enter does; no option: nothing
  QPointer<QWidget> returnTo_;  // had the keyboard before the line opened
};

}  // namespace kalvori::desktop
