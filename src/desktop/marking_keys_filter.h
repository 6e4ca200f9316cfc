// The keyboard's way into the converter beyond Tab and Space: typing a marking (digits, G, S,
// Backspace) presses band buttons as clicks do, and Ctrl+C, or "复制读数" in the value row's context
// menu, copies the reading as one line of text: a value with its unit, or marked unfinished.
// Ctrl+F, or "查数值…" in that menu, opens the look-up line (lookup_line.h), and Ctrl+V opens it
// holding what the clipboard holds; while it has the keyboard, every key is its own but Ctrl+C with
// nothing selected, which copies its answer. A photo opens the photo view (photo_view.h): Ctrl+V
// with an image and no text on the clipboard, or a file copied in a file manager; a file or an
// image dropped anywhere on the window; Ctrl+O, or "读照片…" in that menu, which ask for a file. While
// the photo view is open its keys are its own, but Ctrl+V and Ctrl+O, which put another photo in.
//
// What it deliberately does not do: decide which button a key means or what the reading is (the
// converter's MarkingKeys and ValueReading do), or take a key that it does not use: Tab, the arrows,
// Space and Enter reach the widgets as before, and where a display box holds selected text Ctrl+C
// copies that selection. Nothing is typed or copied while a panel covers the converter or a message
// box is open.
#pragma once

#include <QObject>
#include <QPointer>

#include "converter/marking_keys.h"
#include "converter/value_reading.h"

class QContextMenuEvent;
class QKeyEvent;
class QWidget;

namespace kalvori::desktop {

class FormWidget;
class LookupLine;
class PhotoView;
class CameraView;

class MarkingKeysFilter : public QObject {
 public:
  // Watches the keys of `window`'s widgets and the context menus of its value row; a child of it.
  explicit MarkingKeysFilter(FormWidget* window);
  ~MarkingKeysFilter() override;

  void copyReading() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool keyPressed(QWidget* receiver, QKeyEvent* key);
  bool lookupKey(QWidget* receiver, QKeyEvent* key);
  LookupLine* lookupLine();
  PhotoView* photoView();
  CameraView* cameraView();
  bool photoKey(QWidget* receiver, QKeyEvent* key);
  bool dragged(QEvent* event);
  void valueRowMenu(QWidget* box, QContextMenuEvent* event);
  bool valueBox(const QWidget* w) const;

  FormWidget* window_;
  MarkingKeys keys_;
  ValueReading reading_;
  QPointer<LookupLine> lookup_;  // made the first time it is opened
  QPointer<PhotoView> photo_;    // made the first time a photo comes
  QPointer<CameraView> camera_;  // made the first time a camera is wanted (GStreamer starts then)
};

}  // namespace kalvori::desktop
