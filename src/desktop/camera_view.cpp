#include "desktop/camera_view.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOption>
#include <QTimer>
#include <QVBoxLayout>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "desktop/classic_style.h"
#include "desktop/control_widgets.h"
#include "desktop/qt_handoff.h"
#include "photo_file/photo_file.h"
#include "player/background_worker.h"

namespace kalvori::desktop {

namespace {

// The window's nine-point Song face, as on the band buttons and in the look-up line.
const Font kTextFont{900, false};
constexpr int kMargin = 6;
// A camera that has shown nothing this long after it was opened is said to be silent (it may
// still start: the message goes with the first picture).
constexpr int kSilentMs = 8000;

}  // namespace

// The live picture, scaled to fit and centred on black inside a sunken edge; without one, a line
// saying why.
class CameraPicture : public QWidget {
 public:
  explicit CameraPicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 90);
    setFont(fontFor(kTextFont));
  }
  void show(const QImage& image) {
    image_ = image;
    if (!message_.isEmpty()) {
      message_.clear();
      setAccessibleName(QStringLiteral("摄像头画面"));
    }
    update();
  }
  // Screen readers hear the line as the picture's name, as the picture's place holds it.
  void say(const QString& message) {
    image_ = {};
    message_ = message;
    setAccessibleName(message);
    update();
  }
  const QString& message() const { return message_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    option.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, this);
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    painter.fillRect(inside, Qt::black);
    if (!image_.isNull()) {
      const QSize fitted = image_.size().scaled(inside.size(), Qt::KeepAspectRatio);
      QRect target(QPoint(), fitted);
      target.moveCenter(inside.center());
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(target, image_);
    } else {
      painter.setPen(Qt::white);
      painter.drawText(inside.adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::AlignCenter | Qt::TextWordWrap,
                       message_);
    }
  }

 private:
  QImage image_;
  QString message_;
};

// The newest picture of the camera started last, handed from its streaming thread to the UI
// thread: a newer one replaces it, and while one call to show it is queued, no other is.
struct CameraView::Latest {
  std::mutex mutex;
  std::optional<RgbImage> frame;
  unsigned run = 0;
  bool queued = false;
};

CameraView::CameraView(QWidget* parent, FindCameras find)
    : QWidget(parent), find_(std::move(find)), latest_(std::make_shared<Latest>()) {
  hide();
  setGeometry(parent->rect());
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("摄像头"));
  if (!find_) find_ = [](auto answer) { findCameras(std::move(answer), startThread); };
  handoff_ = QtHandoff::to(this);

  // A classic panel in the button face, black text, as the look-up line is.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, drawnColour(sys::buttonFace));
  palette.setColor(QPalette::Button, drawnColour(sys::buttonFace));
  palette.setColor(QPalette::WindowText, drawnColour(sys::buttonText));
  palette.setColor(QPalette::ButtonText, drawnColour(sys::buttonText));
  palette.setColor(QPalette::Base, drawnColour(sys::window));
  palette.setColor(QPalette::Text, drawnColour(sys::windowText));
  // What cannot be used yet ("拍照" before the first picture) is greyed, as everywhere else.
  const QPalette standard = style()->standardPalette();
  for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
    palette.setColor(QPalette::Disabled, role, standard.color(QPalette::Disabled, role));
  setPalette(palette);

  auto* title = new QLabel(QStringLiteral("摄像头："), this);
  chooser_ = new QComboBox(this);
  chooser_->setObjectName(QStringLiteral("cameraChooser"));
  chooser_->setFont(fontFor(kTextFont));
  chooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  chooser_->setAccessibleName(QStringLiteral("摄像头"));
  title->setBuddy(chooser_);
  pictureArea_ = new CameraPicture(this);
  pictureArea_->setObjectName(QStringLiteral("cameraPicture"));
  hint_ = new QLabel(QStringLiteral("空格：拍照　Esc：取消"), this);
  take_ = new QPushButton(QStringLiteral("拍照"), this);
  take_->setObjectName(QStringLiteral("cameraTake"));
  cancel_ = new QPushButton(QStringLiteral("取消"), this);
  cancel_->setObjectName(QStringLiteral("cameraCancel"));
  for (QPushButton* b : {take_, cancel_}) b->setMinimumWidth(75);

  auto* top = new QHBoxLayout;
  top->addWidget(title);
  top->addWidget(chooser_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(hint_, 1);
  bottom->addWidget(take_);
  bottom->addWidget(cancel_);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(kMargin + 2, kMargin + 2, kMargin + 2, kMargin + 2);  // inside the raised edge
  rows->setSpacing(kMargin);
  rows->addLayout(top);
  rows->addWidget(pictureArea_, 1);
  rows->addLayout(bottom);

  connect(take_, &QPushButton::clicked, this, &CameraView::takePicture);
  connect(cancel_, &QPushButton::clicked, this, &CameraView::dismiss);
  connect(chooser_, &QComboBox::activated, this, &CameraView::startCamera);
  // Space and Esc are the view's wherever its keyboard is: Space would otherwise open the chooser
  // or press the focused button.
  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this, this, &CameraView::takePicture);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &CameraView::dismiss);
  for (QShortcut* s : {space, escape}) s->setContext(Qt::WidgetWithChildrenShortcut);
}

