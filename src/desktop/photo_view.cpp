#include "desktop/photo_view.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QUrl>
#include <algorithm>

#include "converter/marking_keys.h"
#include "converter/mode_presses.h"
#include "converter/modes.h"
#include "desktop/classic_style.h"
#include "desktop/control_widgets.h"
#include "desktop/form_widget.h"
#include "desktop/photo_canvas.h"
#include "desktop/photo_readings_strip.h"
#include "desktop/qt_handoff.h"
#include "desktop/toolkit_words.h"

namespace kalvori::desktop {

namespace {

// Inside the raised edge: from the edge to the first control, and between rows.
constexpr int kMargin = 6;
constexpr int kGap = 4;
constexpr QSize kButton(75, 23);  // the classic dialog button
// Readings closer than this in their share are both likely: the panel says to compare them.
constexpr double kClose = 0.2;

const QString kReading = QStringLiteral("正在读…");

// The first local file among `data`'s, as the bytes of its name (a name that is no UTF-8 keeps its
// bytes: they are taken from the address as it was encoded).
std::optional<std::string> localFile(const QMimeData* data) {
  if (!data->hasUrls()) return std::nullopt;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    return QByteArray::fromPercentEncoding(encoded).toStdString();
  }
  return std::nullopt;
}

// The format of an image's encoded bytes among `data`'s ("image/png"), if any.
QString encodedImage(const QMimeData* data) {
  for (const QString& format : data->formats())
    if (format.startsWith(QStringLiteral("image/"))) return format;
  return {};
}

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PhotoView::PhotoView(FormWidget* window, MarkingKeys& keys, PhotoReader reader)
    : QWidget(window), window_(window), keys_(keys),
      worker_(std::make_unique<PhotoWorker>(QtHandoff::to(this), std::move(reader))) {
  hide();
  setObjectName(QStringLiteral("photoView"));
  setAccessibleName(QStringLiteral("读照片"));
  setAutoFillBackground(false);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, drawnColour(sys::buttonFace));
  palette.setColor(QPalette::Button, drawnColour(sys::buttonFace));
  // The text black while enabled; a disabled button keeps the application's grey caption.
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, drawnColour(sys::buttonText));
    palette.setColor(group, QPalette::ButtonText, drawnColour(sys::buttonText));
  }
  setPalette(palette);

  title_ = new QLabel(QStringLiteral("读照片"), this);
  QFont bold = font();
  bold.setBold(true);
  title_->setFont(bold);
  hint_ = new QLabel(QStringLiteral("滚轮、+ -：缩放　在电阻上拖动：画线　方向键：移动端点　Tab：换端点"), this);
  hint_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  canvas_ = new PhotoCanvas(this);
  canvas_->setObjectName(QStringLiteral("photoCanvas"));
  canvas_->onLineChanged = [this](const BodyLine& line) { read(line); };
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("photoStatus"));
  status_->setTextFormat(Qt::PlainText);  // a reason may quote a file's name
  readings_ = new PhotoReadingsStrip(this);
  readings_->setObjectName(QStringLiteral("photoReadings"));
  readings_->onChanged = [this] { sayReadings(); };

  const auto button = [this](const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  camera_ = button(QStringLiteral("摄像头…"), "photoCamera");
  camera_->hide();
  ok_ = button(QStringLiteral("确定"), "photoOk");
  flip_ = button(QStringLiteral("换方向"), "photoFlip");
  cancel_ = button(QStringLiteral("取消"), "photoCancel");
  ok_->setAccessibleDescription(QStringLiteral("在窗口上显示选中的读数（回车）"));
  flip_->setAccessibleDescription(QStringLiteral("从另一头读（R）"));
  cancel_->setAccessibleDescription(QStringLiteral("关闭，窗口不变（Esc）"));
  connect(ok_, &QPushButton::clicked, this, [this] { showOnWindow(); });
  connect(flip_, &QPushButton::clicked, this, [this] { flip(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { dismiss(); });
  connect(camera_, &QPushButton::clicked, this, [this] {
    if (openCamera_) openCamera_();
  });

  // The panel covers the window as it is sized.
  window_->installEventFilter(this);
  setGeometry(window_->rect());
}

PhotoView::~PhotoView() = default;

bool PhotoView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Resize) setGeometry(window_->rect());
  return false;
}

void PhotoView::setCamera(std::function<void()> open) {
  openCamera_ = std::move(open);
  camera_->setVisible(static_cast<bool>(openCamera_));
}

bool PhotoView::holdsPhoto(const QMimeData* data, bool dropped) {
  if (!data) return false;
  if (localFile(data)) return true;
  if (data->hasImage() && !data->hasText()) return true;
  return dropped && !encodedImage(data).isEmpty();
}

