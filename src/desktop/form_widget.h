// The window on the screen: one widget per control of the model, stacked, ordered for the
// keyboard and kept in step with every property change. User input goes back to the model as a
// click; the model decides what it means.
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "player/file_browser.h"
#include "player/handoff.h"
#include "player/media_device.h"
#include "form/control_model.h"

namespace kalvori {
class FolderReader;
}

namespace kalvori::desktop {

class ControlView;

// Twips to logical pixels: 15 twips a pixel, as at 96 dots per inch.
inline int px(int twips) { return (twips + 7) / 15; }

class FormWidget : public QWidget {
 public:
  // The player's lists show what `files` finds (none given: the plain file browser), read in the
  // background with the answers coming back through `answers` (the program's one handoff; none
  // given: one to this widget); its transport row drives `device` (none: it stays disabled). The
  // device and the browser must outlive the widget.
  explicit FormWidget(Form& form, MediaDevice* device = nullptr, const FileBrowser* files = nullptr,
                      QWidget* parent = nullptr, std::shared_ptr<Handoff> answers = {});
  ~FormWidget() override;

  Form& form() { return form_; }
  QWidget* widgetFor(std::string_view name) const;
  ControlView* viewFor(std::string_view name) const;
  // The surface that holds the window's own controls, exactly the size of the control area.
  QWidget* canvas() const { return canvas_; }
  // Sizes the window for a screen whose available area is `available` (logical pixels): the control
  // area, and never smaller, when it fits; otherwise as much as fits, scrolling over the rest. The
  // constructor does this for the screen the window opens on.
  void fitToScreen(QSize available);

 private:
  struct FocusStop {
    std::size_t control;  // position in the model
    QWidget* widget;
    Qt::FocusPolicy policy;  // what it takes while the control is reachable
  };

  QWidget* createWidget(const Control& c, QWidget* parent);
  void stackChildren();
  void orderFocus();
  void collectFocusStops();
  void sync(const Control& c, Property p);
  void updateReach();
  void stepOption(const Control& from, int step);

  Form& form_;
  MediaDevice* device_;
  const FileBrowser& files_;
  std::unique_ptr<FolderReader> folders_;  // one reading of a folder for the folder and file lists
  QScrollArea* scroller_;
  QWidget* canvas_;
  // Both by the control's position in the model: the widget, and the same widget as a mirror.
  std::vector<QWidget*> widgets_;
  std::vector<ControlView*> views_;
  std::vector<FocusStop> focusStops_;
  bool reachPending_ = false;
};

}  // namespace kalvori::desktop
