#include "desktop/form_widget.h"

#include <QApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/accessibility.h"
#include "desktop/control_widgets.h"
#include "desktop/desktop_setup.h"
#include "desktop/marking_keys_filter.h"
#include "desktop/player_widgets.h"
#include "desktop/qt_handoff.h"

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

}  // namespace

FormWidget::FormWidget(Form& form, MediaDevice* device, const FileBrowser* files, QWidget* parent,
                       std::shared_ptr<Handoff> answers)
    : QWidget(parent), form_(form), device_(device), files_(files ? *files : plainFileBrowser()) {
  const Form::Window& window = form.window();
  setWindowTitle(QString::fromStdString(window.caption));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, drawnColour(window.backColor));
  setPalette(palette);
  setFont(fontFor(window.font));

  // The control area scrolls, but only on a screen too small for it.
  scroller_ = new QScrollArea(this);
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setFocusPolicy(Qt::NoFocus);
  scroller_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scroller_->viewport()->setAutoFillBackground(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroller_);
  canvas_ = new QWidget;
  canvas_->setFixedSize(px(window.clientWidth), px(window.clientHeight));
  scroller_->setWidget(canvas_);
  // What the keyboard reaches comes into view whole (Qt's own ensureWidgetVisible would show only
  // the text cursor of a box).
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!now || !canvas_->isAncestorOf(now)) return;
    const QRect r(now->mapTo(canvas_, QPoint()), now->size());
    scroller_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 1, r.height() / 2 + 1);
  });

  std::string filePattern;
  for (const Control& c : form.controls())
    if (c.kind == Kind::FileListBox) filePattern = c.pattern;
  folders_ = std::make_unique<FolderReader>(answers ? std::move(answers) : QtHandoff::to(this), filePattern);
  widgets_.reserve(form.controls().size());
  views_.reserve(form.controls().size());
  for (const Control& c : form.controls()) {
    QWidget* parentWidget = c.parent.empty() ? canvas_ : widgetFor(c.parent);
    widgets_.push_back(createWidget(c, parentWidget));
  }
  stackChildren();
  orderFocus();
  collectFocusStops();
  updateReach();
  fitToScreen(screen() ? screen()->availableGeometry().size() : canvas_->size());

  form.setPropertyListener([this](const Control& c, Property p) { sync(c, p); });
  form.setMessageSink([this](const std::string& text) { showMessageBox(this, text); });
  new MarkingKeysFilter(this);  // typing a marking, copying the reading
}

FormWidget::~FormWidget() {
  // The children go before QObject would drop this connection: hear no focus change meanwhile.
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  form_.setPropertyListener(nullptr);
  form_.setMessageSink(nullptr);
}

void FormWidget::fitToScreen(QSize available) {
  const QSize area = canvas_->size();
  const bool fits = area.width() <= available.width() && area.height() <= available.height();
  setMinimumSize(fits ? area : QSize(0, 0));
  resize(area.boundedTo(available));
}

QWidget* FormWidget::widgetFor(std::string_view name) const { return widgets_[form_.control(name).index]; }

ControlView* FormWidget::viewFor(std::string_view name) const { return views_[form_.control(name).index]; }

// Makes the control's widget, and returns it as both the Qt widget and the control's mirror.
template <class W>
static std::pair<QWidget*, ControlView*> made(W* widget) {
  return {widget, widget};
}