bool PhotoView::openFrom(const QMimeData* data, bool dropped) {
  if (!holdsPhoto(data, dropped)) return false;
  if (const auto file = localFile(data)) {
    openFile(*file);
  } else if (data->hasImage()) {
    openImage(qvariant_cast<QImage>(data->imageData()));
  } else {
    begin();
    worker_->openBytes(data->data(encodedImage(data)), [this](const OpenedPhoto& o) { opened(o); });
  }
  return true;
}

void PhotoView::chooseFile() {
  loadToolkitWords();  // the dialog's own buttons and columns in Chinese too
  QString chosen;
  {
    // The dialog's loop runs no answer from the background: the key's handler ends first.
    const AnswersHeld later;
    chosen = QFileDialog::getOpenFileName(window_, QStringLiteral("读照片"), QString(),
                                          QStringLiteral("照片 (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG);;所有文件 (*)"));
  }
  if (!chosen.isEmpty()) openFile(QFile::encodeName(chosen).toStdString());
}

void PhotoView::openFile(const std::string& path) {
  begin();
  worker_->openFile(path, [this](const OpenedPhoto& o) { opened(o); });
}

void PhotoView::openImage(const QImage& image) {
  begin();
  worker_->openImage(image, [this](const OpenedPhoto& o) { opened(o); });
}

// Open, empty, saying that it reads, with the keyboard on the photo.
void PhotoView::begin() {
  if (!isVisible()) {
    QWidget* had = QApplication::focusWidget();
    returnTo_ = had && window_->isAncestorOf(had) && !holds(had) ? had : nullptr;
    setGeometry(window_->rect());
    raise();
    show();
  }
  photo_.reset();
  canvas_->clear();
  readings_->clear();
  say(kReading);
  canvas_->setFocus(Qt::OtherFocusReason);
}

void PhotoView::opened(const OpenedPhoto& o) {
  if (!o.photo) return say(text(o.why));
  photo_ = o.photo;
  canvas_->setPhoto(o.shown, o.preview);
  read(std::nullopt);
}

void PhotoView::read(std::optional<BodyLine> line) {
  if (!photo_) return;
  say(kReading);
  worker_->read(
      photo_, line, [this](std::optional<BodyLine> proposed) { canvas_->setLine(proposed); },
      [this](const ReadPhoto& r) { answered(r); });
}

void PhotoView::answered(const ReadPhoto& r) {
  if (!canvas_->line() && r.answer.lineProposed && !r.answer.readings.empty()) canvas_->setLine(r.answer.line);
  readings_->setReadings(r.answer, r.strip, worker_->reader().evaluate);
  if (r.answer.readings.empty()) {
    // Without a line of the user's, the way on is to draw one.
    const QString why = r.answer.why.empty() ? QStringLiteral("读不出色环") : text(r.answer.why);
    say(r.answer.lineProposed ? why + QStringLiteral("：请在照片上沿电阻身拖出一条线") : why);
  }
}

void PhotoView::say(const QString& words) {
  // With no reading to choose, Enter and the turn have nothing to work on; the list says why.
  const bool any = readings_->count() > 0;
  ok_->setEnabled(any);
  flip_->setEnabled(any);
  if (!any) readings_->setEmptyText(words);
  said_ = words;
  showStatus();
  status_->setAccessibleName(words);
  // Heard where the keyboard is, as the look-up line's answer is.
  canvas_->setAccessibleName(QStringLiteral("照片：") + words);
}

QString PhotoView::status() const { return said_; }

// The status line as far as it has room, the whole of it in its tooltip; empty while the list says
// it, once, where a reading would stand.
void PhotoView::showStatus() {
  const QString shown = readings_->count() > 0 ? said_ : QString();
  status_->setText(status_->fontMetrics().elidedText(shown, Qt::ElideRight, status_->width()));
  status_->setToolTip(status_->text() == shown ? QString() : shown);
}

// What the chosen reading is, and whether another is about as likely.
void PhotoView::sayReadings() {
  const ShownReading* chosen = readings_->chosenReading();
  if (!chosen) return;
  const int n = readings_->count();
  const bool close = n > 1 && !readings_->row(0).edited && !readings_->row(1).edited &&
                     readings_->row(0).reading.score - readings_->row(1).reading.score < kClose;
  // The chosen row stands out in the list; the line says what to do, and a screen reader hears the
  // chosen reading in the list's description.
  say(close ? QStringLiteral("有两种读法差不多：请对照照片选一种（1、2、3），回车在窗口上显示")
            : QStringLiteral("第%1种读法：%2　回车在窗口上显示").arg(readings_->chosen() + 1).arg(readings_->words(readings_->chosen())));
}

void PhotoView::flip() { readings_->flipChosen(); }

void PhotoView::dismiss() {
  if (!isVisible()) return;
  worker_->forget();
  // The keyboard goes back before the panel hides, so that Qt does not pass it on meanwhile.
  if (returnTo_ && returnTo_->isVisible()) returnTo_->setFocus(Qt::OtherFocusReason);
  else if (QWidget* f = QApplication::focusWidget(); f && holds(f)) f->clearFocus();
  hide();
  photo_.reset();
  canvas_->clear();
  readings_->clear();
}

