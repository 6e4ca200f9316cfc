// The window model: every control of the window as plain data, and the events that bind the
// program's handlers to them.
//
// What it does: holds the controls by name with their kind, parent, design order and typed
// properties; answers effective visibility through frames; groups option buttons; keeps a command
// button's Value True during its own Click; raises a text box's Change (and a folder list's
// Change) inside the write that changed it; passes messages to a sink; tells one listener about
// every property change.
//
// What it deliberately does not do: draw anything, know about Qt, or decide what a click means.
// The handlers (plain functions over a Form) decide; the desktop layer only mirrors.
//
// Lifetime: the controls are made once, with the Form, and the vector that holds them never grows,
// shrinks or reallocates afterwards. A `const Control&` taken from a Form stays valid, and names the
// same control, for as long as the Form lives: the widgets that mirror the controls hold such
// references, and handlers hold ControlIds.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kalvori {

// 0x00BBGGRR for an explicit colour (red in the low byte), 0x800000nn for system colour nn.
using OleColor = std::uint32_t;

namespace sys {
inline constexpr OleColor desktop = 0x80000001;        // labels and frames that blend with the window
inline constexpr OleColor window = 0x80000005;         // a text box's own background
inline constexpr OleColor windowText = 0x80000008;     // text of boxes and lists, the Line colour
inline constexpr OleColor highlightText = 0x8000000E;  // the colour names under the swatches
inline constexpr OleColor buttonFace = 0x8000000F;     // buttons and plain labels
inline constexpr OleColor buttonText = 0x80000012;     // text of buttons and plain labels
}  // namespace sys

inline constexpr bool isSystemColour(OleColor c) { return (c & 0x80000000u) != 0; }

// The RGB value a colour is drawn with, as 0xRRGGBB. System colours are fixed so that the window
// looks the same on every desktop theme; the desktop background is the window's own teal so that
// labels on it blend in.
std::uint32_t drawnRgb(OleColor c);

enum class Kind {
  Label,
  TextBox,
  CommandButton,
  OptionButton,
  Frame,
  Line,
  DriveListBox,
  DirListBox,
  FileListBox,
  MediaControl,
};

// Whether the kind is a window of its own (stacked above the labels and lines of its parent, able
// to take the keyboard focus) or is drawn on its parent's surface.
inline constexpr bool isWindowed(Kind k) { return k != Kind::Label && k != Kind::Line; }
inline constexpr bool takesFocus(Kind k) { return isWindowed(k) && k != Kind::Frame; }

enum class Event { Click, Change };

enum class Property {
  Caption,
  Text,
  BackColor,
  Visible,
  Value,
  Drive,
  Path,
  FileName,
  DeviceType,
  Command,
};

// "宋体" with the GB2312 character set throughout; only the size and the weight vary.
struct Font {
  int centipoints;  // 825 = 8.25 points
  bool bold;
  friend bool operator==(const Font&, const Font&) = default;
  int pixelSize() const { return (centipoints * 4 + 150) / 300; }  // points × 4/3, rounded
};

// Twips, relative to the parent's client area.
struct Geometry {
  int left, top, width, height;
  friend bool operator==(const Geometry&, const Geometry&) = default;
};

struct LineEnds {
  int x1, y1, x2, y2;
  friend bool operator==(const LineEnds&, const LineEnds&) = default;
};

struct Control {
  std::string name;
  Kind kind = Kind::Label;
  std::string parent;  // empty: the window itself
  Geometry geometry{};
  LineEnds line{};  // a Line's end points; unused otherwise
  std::string caption;
  std::string text;
  OleColor backColor = sys::buttonFace;
  OleColor foreColor = sys::buttonText;
  std::optional<Font> font;  // none: the container's font
  bool visible = true;       // the control's own flag
  bool value = false;        // option selected; command button inside its own Click
  int tabIndex = 0;
  // Lists and the media control.
  std::string pattern;
  std::string drive;
  std::string path;
  std::string fileName;
  std::string deviceType;
  std::string command;
  // Filled in by the Form.
  int order = 0;          // position among its parent's children in design order
  std::size_t index = 0;  // position in the Form's controls
};

// A control of one Form, looked up by name once. Handlers resolve every control they write when
// they are bound, so a misspelt name stops the program at start rather than on a click.
class ControlId {
 public:
  std::size_t index() const { return index_; }
  friend bool operator==(ControlId, ControlId) = default;

 private:
  friend class Form;
  explicit ControlId(std::size_t index) : index_(index) {}
  std::size_t index_;
};

using PropertyValue = std::variant<bool, std::string_view, OleColor>;

// The window and its controls. Controls are given in design order; the order is the stacking
// order (earlier on top) and never changes.
class Form {
 public:
  using Handler = std::function<void(Form&)>;
  using PropertyListener = std::function<void(const Control&, Property)>;
  using MessageSink = std::function<void(const std::string&)>;

  struct Window {
    std::string caption;
    OleColor backColor;
    Font font;
    int clientWidth, clientHeight;  // twips that every control lies within
  };

