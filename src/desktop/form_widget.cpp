#include "desktop/form_widget.h"

#include <algorithm>

#include "desktop/control_widgets.h"
#include "desktop/desktop_setup.h"
#include "desktop/player_widgets.h"

namespace kalvori::desktop {

namespace {

QRect pixelRect(const Geometry& g) { return {px(g.left), px(g.top), px(g.width), px(g.height)}; }

QRect lineRect(const LineEnds& l) {
  const int left = px(std::min(l.x1, l.x2)), top = px(std::min(l.y1, l.y2));
  const int right = px(std::max(l.x1, l.x2)), bottom = px(std::max(l.y1, l.y2));
  return {left, top, right - left + 1, bottom - top + 1};
}

void colourList(QWidget* w, const Control& c) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Base, drawnColour(c.backColor));
  palette.setColor(QPalette::Button, drawnColour(c.backColor));
  palette.setColor(QPalette::Text, drawnColour(c.foreColor));
  w->setPalette(palette);
}

QString accessibleNameOf(const Control& c) {
  return QString::fromStdString(c.caption.empty() ? c.name : c.caption);
}

}  // namespace

namespace {
const FileBrowser& plainFiles() {
  static const FileBrowser files;
  return files;
}
}  // namespace

FormWidget::FormWidget(Form& form, MediaDevice* device, const FileBrowser* files, QWidget* parent)
    : QWidget(parent), form_(form), device_(device), files_(files ? *files : plainFiles()) {
  const Form::Window& window = form.window();
  setWindowTitle(QString::fromStdString(window.caption));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, drawnColour(window.backColor));
  setPalette(palette);
  setFont(fontFor(window.font));

  canvas_ = new QWidget(this);
  canvas_->setFixedSize(px(window.clientWidth), px(window.clientHeight));
  setMinimumSize(canvas_->size());
  resize(canvas_->size());

  widgets_.reserve(form.controls().size());
  for (const Control& c : form.controls()) {
    QWidget* parentWidget = c.parent.empty() ? canvas_ : widgetFor(c.parent);
    widgets_.push_back(createWidget(c, parentWidget));
  }
  stackChildren();
  orderFocus();
  for (QWidget* w : widgets_) focusPolicies_.push_back(w->focusPolicy());
  updateReach();

  form.setPropertyListener([this](const Control& c, Property p) { sync(c, p); });
  form.setMessageSink([this](const std::string& text) { showMessageBox(this, text); });
}

FormWidget::~FormWidget() {
  form_.setPropertyListener(nullptr);
  form_.setMessageSink(nullptr);
}

QWidget* FormWidget::widgetFor(std::string_view name) const {
  const Control& c = form_.control(name);
  return widgets_[static_cast<std::size_t>(&c - form_.controls().data())];
}

QWidget* FormWidget::createWidget(const Control& c, QWidget* parent) {
  const QFont font = fontFor(form_.effectiveFont(c.name));
  QWidget* w = nullptr;
  switch (c.kind) {
    case Kind::Label: w = new LabelWidget(c, font, parent); break;
    case Kind::Line: w = new LineWidget(c, parent); break;
    case Kind::Frame: w = new FrameWidget(c, font, parent); break;
    case Kind::TextBox: w = new DisplayBox(c, font, parent); break;
    case Kind::CommandButton:
    case Kind::OptionButton: {
      QAbstractButton* b = c.kind == Kind::CommandButton ? static_cast<QAbstractButton*>(new ButtonWidget(c, font, parent))
                                                         : new OptionWidget(c, font, parent);
      QObject::connect(b, &QAbstractButton::clicked, this, [this, name = c.name] { form_.click(name); });
      w = b;
      break;
    }
    case Kind::DriveListBox: w = new DriveList(form_, c, files_, parent); break;
    case Kind::DirListBox: w = new FolderList(form_, c, files_, parent); break;
    case Kind::FileListBox: w = new FileList(form_, c, files_, parent); break;
    case Kind::MediaControl: w = new TransportWidget(device_, parent); break;
  }
  if (c.kind >= Kind::DriveListBox) {
    w->setFont(font);
    colourList(w, c);
  }
  w->setObjectName(QString::fromStdString(c.name));
  w->setAccessibleName(accessibleNameOf(c));
  w->setGeometry(c.kind == Kind::Line ? lineRect(c.line) : pixelRect(c.geometry));
  w->setVisible(c.visible);
  return w;
}

// Qt draws later siblings on top. Labels and lines lie beneath every windowed sibling, and within
// each layer the control that comes first in design order lies on top.
void FormWidget::stackChildren() {
  const auto& controls = form_.controls();
  for (bool windowed : {false, true}) {
    for (std::size_t i = controls.size(); i-- > 0;) {
      if (isWindowed(controls[i].kind) == windowed) widgets_[i]->raise();
    }
  }
}

// The keyboard follows TabIndex among the controls that can take the focus.
void FormWidget::orderFocus() {
  std::vector<std::size_t> focusable;
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (takesFocus(controls[i].kind)) focusable.push_back(i);
    else widgets_[i]->setFocusPolicy(Qt::NoFocus);
  }
  std::stable_sort(focusable.begin(), focusable.end(),
                   [&](std::size_t a, std::size_t b) { return controls[a].tabIndex < controls[b].tabIndex; });
  for (std::size_t k = 1; k < focusable.size(); ++k)
    QWidget::setTabOrder(widgets_[focusable[k - 1]], widgets_[focusable[k]]);
}

// Controls under a frame that covers them take no keyboard focus: Tab never lands on a button the
// user cannot see, and Space cannot press it.
void FormWidget::updateReach() {
  reachPending_ = false;
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (focusPolicies_[i] == Qt::NoFocus) continue;
    const bool reachable = form_.isReachable(controls[i].name);
    widgets_[i]->setFocusPolicy(reachable ? focusPolicies_[i] : Qt::NoFocus);
    if (!reachable && widgets_[i]->hasFocus()) widgets_[i]->clearFocus();
  }
}

void FormWidget::sync(const Control& c, Property p) {
  QWidget* w = widgets_[static_cast<std::size_t>(&c - form_.controls().data())];
  switch (p) {
    case Property::Visible:
      w->setVisible(c.visible);
      // A frame shown or hidden covers or uncovers what lies beneath it. One update after all the
      // writes of a handler is enough.
      if (isWindowed(c.kind) && !reachPending_) {
        reachPending_ = true;
        QMetaObject::invokeMethod(this, [this] { updateReach(); }, Qt::QueuedConnection);
      }
      break;
    case Property::Text:
      if (auto* box = dynamic_cast<DisplayBox*>(w)) box->setText(QString::fromStdString(c.text));
      break;
    case Property::BackColor:
      if (auto* box = dynamic_cast<DisplayBox*>(w)) box->syncColours();
      w->update();
      break;
    case Property::Caption:
      w->setAccessibleName(accessibleNameOf(c));
      w->update();
      break;
    case Property::Value: w->update(); break;
    case Property::Drive:
      if (auto* drives = dynamic_cast<DriveList*>(w)) drives->refresh();
      break;
    case Property::Path:
      if (auto* folders = dynamic_cast<FolderList*>(w)) folders->refresh();
      if (auto* list = dynamic_cast<FileList*>(w)) list->refresh();
      break;
    case Property::FileName:
      if (auto* list = dynamic_cast<FileList*>(w)) list->refreshSelection();
      break;
    default: break;
  }
}

}  // namespace kalvori::desktop
