// Whole-state checks: what a sequence of clicks changed anywhere in the window, as
// "control.Property" -> value, so that a test states every change it expects and nothing else.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "form/control_model.h"

namespace kalvori::testing {

using Changes = std::map<std::string, std::string>;

inline std::string colour(OleColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(c));
  return buf;
}
inline std::string flag(bool b) { return b ? "True" : "False"; }

class Snapshot {
 public:
  explicit Snapshot(const Form& form) : controls_(form.controls()) {}

  // Every property that differs between this snapshot and the form now.
  Changes changesIn(const Form& form) const {
    Changes out;
    const auto& now = form.controls();
    for (std::size_t i = 0; i < now.size(); ++i) {
      const Control& a = controls_[i];
      const Control& b = now[i];
      auto note = [&](const char* property, bool differs, const std::string& value) {
        if (differs) out[b.name + "." + property] = value;
      };
      note("Caption", a.caption != b.caption, b.caption);
      note("Text", a.text != b.text, b.text);
      note("BackColor", a.backColor != b.backColor, colour(b.backColor));
      note("Visible", a.visible != b.visible, flag(b.visible));
      note("Value", a.value != b.value, flag(b.value));
      note("Path", a.path != b.path, b.path);
      note("FileName", a.fileName != b.fileName, b.fileName);
      note("DeviceType", a.deviceType != b.deviceType, b.deviceType);
    }
    return out;
  }

 private:
  std::vector<Control> controls_;
};

// Collects what the window would show in message boxes.
struct Messages {
  std::vector<std::string> shown;
  void attach(Form& form) {
    form.setMessageSink([this](const std::string& text) { shown.push_back(text); });
  }
};

inline void clickAll(Form& form, std::initializer_list<const char*> names) {
  for (const char* n : names) form.click(n);
}

}  // namespace kalvori::testing
