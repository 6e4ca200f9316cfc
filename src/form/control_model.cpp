#include "form/control_model.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace kalvori {

std::uint32_t drawnRgb(OleColor c) {
  if (isSystemColour(c)) {
    switch (c) {
      case sys::desktop: return 0x008080;  // the window's teal, so labels blend with it
      case sys::window: return 0xFFFFFF;
      case sys::windowText: return 0x000000;
      case sys::highlightText: return 0xFFFFFF;
      case sys::buttonFace: return 0xC0C0C0;
      case sys::buttonText: return 0x000000;
      default: return 0x000000;
    }
  }
  const std::uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return (r << 16) | (g << 8) | b;
}

Form::Form(Window window, std::vector<Control> controls)
    : window_(std::move(window)), controls_(std::move(controls)) {
  std::map<std::string, int, std::less<>> childrenSoFar;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    Control& c = controls_[i];
    if (!index_.emplace(c.name, i).second) throw std::logic_error("control defined twice: " + c.name);
    if (!c.parent.empty()) {
      auto p = index_.find(c.parent);
      // A parent comes before its children in design order, and only frames hold children.
      if (p == index_.end() || controls_[p->second].kind != Kind::Frame)
        throw std::logic_error("control " + c.name + " has no frame " + c.parent + " before it");
    }
    c.order = childrenSoFar[c.parent]++;
    c.index = i;
    children_[c.parent].push_back(i);
  }
}

ControlId Form::id(std::string_view name) const {
  auto it = index_.find(name);
  if (it == index_.end()) throw std::logic_error("no control named " + std::string(name));
  return ControlId(it->second);
}

const Control& Form::control(std::string_view name) const { return control(id(name)); }

bool Form::isShown(std::string_view name) const {
  for (const Control* c = &control(name);; c = &control(c->parent)) {
    if (!c->visible) return false;
    if (c->parent.empty()) return true;
  }
}

namespace {

Geometry boundsOf(const Control& c) {
  if (c.kind != Kind::Line) return c.geometry;
  const LineEnds& l = c.line;
  return {std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1)};
}

bool covers(const Geometry& a, const Geometry& b) {
  return a.left <= b.left && a.top <= b.top && a.left + a.width >= b.left + b.width &&
         a.top + a.height >= b.top + b.height;
}

}  // namespace

bool Form::isReachable(std::string_view name) const {
  if (!isShown(name)) return false;
  for (const Control* c = &control(name);; c = &control(c->parent)) {
    // Windowed siblings lie over labels and lines; among windowed ones the earlier lies on top.
    const Geometry bounds = boundsOf(*c);
    for (std::size_t i : children_.find(c->parent)->second) {
      const Control& s = controls_[i];
      if (&s == c || !isWindowed(s.kind) || !s.visible) continue;
      if (isWindowed(c->kind) && s.order > c->order) continue;
      if (covers(s.geometry, bounds)) return false;
    }
    if (c->parent.empty()) return true;
  }
}

Font Form::effectiveFont(std::string_view name) const {
  for (const Control* c = &control(name);; c = &control(c->parent)) {
    if (c->font) return *c->font;
    if (c->parent.empty()) return window_.font;
  }
}

void Form::changed(const Control& c, Property p) {
  for (const PropertyListener& hook : hooks_) hook(c, p);
  if (listener_) listener_(c, p);
}

void Form::raise(const Control& c, Event e) {
  auto it = handlers_.find({c.index, e});
  if (it != handlers_.end()) it->second(*this);
}

void Form::click(std::string_view name) {
  Control& c = mutableControl(name);
  if (!isReachable(name)) return;
  for (const ClickHook& hook : clickHooks_) hook(c);
  switch (c.kind) {
    case Kind::OptionButton:
      for (Control& other : controls_) {
        if (other.kind == Kind::OptionButton && other.parent == c.parent && &other != &c && other.value) {
          other.value = false;
          changed(other, Property::Value);
        }
      }
      if (!c.value) {
        c.value = true;
        changed(c, Property::Value);
      }
      raise(c, Event::Click);
      break;
    case Kind::CommandButton:
      c.value = true;
      raise(c, Event::Click);
      c.value = false;
      break;
    default:
      raise(c, Event::Click);
      break;
  }
}

