// What screen readers are told about each control: its name, the colour a swatch shows, and the
// role of the widgets Qt would otherwise report as plain panes.
//
// What it does not do: decide anything the window shows. Names and descriptions are read from the
// model's captions; the desktop layer calls in here again whenever a caption changes.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string_view>

#include "form/control_model.h"

namespace kalvori::desktop {

// The control's caption; where the caption is empty or the control shows a colour rather than
// text, a short Chinese description of what it holds. Empty for a label with no caption and for
// lines, which have nothing to read out.
QString accessibleNameOf(const Form& form, const Control& c);

// A colour swatch is described by the colour name written above it ("棕"), empty before a band is
// chosen. Other controls have no description.
QString accessibleDescriptionOf(const Form& form, const Control& c);

// The swatch whose name or description follows this label's caption (the band heading or the
// colour name above it), if any.
std::optional<std::string_view> swatchFollowing(std::string_view label);

// Reports labels as static text, frames as groupings and lines as separators: marks a control's
// widget with its kind, and installs (once, after the application object exists) the factory that
// reads the mark.
void setAccessibleRole(QWidget* widget, Kind kind);
void installAccessibleRoles();

}  // namespace kalvori::desktop
