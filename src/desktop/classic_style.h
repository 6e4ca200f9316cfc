// The window's own classic look, set for the whole application (and so also used by the message
// box): command buttons, option buttons, text boxes, list boxes and the drive list draw their back
// colour as one flat colour over the whole face, edged by the classic two-pixel bevel, raised for
// buttons and sunken for boxes and lists; a dotted rectangle marks the focus; a disabled icon is
// embossed grey; dialog buttons carry their caption only.
//
// What it deliberately does not do: draw gradients, rounded corners or anything that changes on
// hover, or change a size or margin that would move a caption or the text of a box (the text boxes
// keep Fusion's one-pixel text margin; only the lists' frame is two pixels deep; scroll bars keep
// Fusion's parts and sizes). Everything it does not draw itself (menus, the frame of the drive
// list's drop-down) is left to Fusion, which it wraps. Frames draw their own single-line border
// and are not its business.
#pragma once

#include <QColor>
#include <QProxyStyle>

namespace kalvori::desktop {

// The classic palette, also for what paints its own faces: the greys of the bevels (the button
// face is the platform's, as the design data's dash means it), white, black, and the navy of a
// selection.
namespace classic {
inline const QColor kWhite(255, 255, 255);
inline const QColor kLight(223, 223, 223);
inline const QColor kFace(192, 192, 192);
inline const QColor kShadow(128, 128, 128);
inline const QColor kDarkShadow(64, 64, 64);
inline const QColor kBlack(0, 0, 0);
inline const QColor kNavy(0, 0, 128);
}  // namespace classic

class ClassicStyle : public QProxyStyle {
 public:
  ClassicStyle();

  QPalette standardPalette() const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;
  QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap& pixmap, const QStyleOption* option) const override;
};

// A panel laid over the window (the look-up line, the photo and camera views): the face of a raised
// button over the whole widget, in the widget's own style.
void paintRaisedPanel(QWidget* panel);
// The sunken two-pixel edge of a box or list round `r`, for a widget that paints its own inside
// (the photo, the readings drawn over it).
void paintSunkenEdge(QPainter& painter, const QRect& r);

}  // namespace kalvori::desktop
