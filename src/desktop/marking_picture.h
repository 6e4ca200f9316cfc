// A small painted picture of a part as it is marked, beside the look-up line's answer: a
// through-hole resistor (beige) or a colour-coded inductor (fatter, light green) with its bands in
// reading order, the tolerance band set apart as on real parts; or a black chip with its code in
// white, or a capacitor with its printed lines. A hobbyist compares the part in hand with a
// picture faster than with colour names.
//
// What it deliberately does not do: decide what is drawn (the look-up's MarkingPicture does), or
// keep colours of its own for the bands: each band is painted in the colour the picture gives it,
// converted as the window's swatches are, so that a band and the swatch of that colour match. It
// draws in logical pixels scaled to its height, never in device pixels, so that it stays sharp on a
// screen of twice the density; the picture is centred in its width, a printed code set smaller
// where the width is short.
#pragma once

#include <QRect>
#include <QWidget>
#include <cstddef>
#include <optional>

#include "marking/picture.h"

namespace kalvori::desktop {

class MarkingPictureView : public QWidget {
 public:
  explicit MarkingPictureView(QWidget* parent = nullptr);

  // Draws `picture` and describes it to screen readers (named "标记图", described by its colour
  // names or its printed lines); with none it is hidden.
  void setPicture(std::optional<MarkingPicture> picture);
  const std::optional<MarkingPicture>& picture() const { return picture_; }

  // Where band `i` is painted at the present size, outline included; empty on a printed body and
  // past the last band.
  QRect bandRect(std::size_t i) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<MarkingPicture> picture_;
};

}  // namespace kalvori::desktop
