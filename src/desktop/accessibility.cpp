#include "desktop/accessibility.h"

#include <QAccessibleWidget>

#include "converter/band_slots.h"

namespace kalvori::desktop {

namespace {


// Controls with no caption that a user can reach, or that group what a user reaches. The value boxes
// are named by their place: which band a box holds depends on the mode.
struct Described {
  std::string_view control;
  const char* name;
};
constexpr Described kDescribed[] = {
    {"k1", "数值第1格"},  {"k2", "数值第2格"},      {"k3", "数值第3格"},      {"k4", "数值第4格：倍率和单位"},
    {"k5", "误差率"},     {"Drive1", "盘符"},       {"Dir1", "文件夹"},       {"File1", "媒体文件"},
    {"MMControl1", "播放控制"}, {"zov", "多媒体播放器"},
};

QString captionOf(const Form& form, std::string_view name) {
  return QString::fromStdString(form.control(name).caption).trimmed();
}

// The role a widget is marked with, kept as a dynamic property of the widget.
constexpr const char* kRoleProperty = "kalvoriAccessibleRole";

QAccessibleInterface* roleFor(const QString&, QObject* object) {
  const QVariant role = object->property(kRoleProperty);
  if (!role.isValid() || !object->isWidgetType()) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

// Each swatch stands under its band heading and under the colour name a band button writes. The
// heading names it ("4环电阻第1环颜色"), so that a four-band reading is read out as four bands
// although it starts in the second swatch; with no heading it is named by its place ("第2环颜色").
QString accessibleNameOf(const Form& form, const Control& c) {
  if (const BandSlot* s = slotOfSwatch(c.name)) {
    const QString heading = captionOf(form, s->heading);
    if (!heading.isEmpty()) return heading + QStringLiteral("颜色");
    return QStringLiteral("第%1环颜色").arg(s->number);
  }
  if (!c.caption.empty()) return QString::fromStdString(c.caption);
  for (const Described& d : kDescribed)
    if (d.control == c.name) return QString::fromUtf8(d.name);
  return {};
}

QString accessibleDescriptionOf(const Form& form, const Control& c) {
  const BandSlot* s = slotOfSwatch(c.name);
  return s ? captionOf(form, s->colourName) : QString();
}

std::optional<std::string_view> swatchFollowing(std::string_view label) {
  for (const BandSlot& s : kBandSlots)
    if (s.heading == label || s.colourName == label) return s.swatch;
  return std::nullopt;
}

void setAccessibleRole(QWidget* widget, Kind kind) {
  switch (kind) {
    case Kind::Label: widget->setProperty(kRoleProperty, int{QAccessible::StaticText}); break;
    case Kind::Frame: widget->setProperty(kRoleProperty, int{QAccessible::Grouping}); break;
    case Kind::Line: widget->setProperty(kRoleProperty, int{QAccessible::Separator}); break;
    default: break;  // Qt's own role for the widget is right
  }
}

void installAccessibleRoles() { QAccessible::installFactory(roleFor); }

}  // namespace kalvori::desktop