CameraView::~CameraView() = default;  // the source stops as it goes, waiting for nothing

void CameraView::open() {
  if (parentWidget()) setGeometry(parentWidget()->rect());
  if (!isVisible()) {
    QWidget* had = QApplication::focusWidget();
    returnTo_ = had && !isAncestorOf(had) ? had : nullptr;
  }
  raise();
  show();
  setFocus(Qt::ShortcutFocusReason);
  if (source_) return;  // open already, the camera running
  chooser_->clear();
  chooser_->setEnabled(false);
  cameras_.clear();
  frame_ = {};
  take_->setEnabled(false);
  showMessage(QStringLiteral("正在找摄像头…"));
  const unsigned search = ++search_;
  find_([handoff = handoff_, search, this](std::vector<Camera> cameras) {
    // The handoff drops this once the view has gone.
    handoff->post([this, search, cameras = std::move(cameras)]() mutable { camerasFound(search, std::move(cameras)); });
  });
}

void CameraView::camerasFound(unsigned search, std::vector<Camera> cameras) {
  if (search != search_ || !isVisible()) return;  // an older search, or the view closed meanwhile
  cameras_ = std::move(cameras);
  if (cameras_.empty()) {
    showMessage(QStringLiteral("没有找到摄像头"));
    return;
  }
  // Two cameras of one make share a name: their files tell them apart.
  std::map<std::string, int> named;
  for (const Camera& c : cameras_) ++named[c.name];
  for (const Camera& c : cameras_) {
    QString shown = QString::fromStdString(c.name);
    if (named[c.name] > 1 && !c.path.empty()) shown += QStringLiteral("（%1）").arg(QString::fromStdString(c.path));
    chooser_->addItem(shown);
  }
  chooser_->setEnabled(true);
  startCamera(0);
}

void CameraView::startCamera(int index) {
  stopCamera();
  if (index < 0 || static_cast<std::size_t>(index) >= cameras_.size()) return;
  const unsigned run = ++run_;
  showMessage(QStringLiteral("正在打开摄像头…"));
  std::weak_ptr<Latest> latest = latest_;
  std::shared_ptr<QtHandoff> handoff = handoff_;
  source_ = std::make_unique<CameraSource>(
      cameras_[static_cast<std::size_t>(index)],
      [latest, handoff, run, this](RgbImage frame) {
        const auto l = latest.lock();
        if (!l) return;
        const std::lock_guard lock(l->mutex);
        l->frame = std::move(frame);
        l->run = run;
        if (!std::exchange(l->queued, true)) handoff->post([this] { showLatest(); });
      },
      [handoff, run, this](const std::string& line) {
        handoff->post([this, run, line = QString::fromStdString(line)] {
          if (run == run_ && source_) showMessage(line);
        });
      },
      startThread);
  source_->start();
  QTimer::singleShot(kSilentMs, this, [this, run] {
    if (run == run_ && source_ && frame_.isNull() && pictureArea_->message() == QStringLiteral("正在打开摄像头…"))
      showMessage(QStringLiteral("摄像头没有送来画面"));
  });
}

void CameraView::stopCamera() {
  source_.reset();  // from here on no picture of it is handed over
  ++run_;
  const std::lock_guard lock(latest_->mutex);
  latest_->frame.reset();
}

void CameraView::showLatest() {
  std::optional<RgbImage> frame;
  {
    const std::lock_guard lock(latest_->mutex);
    latest_->queued = false;
    if (latest_->run == run_) frame = std::move(latest_->frame);
    latest_->frame.reset();
  }
  if (!frame || !source_) return;
  frame_ = imageFromPhoto(*frame);
  pictureArea_->show(frame_);
  take_->setEnabled(true);
}

void CameraView::showMessage(const QString& message) {
  frame_ = {};
  take_->setEnabled(false);
  pictureArea_->say(message);
}

void CameraView::takePicture() {
  if (!isVisible() || frame_.isNull()) return;
  const QImage photo = frame_;
  dismiss();
  emit taken(photo);
}

void CameraView::dismiss() {
  stopCamera();
  ++search_;  // a search still under way answers no one
  if (!isVisible()) return;
  if (returnTo_ && returnTo_->isVisible()) returnTo_->setFocus(Qt::OtherFocusReason);
  hide();
}

void CameraView::paintEvent(QPaintEvent*) {
  paintRaisedPanel(this);
}

// The view's keys are its own: nothing typed here reaches the window beneath.
void CameraView::keyPressEvent(QKeyEvent* event) { event->accept(); }

}  // namespace kalvori::desktop
