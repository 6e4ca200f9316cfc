// The readings of a photo, one row each, best first: at the left the body as the photo shows it,
// straightened along the line, and under it the reading's bands painted where the bands were seen,
// so that the eye compares the two; at the right the value, tolerance and how sure the reading is
// ("把握 80%"), and the colours in words. Every reading is shown with its own share, so that two
// close ones stand side by side and neither looks certain.
//
// A click on a painted band, or Space on the band chosen with Left and Right, offers the twelve
// colours for it; the bands are then read again as they now stand (PhotoReader::evaluate), and a
// row whose bands make no resistor says so. Up and Down choose the row.
//
// What it deliberately does not do: read the photo or press a button of the window (the view does,
// for the chosen row).
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "photo/photo_reading.h"

namespace kalvori::desktop {

// A row: the reading as it stands now, after any change of a band or of direction.
struct ShownReading {
  BandReading reading;
  bool valid = true;    // the bands make a resistor
  bool edited = false;  // changed by hand: its share no longer applies
};

class PhotoReadingsStrip : public QWidget {
 public:
  using Evaluate = std::function<std::optional<BandReading>(const std::vector<Band>&)>;

  explicit PhotoReadingsStrip(QWidget* parent = nullptr);

  // The readings of one answer, drawn over `strip` (the body from line.from to line.to).
  void setReadings(const PhotoAnswer& answer, const QImage& strip, Evaluate evaluate);
  void clear();
  // What stands in the list while it has no reading: that it reads, or why there is none.
  void setEmptyText(const QString& text);

  int count() const { return static_cast<int>(rows_.size()); }
  int chosen() const { return chosen_; }
  void choose(int row);
  const ShownReading* chosenReading() const;
  const ShownReading& row(int i) const { return rows_[static_cast<std::size_t>(i)]; }

  // The chosen reading read from the other end.
  void flipChosen();
  void setBand(int row, int band, Band colour);
  // Where band `band` of row `row` is painted; empty past the last.
  QRect bandRect(int row, int band) const;
  // One row's words, as shown and as a screen reader hears them.
  QString words(int row) const;

  // The chosen row or its bands changed.
  std::function<void()> onChanged;

  // The height that shows `rows` rows.
  static int heightFor(int rows);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QRect rowRect(int row) const;
  QRect stripRect(int row) const;
  void chooseColour(int row, int band, QPoint at);
  void reevaluate(ShownReading& r);
  void changed();
  void describe();

  std::vector<ShownReading> rows_;
  std::vector<SeenBand> seen_;
  QImage strip_;
  QString emptyText_;
  Evaluate evaluate_;
  int chosen_ = -1;
  int band_ = 0;  // the band Left and Right choose in the chosen row
};

}  // namespace kalvori::desktop