  Form(Window window, std::vector<Control> controls);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const Window& window() const { return window_; }
  const std::vector<Control>& controls() const { return controls_; }
  bool has(std::string_view name) const { return index_.find(name) != index_.end(); }
  // An unknown name is a programming error: it throws std::logic_error naming it.
  ControlId id(std::string_view name) const;
  const Control& control(std::string_view name) const;
  const Control& control(ControlId id) const { return controls_[id.index()]; }
  // Own flag True and every frame above it visible.
  bool isShown(std::string_view name) const;
  // Shown, and not lying under a shown windowed control of the same parent that covers it whole,
  // nor inside a frame that does: what a user can click or reach with the keyboard. (A frame shown
  // over the converter covers it although the converter's controls are still shown.)
  bool isReachable(std::string_view name) const;
  // The font the control is drawn with: its own, or its nearest container's.
  Font effectiveFont(std::string_view name) const;

  // A user's click; a control that is not reachable takes none. An option button becomes the selected one of its group (every option button
  // with the same parent) and raises Click, also when it was selected already: that is how a user
  // starts a reading afresh. A command button has Value True during its own Click.
  void click(std::string_view name);
  // A user's choice in a list: Drive of a drive list (raises Change), Path of a folder list
  // (raises Change), FileName of a file list (raises Click).
  void chooseDrive(std::string_view name, std::string_view drive);
  void openFolder(std::string_view name, std::string_view path);
  void chooseFile(std::string_view name, std::string_view fileName);

  // Property writes. Text and Path raise the control's Change before they return, when the value
  // actually changes. Each write takes the control by name or, cheaper, resolved beforehand.
  void setCaption(ControlId id, std::string_view caption);
  void setText(ControlId id, std::string_view text);
  void setBackColor(ControlId id, OleColor colour);
  void setVisible(ControlId id, bool visible);
  // A file list loses its selection when its folder changes.
  void setPath(ControlId id, std::string_view path);
  // Shows a drive list entry as selected without raising Change (the list's own correction after a
  // drive that could not be read).
  void setDrive(ControlId id, std::string_view drive);
  void setFileName(ControlId id, std::string_view fileName);
  void setDeviceType(ControlId id, std::string_view type);
  void setCommand(ControlId id, std::string_view command);
  // The same writes addressed by property, for tables of assignments.
  void set(ControlId id, Property property, const PropertyValue& value);

  void setCaption(std::string_view name, std::string_view v) { setCaption(id(name), v); }
  void setText(std::string_view name, std::string_view v) { setText(id(name), v); }
  void setBackColor(std::string_view name, OleColor v) { setBackColor(id(name), v); }
  void setVisible(std::string_view name, bool v) { setVisible(id(name), v); }
  void setPath(std::string_view name, std::string_view v) { setPath(id(name), v); }
  void setDrive(std::string_view name, std::string_view v) { setDrive(id(name), v); }
  void setFileName(std::string_view name, std::string_view v) { setFileName(id(name), v); }
  void setDeviceType(std::string_view name, std::string_view v) { setDeviceType(id(name), v); }
  void setCommand(std::string_view name, std::string_view v) { setCommand(id(name), v); }
  void set(std::string_view name, Property p, const PropertyValue& v) { set(id(name), p, v); }

  // One handler per (control, event); binding a second one is a programming error.
  void on(std::string_view name, Event event, Handler handler);
  void on(ControlId id, Event event, Handler handler);
  void onLoad(Handler handler);
  // Raised once by the shell after every control exists and before the window is first shown.
  void load();

  void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
  void showMessage(const std::string& text);

  // The view's listener (one at a time) hears every property change after it is made.
  void setPropertyListener(PropertyListener listener) { listener_ = std::move(listener); }
  // Further listeners for what carries a property out on a device (the media control's commands).
  // They hear each change before the view does.
  void addPropertyHook(PropertyListener hook) { hooks_.push_back(std::move(hook)); }
  // Hooks that hear every click a control takes (before its handler runs) and every message (before
  // the sink shows it): how the typed marking knows that a mode was chosen or a press refused.
  using ClickHook = std::function<void(const Control&)>;
  void addClickHook(ClickHook hook) { clickHooks_.push_back(std::move(hook)); }
  void addMessageHook(MessageSink hook) { messageHooks_.push_back(std::move(hook)); }

 private:
  Control& mutableControl(std::string_view name) { return controls_[id(name).index()]; }
  Control& mutableControl(ControlId id) { return controls_[id.index()]; }
  void changed(const Control& c, Property p);
  void raise(const Control& c, Event e);
  void assignToDevice(ControlId id, std::string Control::*member, std::string_view v, Property p);
  template <class T>
  void assign(ControlId id, T Control::*member, T value, Property p, bool raisesChange);

  Window window_;
  std::vector<Control> controls_;
  std::map<std::string, std::size_t, std::less<>> index_;
  std::map<std::string, std::vector<std::size_t>, std::less<>> children_;  // by parent, in design order
  std::map<std::pair<std::size_t, Event>, Handler> handlers_;
  Handler load_;
  MessageSink messageSink_;
  PropertyListener listener_;
  std::vector<PropertyListener> hooks_;
  std::vector<ClickHook> clickHooks_;
  std::vector<MessageSink> messageHooks_;
};

}  // namespace kalvori
