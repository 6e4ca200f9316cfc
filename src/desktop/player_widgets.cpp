#include "desktop/player_widgets.h"

#include <QKeyEvent>
#include <QStyle>
#include <algorithm>


namespace kalvori::desktop {

namespace {

// How many names go into a list at a time between two turns of the event loop.
constexpr std::size_t kSlice = 2000;

// Names are bytes; what cannot be read as UTF-8 is shown with replacement marks, and control
// characters and line breaks (a newline can be part of a name) as visible symbols, so that every
// entry keeps to one line. The bytes themselves travel with the entry.
QString shown(std::string_view bytes) {
  QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  for (QChar& c : text) {
    if (c.unicode() < 0x20) {
      c = QChar(0x2400 + c.unicode());  // U+2400 CONTROL PICTURES: ␀ .. ␟
    } else if (c.unicode() == 0x7f) {
      c = QChar(0x2421);  // ␡
    } else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
      c = QChar(QChar::ReplacementCharacter);
    }
  }
  return text;
}
QByteArray bytesData(std::string_view bytes) { return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())); }
std::string bytesOf(const QListWidgetItem* item) {
  const QByteArray b = item->data(Qt::UserRole).toByteArray();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}
QListWidgetItem* entry(QListWidget* list, const QIcon& icon, const QString& text, const std::string& bytes) {
  auto* item = new QListWidgetItem(icon, text, list);
  item->setData(Qt::UserRole, bytesData(bytes));
  return item;
}
// Appends names [first, last) to the list in one insertion (one at a time costs time in
// proportion to what the list already holds), each shown as `text(name)` and carrying `data(name)`.
template <class Text, class Data>
void appendEntries(QListWidget* list, const QIcon& icon, const NameList& names, std::size_t first,
                   std::size_t last, Text text, Data data) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(last - first));
  for (std::size_t i = first; i < last; ++i) texts << text(names[i]);
  const int row = list->count();
  list->addItems(texts);
  for (std::size_t i = first; i < last; ++i) {
    QListWidgetItem* item = list->item(row + static_cast<int>(i - first));
    if (!icon.isNull()) item->setIcon(icon);
    item->setData(Qt::UserRole, bytesData(data(names[i])));
  }
}
// Huge lists are laid out a batch at a time from the event loop; a usual folder fits one batch.
void layOutInBatches(QListWidget* list) {
  list->setLayoutMode(QListView::Batched);
  list->setBatchSize(1000);
}

std::string lastName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return path == "/" || slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DriveList::DriveList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent)
    : QComboBox(parent), ControlView(control), form_(form), files_(files) {
  connect(this, &QComboBox::activated, this, [this](int index) {
    const QByteArray text = itemData(index).toByteArray();
    form_.chooseDrive(control_.name, std::string(text.constData(), static_cast<std::size_t>(text.size())));
  });
}

void DriveList::showEvent(QShowEvent* event) {
  if (!filled_) fill();
  QComboBox::showEvent(event);
}

void DriveList::fill() {
  filled_ = true;
  const QSignalBlocker quiet(this);
  clear();
  for (const Place& p : files_.places())
    addItem(shown(p.text), QByteArray(p.text.data(), static_cast<qsizetype>(p.text.size())));
  refresh();
}

void DriveList::sync(Property p) {
  if (p == Property::Drive) refresh();
}

void DriveList::refresh() {
  const QSignalBlocker quiet(this);
  setCurrentIndex(findData(QByteArray(control_.drive.data(), static_cast<qsizetype>(control_.drive.size()))));
}

void DriveList::showPopup() {
  fill();
  QComboBox::showPopup();
}

ListFiller::ListFiller() {
  QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
}

