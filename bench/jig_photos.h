// What the two tools over the jig's photos share (photo_jig_eval, photo_sweep): reading its CSV
// files (labels.csv, "file,ohms", and the hand-drawn lines, "file,x1,y1,x2,y2") and the four counts
// of how answers went.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kalvori::bench {

// Right value first, among those shown, refused, and shown without it (wrong).
struct Counts {
  int photos = 0, first = 0, shown = 0, refused = 0, wrong = 0;
  void add(const Counts& o) {
    photos += o.photos, first += o.first, shown += o.shown, refused += o.refused, wrong += o.wrong;
  }
};

// The rows after the header, split at commas; none when the file is absent.
inline std::vector<std::vector<std::string>> csvRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> cells;
    std::stringstream s(line);
    std::string cell;
    while (std::getline(s, cell, ',')) cells.push_back(cell);
    if (!cells.empty()) rows.push_back(cells);
  }
  return rows;
}

}  // namespace kalvori::bench