// Chooses the mode and types the reading's keys, as the user would, then hands the keyboard to the
// last button pressed. A reading no mode's buttons can show presses nothing, and the panel says so.
void PhotoView::showOnWindow() {
  const ShownReading* r = readings_->chosenReading();
  if (!r) return;
  if (!r->valid) return say(QStringLiteral("这些颜色不是电阻的色环，不能在窗口上显示"));
  const Quantity q{r->reading.ohms, Family::Resistance, r->reading.tolerance, Written::Colours};
  std::string option;
  std::optional<std::string> keys;
  if (r->reading.bands.size() <= 4 && (keys = keysFor(q, kFourBand))) option = kFourBand;
  else if ((keys = keysFor(q, kFiveBand))) option = kFiveBand;
  if (!keys) {
    const QString tolerance = r->reading.tolerance ? text(toleranceText(*r->reading.tolerance)) : QString();
    return say(QStringLiteral("窗口的四环、五环按钮都显示不了 %1 %2").arg(text(valueText(q.value, q.family)), tolerance).trimmed());
  }
  if (!keys_.inView()) return;
  dismiss();
  window_->form().click(option);
  QWidget* last = window_->widgetFor(option);
  for (char key : *keys) {
    const Control* pressed = keys_.type(key);
    if (!pressed) break;  // the keys after it would land in the wrong band
    last = window_->widgetFor(pressed->name);
  }
  last->setFocus(Qt::OtherFocusReason);
}

// Every key that reaches the panel is its own: none goes on to the window under it.
void PhotoView::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return;
  switch (event->key()) {
    case Qt::Key_Escape: return dismiss();
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // On a button, Enter presses that button, as in a classic dialog.
      if (auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget()); b && holds(b)) return b->click();
      return showOnWindow();
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3: return readings_->choose(event->key() - Qt::Key_1);
    case Qt::Key_Up: return readings_->choose(std::max(0, readings_->chosen() - 1));
    case Qt::Key_Down: return readings_->choose(std::min(readings_->count() - 1, readings_->chosen() + 1));
    case Qt::Key_R: return flip();
    default: return;
  }
}

// Tab goes round the panel's own controls: the window's lie under it.
bool PhotoView::focusNextPrevChild(bool next) {
  std::vector<QWidget*> order;
  for (QWidget* w : {static_cast<QWidget*>(canvas_), static_cast<QWidget*>(readings_), static_cast<QWidget*>(camera_),
                     static_cast<QWidget*>(ok_), static_cast<QWidget*>(flip_), static_cast<QWidget*>(cancel_)})
    if (w->isVisible() && w->isEnabled()) order.push_back(w);
  if (order.empty()) return false;
  const auto at = std::find(order.begin(), order.end(), QApplication::focusWidget());
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(order.size());
  std::ptrdiff_t i = at == order.end() ? (next ? -1 : 0) : at - order.begin();
  i = ((i + (next ? 1 : -1)) % n + n) % n;
  order[static_cast<std::size_t>(i)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void PhotoView::paintEvent(QPaintEvent*) {
  paintRaisedPanel(this);
}

// The title and the hint in the first row; the photo takes what the rows under it leave: the
// status line, the three readings, the buttons at the bottom right (the camera's at the left).
void PhotoView::resizeEvent(QResizeEvent*) {
  const int left = kMargin, right = width() - kMargin;
  const int rowHeight = QFontMetrics(font()).height() + 4;
  title_->setGeometry(left, kMargin, title_->sizeHint().width(), rowHeight);
  const int hintLeft = left + title_->sizeHint().width() + 3 * kGap;
  hint_->setGeometry(hintLeft, kMargin, right - hintLeft, rowHeight);
  hint_->setVisible(hint_->sizeHint().width() <= right - hintLeft);

  const int buttonsTop = height() - kMargin - kButton.height();
  int x = right;
  for (QPushButton* b : {cancel_, flip_, ok_}) {
    x -= kButton.width();
    b->setGeometry(x, buttonsTop, kButton.width(), kButton.height());
    x -= kGap + 2;
  }
  camera_->setGeometry(left, buttonsTop, kButton.width(), kButton.height());
  const int readingsHeight = PhotoReadingsStrip::heightFor(3);
  const int readingsTop = buttonsTop - kGap - readingsHeight;
  readings_->setGeometry(left, readingsTop, right - left, readingsHeight);
  const int statusTop = readingsTop - kGap / 2 - rowHeight;
  status_->setGeometry(left, statusTop, right - left, rowHeight);
  showStatus();
  const int canvasTop = kMargin + rowHeight + kGap / 2;
  canvas_->setGeometry(left, canvasTop, right - left, std::max(0, statusTop - kGap / 2 - canvasTop));
}

}  // namespace kalvori::desktop