void ListFiller::start(std::shared_ptr<FolderReader::Request> reading, Names which, Adder add) {
  timer_.stop();
  next_ = 0;
  which_ = which;
  add_ = std::move(add);
  current_ = std::move(reading);
  if (current_->done) {
    step();
  } else {
    current_->waiting.push_back([filler = std::weak_ptr<ListFiller*>(self_), awaited = current_.get()] {
      if (const auto f = filler.lock(); f && (*f)->current_.get() == awaited) (*f)->step();
    });
  }
}

// Adds the next slice of the current reading.
void ListFiller::step() {
  if (!current_ || !current_->done) return;
  const NameList& names = (*current_->names).*which_;
  const std::size_t last = std::min(names.size(), next_ + kSlice);
  if (next_ < last) add_(names, next_, last);
  next_ = last;
  if (next_ < names.size()) {
    timer_.start(0);
  } else {
    timer_.stop();
    current_.reset();
  }
}

FolderContents::FolderContents(Form& form, const Control& control, FolderReader& reader, QWidget* parent)
    : QListWidget(parent), ControlView(control), form_(form), reader_(reader) {
  layOutInBatches(this);
}

void FolderContents::sync(Property p) {
  if (p == Property::Path) refresh();
}

void FolderContents::refresh() {
  stale_ = true;
  if (isVisible()) {
    stale_ = false;
    fill();
  }
}

void FolderContents::showEvent(QShowEvent* event) {
  if (stale_) {
    stale_ = false;
    fill();
  }
  QListWidget::showEvent(event);
}

FolderList::FolderList(Form& form, const Control& control, FolderReader& reader, QWidget* parent)
    : FolderContents(form, control, reader, parent) {
  // A double-click, or Enter, opens the folder.
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { form_.openFolder(control_.name, bytesOf(item)); });
}

void FolderList::fill() {
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
  setCurrentItem(current);
  const std::string here = chain.empty() ? control_.path : chain.back();
  filler_.start(reader_.read(control_.path), &FolderNames::folders,
                [this, closed, indent, here](const NameList& names, std::size_t first, std::size_t last) {
                  appendEntries(
                      this, closed, names, first, last, [&](std::string_view n) { return indent + shown(n); },
                      [&](std::string_view n) { return mediaPath(here, n); });
                });
}

FileList::FileList(Form& form, const Control& control, FolderReader& reader, QWidget* parent)
    : FolderContents(form, control, reader, parent) {
  // Only the click: a double-click starts with one, and its activation would choose the file again.
  connect(this, &QListWidget::itemClicked, this, &FileList::choose);
}

void FileList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    // Enter held down chooses once, not once a repeat.
    if (!event->isAutoRepeat()) choose(currentItem());
    return;
  }
  QListWidget::keyPressEvent(event);
}

void FileList::sync(Property p) {
  if (p == Property::FileName) refreshSelection();
  FolderContents::sync(p);
}

void FileList::choose(QListWidgetItem* item) { form_.chooseFile(control_.name, bytesOf(item)); }

void FileList::fill() {
  clear();
  filler_.start(reader_.read(control_.path), &FolderNames::files,
                [this](const NameList& names, std::size_t first, std::size_t last) {
                  appendEntries(this, {}, names, first, last, shown, [](std::string_view n) { return n; });
                });
  refreshSelection();
}

void FileList::refreshSelection() {
  if (control_.fileName.empty()) {
    clearSelection();
    setCurrentItem(nullptr);
  }
}

TransportWidget::TransportWidget(const Control& control, MediaDevice* device, QWidget* parent)
    : QWidget(parent), ControlView(control), device_(device) {
  const char* names[] = {"播放", "暂停", "停止"};
  for (int i = 0; i < 3; ++i) {
    QToolButton* b = new QToolButton(this);
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

void TransportWidget::showEvent(QShowEvent*) {
  if (iconsSet_) return;
  iconsSet_ = true;
  const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause, QStyle::SP_MediaStop};
  for (std::size_t i = 0; i < 3; ++i) buttons_[i]->setIcon(style()->standardIcon(icons[i]));
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
