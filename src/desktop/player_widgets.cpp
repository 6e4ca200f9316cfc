#include "desktop/player_widgets.h"

#include <QStyle>

namespace kalvori::desktop {

namespace {

// Names are bytes; what cannot be read as UTF-8 is shown with replacement marks, and the bytes
// themselves travel with the entry.
QString shown(const std::string& bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }
std::string bytesOf(const QListWidgetItem* item) {
  const QByteArray b = item->data(Qt::UserRole).toByteArray();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}
QListWidgetItem* entry(QListWidget* list, const QIcon& icon, const QString& text, const std::string& bytes) {
  auto* item = new QListWidgetItem(icon, text, list);
  item->setData(Qt::UserRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return item;
}

std::string lastName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return path == "/" || slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DriveList::DriveList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent)
    : QComboBox(parent), form_(form), control_(control), files_(files) {
  fill();
  connect(this, &QComboBox::activated, this, [this](int index) {
    const QByteArray text = itemData(index).toByteArray();
    form_.chooseDrive(control_.name, std::string(text.constData(), static_cast<std::size_t>(text.size())));
  });
}

void DriveList::fill() {
  const QSignalBlocker quiet(this);
  clear();
  for (const Place& p : files_.places())
    addItem(shown(p.text), QByteArray(p.text.data(), static_cast<qsizetype>(p.text.size())));
  refresh();
}

void DriveList::refresh() {
  const QSignalBlocker quiet(this);
  setCurrentIndex(findData(QByteArray(control_.drive.data(), static_cast<qsizetype>(control_.drive.size()))));
}

void DriveList::showPopup() {
  fill();
  QComboBox::showPopup();
}

FolderList::FolderList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent)
    : QListWidget(parent), form_(form), control_(control), files_(files) {
  refresh();
  // A double-click, or Enter, opens the folder.
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { form_.openFolder(control_.name, bytesOf(item)); });
}

void FolderList::refresh() {
  clear();
  const std::vector<std::string> chain = folderChain(control_.path);
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  QString indent;
  QListWidgetItem* current = nullptr;
  for (const std::string& folder : chain) {
    current = entry(this, open, indent + shown(lastName(folder)), folder);
    indent += QStringLiteral("  ");
  }
  const std::string& here = chain.empty() ? control_.path : chain.back();
  for (const std::string& name : files_.subfolders(here))
    entry(this, closed, indent + shown(name), mediaPath(here, name));
  setCurrentItem(current);
}

FileList::FileList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent)
    : QListWidget(parent), form_(form), control_(control), files_(files) {
  refresh();
  connect(this, &QListWidget::itemClicked, this, &FileList::choose);
  connect(this, &QListWidget::itemActivated, this, &FileList::choose);
}

void FileList::choose(QListWidgetItem* item) { form_.chooseFile(control_.name, bytesOf(item)); }

void FileList::refresh() {
  clear();
  for (const std::string& name : files_.files(control_.path, control_.pattern)) entry(this, {}, shown(name), name);
  refreshSelection();
}

void FileList::refreshSelection() {
  if (control_.fileName.empty()) {
    clearSelection();
    setCurrentItem(nullptr);
  }
}

TransportWidget::TransportWidget(MediaDevice* device, QWidget* parent) : QWidget(parent), device_(device) {
  const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause, QStyle::SP_MediaStop};
  const char* names[] = {"播放", "暂停", "停止"};
  for (int i = 0; i < 3; ++i) {
    QToolButton* b = new QToolButton(this);
    b->setIcon(style()->standardIcon(icons[i]));
    b->setIconSize(QSize(24, 24));
    b->setAccessibleName(QString::fromUtf8(names[i]));
    b->setFocusPolicy(Qt::StrongFocus);
    buttons_[static_cast<std::size_t>(i)] = b;
  }
  if (device_) {
    connect(buttons_[0], &QToolButton::clicked, this, [this] { device_->command("play"); });
    connect(buttons_[1], &QToolButton::clicked, this, [this] { device_->pause(); });
    connect(buttons_[2], &QToolButton::clicked, this, [this] { device_->command("stop"); });
    device_->setStateListener([this](MediaDevice::State s) { showState(s); });
  }
  showState(device_ ? device_->state() : MediaDevice::State::Closed);
}

TransportWidget::~TransportWidget() {
  if (device_) device_->setStateListener(nullptr);
}

void TransportWidget::resizeEvent(QResizeEvent*) {
  const int third = width() / 3;
  for (int i = 0; i < 3; ++i) buttons_[static_cast<std::size_t>(i)]->setGeometry(i * third, 0, third, height());
}

void TransportWidget::showState(MediaDevice::State state) {
  using S = MediaDevice::State;
  buttons_[0]->setEnabled(state == S::Stopped || state == S::Paused);
  buttons_[1]->setEnabled(state == S::Playing);
  buttons_[2]->setEnabled(state == S::Playing || state == S::Paused);
}

}  // namespace kalvori::desktop
