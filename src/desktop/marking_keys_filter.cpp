#include "desktop/marking_keys_filter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <memory>

#include "desktop/form_widget.h"
#include "desktop/lookup_line.h"
#include "desktop/camera_view.h"
#include "desktop/photo_view.h"
#include "desktop/toolkit_words.h"
#include "desktop/qt_handoff.h"

namespace kalvori::desktop {

namespace {

// The value row's boxes, whose context menu offers the whole reading.
constexpr const char* kValueBoxes[] = {"k1", "k2", "k3", "k4", "k5"};

// The look-up line's place: from just below the value row to the bottom of the window, across the
// converter, over the unit hints (the answer writes its units itself). Never over the row it explains.
constexpr int kLookupSide = 8;  // as far in from the sides as the converter's outer controls
constexpr int kLookupMinHeight = 48;

// '0'..'9', 'G' or 'S' for the keys of a marking; 0 for any other key.
char markingKey(const QKeyEvent& key) {
  if (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return 0;
  if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9) return static_cast<char>('0' + (key.key() - Qt::Key_0));
  if (key.key() == Qt::Key_G) return 'G';
  if (key.key() == Qt::Key_S) return 'S';
  return 0;
}

}  // namespace

MarkingKeysFilter::MarkingKeysFilter(FormWidget* window)
    : QObject(window), window_(window), keys_(window->form()), reading_(window->form()) {
  // On the application, so that a key is seen before the focused widget takes it (a display box
  // would take Ctrl+C and do nothing with it when no text is selected).
  qApp->installEventFilter(this);
  // A photo dropped anywhere on the window comes here: the window is where a drag over its
  // controls ends up, since none of them takes a drop but the look-up line's input.
  window_->setAcceptDrops(true);
}

MarkingKeysFilter::~MarkingKeysFilter() { qApp->removeEventFilter(this); }

void MarkingKeysFilter::copyReading() const {
  const std::string text = reading_.copied();
  if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

bool MarkingKeysFilter::valueBox(const QWidget* w) const {
  for (const char* name : kValueBoxes)
    if (w == window_->widgetFor(name)) return true;
  return false;
}

bool MarkingKeysFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool drag = type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
  if (type != QEvent::KeyPress && type != QEvent::ContextMenu && !drag) return false;
  auto* receiver = qobject_cast<QWidget*>(watched);
  if (!receiver || (receiver != window_ && !window_->isAncestorOf(receiver))) return false;
  if (QApplication::activeModalWidget() || !keys_.inView()) return false;
  if (drag) return dragged(event);
  if (event->type() == QEvent::KeyPress) return keyPressed(receiver, static_cast<QKeyEvent*>(event));
  if (!valueBox(receiver)) return false;
  valueRowMenu(receiver, static_cast<QContextMenuEvent*>(event));
  return true;
}

PhotoView* MarkingKeysFilter::photoView() {
  if (photo_) return photo_;
  photo_ = new PhotoView(window_, keys_);
  photo_->setCamera([this] { cameraView()->open(); });
  return photo_;
}

// The camera's view lies over the photo view, and the picture it takes opens in the photo view.
CameraView* MarkingKeysFilter::cameraView() {
  if (!camera_) {
    camera_ = new CameraView(window_);
    connect(camera_, &CameraView::taken, this, [this](const QImage& picture) { photoView()->openImage(picture); });
  }
  camera_->raise();
  return camera_;
}

// A drag that carries a photo is taken wherever on the window it ends, the look-up line's input
// included (it would take the file's address as text); any other drag is left to the widgets.
bool MarkingKeysFilter::dragged(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  if (!PhotoView::holdsPhoto(drop->mimeData(), true)) return false;
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (event->type() == QEvent::Drop) photoView()->openFrom(drop->mimeData(), true);
  return true;
}

// The keys that put a photo in, from anywhere in the window; while the photo view is open, every
// other key is its own (nothing is typed onto the buttons under it). Ctrl+V with no photo on the
// clipboard is the look-up line's, unless the photo view has the keyboard.
bool MarkingKeysFilter::photoKey(QWidget* receiver, QKeyEvent* key) {
  const bool inView = photo_ && photo_->holds(receiver);
  if (key->matches(QKeySequence::Open)) {
    photoView()->chooseFile();
    return true;
  }
  if (key->matches(QKeySequence::Paste)) {
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    if (PhotoView::holdsPhoto(clipboard, false)) {
      photoView()->openFrom(clipboard, false);
      return true;
    }
    return inView;
  }
  return false;
}

LookupLine* MarkingKeysFilter::lookupLine() {
  if (lookup_) return lookup_;
  int rowBottom = 0;
  for (const char* name : kValueBoxes) rowBottom = std::max(rowBottom, window_->widgetFor(name)->geometry().bottom());
  const QSize canvas = window_->canvas()->size();
  const int top = std::min(rowBottom + 3, canvas.height() - kLookupMinHeight);
  lookup_ = new LookupLine(window_, keys_, QRect(kLookupSide, top, canvas.width() - 2 * kLookupSide, canvas.height() - top));
  return lookup_;
}

// Every key of the look-up line in one place. Ctrl+F and Ctrl+V open it from anywhere in the window
// (the display boxes take no paste); in the line itself Ctrl+V pastes one line, and Ctrl+C copies
// the answer unless the input holds a selection to copy.
bool MarkingKeysFilter::lookupKey(QWidget* receiver, QKeyEvent* key) {
  const bool inLine = lookup_ && lookup_->holds(receiver);
  if (key->matches(QKeySequence::Find)) {
    lookupLine()->open();
    return true;
  }
  if (key->matches(QKeySequence::Paste)) {
    lookupLine()->paste(QGuiApplication::clipboard()->text());
    return true;
  }
  if (inLine && key->matches(QKeySequence::Copy) && !lookup_->hasSelectedText()) {
    lookup_->copyAnswer();
    return true;
  }
  return false;
}

bool MarkingKeysFilter::keyPressed(QWidget* receiver, QKeyEvent* key) {
  if (camera_ && (receiver == camera_ || camera_->isAncestorOf(receiver))) return false;  // its own keys
  if (photoKey(receiver, key)) return true;
  if (photo_ && photo_->holds(receiver)) return false;  // the photo view's own keys
  if (lookupKey(receiver, key)) return true;
  if (lookup_ && lookup_->holds(receiver)) return false;  // typed into the line, not onto the buttons
  if (key->matches(QKeySequence::Copy)) {
    auto* box = qobject_cast<QLineEdit*>(receiver);
    if (box && box->hasSelectedText()) return false;  // the box copies its selection
    copyReading();
    return true;
  }
  if (key->key() == Qt::Key_Backspace && !(key->modifiers() & ~Qt::KeypadModifier)) {
    keys_.back();
    return true;
  }
  const char typed = markingKey(*key);
  if (!typed) return false;
  if (key->isAutoRepeat()) return true;  // a key held down fills one band, not every band in turn
  // The keyboard carries on from the pressed button: Tab and Space work from there.
  if (const Control* pressed = keys_.type(typed)) window_->widgetFor(pressed->name)->setFocus(Qt::OtherFocusReason);
  return true;
}

// The box's own entries, then looking a value up, reading a photo (from a file or a camera) and the
// whole reading. The look-up line, the file dialog and the camera open once the menu has closed, so
// that the keyboard comes back to them and not to the box.
void MarkingKeysFilter::valueRowMenu(QWidget* box, QContextMenuEvent* event) {
  loadToolkitWords();  // this filter takes the event before the one that would load them
  std::unique_ptr<QMenu> menu(static_cast<QLineEdit*>(box)->createStandardContextMenu());
  menu->addSeparator();
  bool lookingUp = false, readingPhoto = false, photographing = false;
  menu->addAction(QStringLiteral("查数值…"), this, [&lookingUp] { lookingUp = true; });
  menu->addAction(QStringLiteral("读照片…"), this, [&readingPhoto] { readingPhoto = true; });
  menu->addAction(QStringLiteral("用摄像头拍…"), this, [&photographing] { photographing = true; });
  QAction* copy = menu->addAction(QStringLiteral("复制读数"), this, [this] { copyReading(); });
  copy->setEnabled(!reading_.copied().empty());
  {
    // The menu's loop runs no answer from the background: the handler ends first.
    const AnswersHeld later;
    menu->exec(event->globalPos());
  }
  if (lookingUp) lookupLine()->open();
  if (readingPhoto) photoView()->chooseFile();
  if (photographing) cameraView()->open();
}

}  // namespace kalvori::desktop
