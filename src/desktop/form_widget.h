// The window on the screen: one widget per control of the model, stacked, ordered for the
// keyboard and kept in step with every property change. User input goes back to the model as a
// click; the model decides what it means.
#pragma once

#include <QWidget>
#include <string_view>
#include <vector>

#include "player/file_browser.h"
#include "player/media_device.h"
#include "window/control_model.h"

namespace kalvori::desktop {

// Twips to logical pixels: 15 twips a pixel, as at 96 dots per inch.
inline int px(int twips) { return (twips + 7) / 15; }

class FormWidget : public QWidget {
 public:
  // The player's lists show what `files` finds (none given: the plain file browser); its transport
  // row drives `device` (none: it stays disabled). Both must outlive the widget.
  explicit FormWidget(Form& form, MediaDevice* device = nullptr, const FileBrowser* files = nullptr,
                      QWidget* parent = nullptr);
  ~FormWidget() override;

  Form& form() { return form_; }
  QWidget* widgetFor(std::string_view name) const;
  // The surface that holds the window's own controls, exactly the size of the control area.
  QWidget* canvas() const { return canvas_; }

 private:
  QWidget* createWidget(const Control& c, QWidget* parent);
  void stackChildren();
  void orderFocus();
  void sync(const Control& c, Property p);
  void updateReach();

  Form& form_;
  MediaDevice* device_;
  const FileBrowser& files_;
  QWidget* canvas_;
  std::vector<QWidget*> widgets_;  // by the control's position in the model
  std::vector<Qt::FocusPolicy> focusPolicies_;  // what each widget takes when it is reachable
  bool reachPending_ = false;
};

}  // namespace kalvori::desktop