void Form::chooseDrive(std::string_view name, std::string_view drive) {
  Control& c = mutableControl(name);
  if (!isReachable(name) || c.drive == drive) return;
  c.drive = drive;
  changed(c, Property::Drive);
  raise(c, Event::Change);
}

void Form::openFolder(std::string_view name, std::string_view path) {
  if (isReachable(name)) setPath(name, path);
}

void Form::chooseFile(std::string_view name, std::string_view fileName) {
  Control& c = mutableControl(name);
  if (!isReachable(name)) return;
  c.fileName = fileName;
  changed(c, Property::FileName);
  raise(c, Event::Click);
}

template <class T>
void Form::assign(ControlId id, T Control::*member, T value, Property p, bool raisesChange) {
  Control& c = mutableControl(id);
  if (c.*member == value) return;
  c.*member = std::move(value);
  changed(c, p);
  if (raisesChange) raise(c, Event::Change);
}

void Form::setCaption(ControlId id, std::string_view v) {
  assign(id, &Control::caption, std::string(v), Property::Caption, false);
}
void Form::setText(ControlId id, std::string_view v) { assign(id, &Control::text, std::string(v), Property::Text, true); }
void Form::setBackColor(ControlId id, OleColor v) { assign(id, &Control::backColor, v, Property::BackColor, false); }
void Form::setVisible(ControlId id, bool v) { assign(id, &Control::visible, v, Property::Visible, false); }
void Form::setPath(ControlId id, std::string_view v) {
  const Control& c = control(id);
  if (c.kind == Kind::FileListBox && c.path != v) setFileName(id, "");
  assign(id, &Control::path, std::string(v), Property::Path, true);
}
void Form::setDrive(ControlId id, std::string_view v) {
  assign(id, &Control::drive, std::string(v), Property::Drive, false);
}
// The multimedia control carries out every assignment to its properties, the same value twice in a
// row too; other controls only report real changes.
void Form::assignToDevice(ControlId id, std::string Control::*member, std::string_view v, Property p) {
  Control& c = mutableControl(id);
  if (c.kind != Kind::MediaControl) return assign(id, member, std::string(v), p, false);
  c.*member = v;
  changed(c, p);
}
void Form::setFileName(ControlId id, std::string_view v) {
  assignToDevice(id, &Control::fileName, v, Property::FileName);
}
void Form::setDeviceType(ControlId id, std::string_view v) {
  assignToDevice(id, &Control::deviceType, v, Property::DeviceType);
}
void Form::setCommand(ControlId id, std::string_view v) { assignToDevice(id, &Control::command, v, Property::Command); }

void Form::set(ControlId id, Property property, const PropertyValue& value) {
  switch (property) {
    case Property::Caption: return setCaption(id, std::get<std::string_view>(value));
    case Property::Text: return setText(id, std::get<std::string_view>(value));
    case Property::BackColor: return setBackColor(id, std::get<OleColor>(value));
    case Property::Visible: return setVisible(id, std::get<bool>(value));
    case Property::Path: return setPath(id, std::get<std::string_view>(value));
    case Property::FileName: return setFileName(id, std::get<std::string_view>(value));
    case Property::DeviceType: return setDeviceType(id, std::get<std::string_view>(value));
    case Property::Command: return setCommand(id, std::get<std::string_view>(value));
    case Property::Value:
    case Property::Drive: break;
  }
  throw std::logic_error("property cannot be assigned by the program: " + control(id).name);
}

void Form::on(std::string_view name, Event event, Handler handler) { on(id(name), event, std::move(handler)); }

void Form::on(ControlId id, Event event, Handler handler) {
  if (!handlers_.emplace(std::pair{id.index(), event}, std::move(handler)).second)
    throw std::logic_error("second handler for one event of " + control(id).name);
}

void Form::onLoad(Handler handler) {
  if (load_) throw std::logic_error("second Load handler");
  load_ = std::move(handler);
}

void Form::load() {
  if (load_) load_(*this);
}

void Form::showMessage(const std::string& text) {
  for (const MessageSink& hook : messageHooks_) hook(text);
  if (messageSink_) messageSink_(text);
}

}  // namespace kalvori