QWidget* FormWidget::createWidget(const Control& c, QWidget* parent) {
  const QFont font = fontFor(form_.effectiveFont(c.name));
  std::pair<QWidget*, ControlView*> w;
  switch (c.kind) {
    case Kind::Label:
    case Kind::Frame: w = made(new CaptionWidget(c, font, parent)); break;
    case Kind::Line: w = made(new LineWidget(c, parent)); break;
    case Kind::TextBox: w = made(new DisplayBox(c, font, parent)); break;
    case Kind::CommandButton: w = made(new ButtonWidget(c, font, parent)); break;
    case Kind::OptionButton:
      w = made(new OptionWidget(c, font, parent, [this, &c](int step) { stepOption(c, step); }));
      break;
    case Kind::DriveListBox: w = made(new DriveList(form_, c, files_, parent)); break;
    case Kind::DirListBox: w = made(new FolderList(form_, c, *folders_, parent)); break;
    case Kind::FileListBox: w = made(new FileList(form_, c, *folders_, parent)); break;
    case Kind::MediaControl: w = made(new TransportWidget(c, device_, parent)); break;
  }
  auto [widget, view] = w;
  setAccessibleRole(widget, c.kind);  // before anything asks how to read the widget out
  if (auto* button = qobject_cast<QAbstractButton*>(widget))
    QObject::connect(button, &QAbstractButton::clicked, this, [this, &c] { form_.click(c.name); });
  // The lists and the media control draw in the platform's way, with the control's font and colours.
  if (c.kind == Kind::DriveListBox || c.kind == Kind::DirListBox || c.kind == Kind::FileListBox ||
      c.kind == Kind::MediaControl) {
    widget->setFont(font);
    colourList(widget, c);
  }
  views_.push_back(view);
  widget->setObjectName(QString::fromStdString(c.name));
  widget->setAccessibleName(accessibleNameOf(form_, c));
  widget->setAccessibleDescription(accessibleDescriptionOf(form_, c));
  widget->setGeometry(c.kind == Kind::Line ? lineRect(c.line) : pixelRect(c.geometry));
  widget->setVisible(c.visible);
  return widget;
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

// What takes the keyboard focus for each control: its own widget or, where that takes none (the
// media control), the buttons inside it.
void FormWidget::collectFocusStops() {
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!takesFocus(controls[i].kind)) continue;
    QWidget* w = widgets_[i];
    if (w->focusPolicy() != Qt::NoFocus) {
      focusStops_.push_back({i, w, w->focusPolicy()});
      continue;
    }
    for (QWidget* inner : w->findChildren<QWidget*>())
      if (inner->focusPolicy() != Qt::NoFocus) focusStops_.push_back({i, inner, inner->focusPolicy()});
  }
}

// Controls under a frame that covers them take no keyboard focus: Tab never lands on a button the
// user cannot see, and Space cannot press it.
void FormWidget::updateReach() {
  reachPending_ = false;
  for (const FocusStop& stop : focusStops_) {
    const bool reachable = form_.isReachable(form_.controls()[stop.control].name);
    stop.widget->setFocusPolicy(reachable ? stop.policy : Qt::NoFocus);
    if (!reachable && stop.widget->hasFocus()) stop.widget->clearFocus();
  }
}

// The arrow keys move among the option buttons of one group in TabIndex order, from the last round
// to the first, and select the one they reach as a click does.
void FormWidget::stepOption(const Control& from, int step) {
  std::vector<const Control*> group;
  for (const Control& c : form_.controls())
    if (c.kind == Kind::OptionButton && c.parent == from.parent && form_.isReachable(c.name)) group.push_back(&c);
  std::stable_sort(group.begin(), group.end(), [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
  const auto here = std::find(group.begin(), group.end(), &from);
  if (here == group.end()) return;
  const auto count = static_cast<std::ptrdiff_t>(group.size());
  const Control& next = *group[static_cast<std::size_t>(((here - group.begin()) + step % count + count) % count)];
  widgetFor(next.name)->setFocus(Qt::OtherFocusReason);
  form_.click(next.name);
}

void FormWidget::sync(const Control& c, Property p) {
  QWidget* w = widgets_[c.index];
  if (p == Property::Visible) {
    w->setVisible(c.visible);
    // A frame shown or hidden covers or uncovers what lies beneath it. One update after all the
    // writes of a handler is enough.
    if (isWindowed(c.kind) && !reachPending_) {
      reachPending_ = true;
      QMetaObject::invokeMethod(this, [this] { updateReach(); }, Qt::QueuedConnection);
    }
    return;
  }
  if (p == Property::Caption) {
    w->setAccessibleName(accessibleNameOf(form_, c));
    // A band heading names its swatch; the colour name above a swatch describes it.
    if (const auto swatch = swatchFollowing(c.name)) {
      const Control& s = form_.control(*swatch);
      widgets_[s.index]->setAccessibleName(accessibleNameOf(form_, s));
      widgets_[s.index]->setAccessibleDescription(accessibleDescriptionOf(form_, s));
    }
  }
  views_[c.index]->sync(p);
}

}  // namespace kalvori::desktop
