// The photo reader away from the jig: each jig photo as other cameras and scenes would give it
// (colour casts, exposure, tone curves, saturation, turned, scaled, mirrored, another background,
// heavy JPEG, noise and blur), and painted resistors over random bodies, band counts, casts, glare
// and sizes. For each condition, with the proposed line and with the hand-drawn line (moved with the
// photo when the photo is turned or scaled): right value first, among those shown, refused, wrong.
// Then how often the first reading is right, by its score.
//
//   photo_sweep JIG_FOLDER [LINES.csv] [--only NAME] [--synthetic N] [--dump FILE.csv] [-v]
//
// -v prints the bands seen on every photo whose first reading is not the right one.
//
// The photos are read from their folder and transformed in memory; nothing is written beside them.
#include <QBuffer>
#include <QImage>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "jig_photos.h"
#include "photo/photo_reading.h"
#include "photo_file/photo_file.h"
#include "support/resistor_render.h"

namespace {

using namespace kalvori;
using bench::Counts;
using bench::csvRows;

// One answer, for the score's calibration.
struct Outcome {
  double best = 0, second = 0;
  bool firstRight = false;
};

QImage jpeg(const QImage& image, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", quality);
  return QImage::fromData(bytes, "JPEG");
}

double toLinear(double s) { return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4); }
double toSrgb(double l) {
  l = std::clamp(l, 0.0, 1.0);
  return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

// Every pixel through f(r, g, b), in sRGB values 0 to 1.
using PixelMap = std::function<std::array<double, 3>(double, double, double)>;
QImage mapPixels(const QImage& in, const PixelMap& f) {
  QImage q = in.convertToFormat(QImage::Format_RGB888);
  for (int y = 0; y < q.height(); ++y) {
    uchar* p = q.scanLine(y);
    for (int x = 0; x < q.width(); ++x, p += 3) {
      const auto o = f(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0);
      for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(std::lround(std::clamp(o[k], 0.0, 1.0) * 255));
    }
  }
  return q;
}

// A light's colour and level: gains in linear light, as a camera set to the wrong white would record.
PixelMap gains(double r, double g, double b) {
  return [=](double R, double G, double B) {
    return std::array<double, 3>{toSrgb(toLinear(R) * r), toSrgb(toLinear(G) * g), toSrgb(toLinear(B) * b)};
  };
}

PixelMap saturation(double k) {
  return [=](double R, double G, double B) {
    const double y = 0.299 * R + 0.587 * G + 0.114 * B;
    return std::array<double, 3>{y + k * (R - y), y + k * (G - y), y + k * (B - y)};
  };
}

// A stronger S-curve about mid-grey, as phones' "vivid" processing gives.
PixelMap contrast(double k) {
  return [=](double R, double G, double B) {
    auto c = [&](double v) { return 0.5 + (v - 0.5) * k; };
    return std::array<double, 3>{c(R), c(G), c(B)};
  };
}

PixelMap gamma(double g) {
  return [=](double R, double G, double B) {
    return std::array<double, 3>{std::pow(R, g), std::pow(G, g), std::pow(B, g)};
  };
}

// Another camera's rendering: a filmic curve (lifted shadows, soft shoulder) and a slight cross-talk
// between channels, instead of the sRGB curve the jig's camera used.
PixelMap otherCamera() {
  return [](double R, double G, double B) {
    auto curve = [](double v) {
      const double l = toLinear(v) * 1.2;
      return std::pow(l / (l + 0.18), 0.75) * 1.1;
    };
    const double r = curve(R), g = curve(G), b = curve(B);
    return std::array<double, 3>{0.9 * r + 0.1 * g, 0.05 * r + 0.9 * g + 0.05 * b, 0.08 * g + 0.92 * b};
  };
}

QImage noisyBlur(const QImage& in, std::uint32_t seed) {
  QImage q = in.scaled(in.width() / 2, in.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .scaled(in.width(), in.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_RGB888);
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0, 6);
  for (int y = 0; y < q.height(); ++y) {
    uchar* p = q.scanLine(y);
    for (int x = 0; x < q.width() * 3; ++x)
      p[x] = static_cast<uchar>(std::clamp(static_cast<int>(std::lround(p[x] + noise(random))), 0, 255));
  }
  return q;
}

// The jig's white tray replaced by another surface, its shading kept: pale, greyish pixels away
// from the body's line (the body is never touched, the leads may be) take `surface` scaled by how
// light they were.
QImage newBackground(const QImage& in, const BodyLine& line, std::array<double, 3> surface) {
  QImage q = in.convertToFormat(QImage::Format_RGB888);
  const double dx = line.to.x - line.from.x, dy = line.to.y - line.from.y, len = std::hypot(dx, dy);
  const double ux = dx / len, uy = dy / len;
  for (int y = 0; y < q.height(); ++y) {
    uchar* p = q.scanLine(y);
    for (int x = 0; x < q.width(); ++x, p += 3) {
      const double ax = x + 0.5 - line.from.x, ay = y + 0.5 - line.from.y;
      const double along = (ax * ux + ay * uy) / len, across = std::abs(-ax * uy + ay * ux) / len;
      if (along > -0.08 && along < 1.08 && across < 0.32) continue;
      const int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
      if (hi < 110 || hi - lo > 40) continue;
      const double shade = toLinear(hi / 255.0) / toLinear(0.85);
      for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(std::lround(toSrgb(toLinear(surface[k]) * shade) * 255));
    }
  }
  return q;
}

struct Transformed {
  QImage image;
  BodyLine line;
};

// A geometric change: the image through `t`, the hand line with it. Corners a turn uncovers are
// filled with the tray's pale grey.
Transformed moved(const QImage& in, const BodyLine& line, const QTransform& t) {
  const QImage shape = in.convertToFormat(QImage::Format_ARGB32).transformed(t, Qt::SmoothTransformation);
  QImage out(shape.size(), QImage::Format_RGB888);
  out.fill(QColor(235, 235, 235));
  for (int y = 0; y < shape.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
    uchar* p = out.scanLine(y);
    for (int x = 0; x < shape.width(); ++x, p += 3) {
      const double a = qAlpha(s[x]) / 255.0;
      p[0] = static_cast<uchar>(std::lround(qRed(s[x]) * a + 235 * (1 - a)));
      p[1] = static_cast<uchar>(std::lround(qGreen(s[x]) * a + 235 * (1 - a)));
      p[2] = static_cast<uchar>(std::lround(qBlue(s[x]) * a + 235 * (1 - a)));
    }
  }
  const QTransform real = QImage::trueMatrix(t, in.width(), in.height());
  auto map = [&](PhotoPoint p) {
    const QPointF q = real.map(QPointF(p.x, p.y));
    return PhotoPoint{q.x(), q.y()};
  };
  return {out, {map(line.from), map(line.to)}};
}

struct Condition {
  std::string name;
  std::function<Transformed(const QImage&, const BodyLine&, std::uint32_t)> apply;
};

std::vector<Condition> conditions() {
  auto colour = [](const std::string& name, PixelMap f) {
    return Condition{name, [f](const QImage& q, const BodyLine& l, std::uint32_t) {
                       return Transformed{mapPixels(q, f), l};
                     }};
  };
  auto geometric = [](const std::string& name, QTransform t) {
    return Condition{name, [t](const QImage& q, const BodyLine& l, std::uint32_t) { return moved(q, l, t); }};
  };
  return {
      colour("as taken", [](double r, double g, double b) { return std::array<double, 3>{r, g, b}; }),
      colour("warm ~3000K", gains(1.35, 1.0, 0.55)),
      colour("cool ~8000K", gains(0.8, 1.0, 1.3)),
      colour("green-ish", gains(0.85, 1.15, 0.85)),
      colour("magenta-ish", gains(1.12, 0.85, 1.1)),
      colour("exposure -1 EV", gains(0.5, 0.5, 0.5)),
      colour("exposure +0.7 EV", gains(1.62, 1.62, 1.62)),
      colour("gamma 0.8", gamma(0.8)),
      colour("gamma 1.25", gamma(1.25)),
      colour("contrast 1.3", contrast(1.3)),
      colour("saturation -30%", saturation(0.7)),
      colour("saturation +30%", saturation(1.3)),
      colour("other camera curve", otherCamera()),
      geometric("turned 90", QTransform().rotate(90)),
      geometric("turned 25", QTransform().rotate(25)),
      geometric("mirrored", QTransform().scale(-1, 1)),
      geometric("scale 0.5", QTransform().scale(0.5, 0.5)),
      geometric("scale 1.6", QTransform().scale(1.6, 1.6)),
      Condition{"dark background",
                [](const QImage& q, const BodyLine& l, std::uint32_t) {
                  return Transformed{newBackground(q, l, {0.22, 0.22, 0.24}), l};
                }},
      Condition{"green mat background",
                [](const QImage& q, const BodyLine& l, std::uint32_t) {
                  return Transformed{newBackground(q, l, {0.25, 0.55, 0.4}), l};
                }},
      Condition{"blue background",
                [](const QImage& q, const BodyLine& l, std::uint32_t) {
                  return Transformed{newBackground(q, l, {0.35, 0.5, 0.8}), l};
                }},
      Condition{"JPEG quality 40",
                [](const QImage& q, const BodyLine& l, std::uint32_t) { return Transformed{jpeg(q, 40), l}; }},
      Condition{"noise and blur",
                [](const QImage& q, const BodyLine& l, std::uint32_t seed) { return Transformed{noisyBlur(q, seed), l}; }},
      Condition{"warm, scale 0.5, JPEG 40",
                [](const QImage& q, const BodyLine& l, std::uint32_t) {
                  Transformed t = moved(mapPixels(q, gains(1.3, 1.0, 0.6)), l, QTransform().scale(0.5, 0.5));
                  t.image = jpeg(t.image, 40);
                  return t;
                }},
  };
}

// A random resistor that is made: a value of the series its tolerance is made in (E12 for three
// bands, E24 for four, E96 or E24 for five and six), a multiplier, a tolerance (and a tempco) band.
std::vector<Band> randomBands(std::mt19937& random, int count) {
  static const int e24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30, 33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
  static const int e12[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
  static const int e96[] = {100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143, 147, 150,
                            154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210, 215, 221, 226, 232,
                            237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309, 316, 324, 332, 340, 348, 357,
                            365, 374, 383, 392, 402, 412, 422, 432, 442, 453, 464, 475, 487, 499, 511, 523, 536, 549,
                            562, 576, 590, 604, 619, 634, 649, 665, 681, 698, 715, 732, 750, 768, 787, 806, 825, 845,
                            866, 887, 909, 931, 953, 976};
  auto any = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  auto pick = [&](std::initializer_list<Band> from) { return *(from.begin() + any(static_cast<int>(from.size()))); };
  int value = 0, digits = 2;
  if (count == 3)
    value = e12[any(12)];
  else if (count == 4)
    value = e24[any(24)];
  else
    digits = 3, value = any(2) ? e96[any(96)] : 10 * e24[any(24)];
  std::vector<Band> b;
  for (int i = digits - 1; i >= 0; --i) b.push_back(static_cast<Band>(value / static_cast<int>(std::pow(10, i)) % 10));
  b.push_back(pick({Band::Black, Band::Brown, Band::Red, Band::Orange, Band::Yellow, Band::Green, Band::Gold}));
  if (count == 4) b.push_back(pick({Band::Gold, Band::Gold, Band::Silver}));
  if (count >= 5) b.push_back(pick({Band::Brown, Band::Brown, Band::Red}));
  if (count == 6) b.push_back(pick({Band::Brown, Band::Red, Band::Yellow}));
  return b;
}

struct Tally {
  std::map<std::string, Counts> byCondition[2];
  std::vector<std::string> order;
  std::vector<Outcome> outcomes;
  std::ofstream dump;
  bool verbose = false;
};

void count(Tally& t, const std::string& condition, bool byHand, const RgbImage& photo, std::optional<BodyLine> line,
           const std::string& want) {
  if (std::find(t.order.begin(), t.order.end(), condition) == t.order.end()) t.order.push_back(condition);
  const PhotoAnswer a = readPhoto(photo, line);
  Counts& c = t.byCondition[byHand][condition];
  ++c.photos;
  int rank = -1;
  for (std::size_t i = 0; i < a.readings.size(); ++i)
    if (a.readings[i].ohms.text() == want && rank < 0) rank = static_cast<int>(i);
  if (a.refusal != PhotoRefusal::None)
    ++c.refused;
  else if (rank < 0)
    ++c.wrong;
  else
    ++c.shown, c.first += rank == 0;
  if (t.verbose && rank != 0) {
    std::printf("%s %s want %s:", condition.c_str(), byHand ? "hand" : "auto", want.c_str());
    if (a.refusal != PhotoRefusal::None) std::printf(" refused %d", static_cast<int>(a.refusal));
    for (const BandReading& r : a.readings) std::printf(" | %s %.2f", r.ohms.text().c_str(), r.score);
    std::printf("\n");
    for (const SeenBand& s : a.seen)
      std::printf("     %.2f-%.2f L%5.1f a%6.1f b%6.1f  %s %.2f / %s %.2f  strange %.1f\n", s.from, s.to, s.lab[0],
                  s.lab[1], s.lab[2], std::string(iecColourName(s.colours[0])).c_str(), s.odds[0],
                  s.colours.size() > 1 ? std::string(iecColourName(s.colours[1])).c_str() : "-",
                  s.odds.size() > 1 ? s.odds[1] : 0.0, s.strangeness);
  }
  if (!a.readings.empty())
    t.outcomes.push_back({a.readings[0].score, a.readings.size() > 1 ? a.readings[1].score : 0, rank == 0});
  if (t.dump.is_open()) {
    double strangest = 0;
    for (const SeenBand& s : a.seen) strangest = std::max(strangest, s.strangeness);
    t.dump << '"' << condition << "\"," << byHand << ',' << static_cast<int>(a.refusal) << ',' << a.seen.size() << ','
           << (a.readings.empty() ? 0 : a.readings[0].score) << ','
           << (a.readings.size() > 1 ? a.readings[1].score : 0) << ',' << rank << ',' << strangest << '\n';
  }
}

void print(const char* what, const Counts& c) {
  auto pct = [&](int k) { return c.photos ? 100.0 * k / c.photos : 0.0; };
  std::printf("%-28s %4d | %3d %3.0f%% | %3d %3.0f%% | %3d %3.0f%% | %3d %3.0f%%\n", what, c.photos, c.first,
              pct(c.first), c.shown, pct(c.shown), c.refused, pct(c.refused), c.wrong, pct(c.wrong));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s JIG_FOLDER [LINES.csv] [--only NAME] [--synthetic N] [--dump FILE.csv] [-v]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  std::string linesPath, only, dumpPath;
  int synthetic = 240;
  bool verbose = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--only" && i + 1 < argc)
      only = argv[++i];
    else if (arg == "--synthetic" && i + 1 < argc)
      synthetic = std::stoi(argv[++i]);
    else if (arg == "-v")
      verbose = true;
    else if (arg == "--dump" && i + 1 < argc)
      dumpPath = argv[++i];
    else
      linesPath = arg;
  }
  Tally t;
  t.verbose = verbose;
  if (!dumpPath.empty()) {
    t.dump.open(dumpPath);
    t.dump << "condition,hand,refusal,bands,best,second,rank,strangest\n";
  }
  std::map<std::string, BodyLine> drawn;
  if (!linesPath.empty())
    for (const auto& row : csvRows(linesPath))
      if (row.size() >= 5)
        drawn[row[0]] = {{std::stod(row[1]), std::stod(row[2])}, {std::stod(row[3]), std::stod(row[4])}};

  const auto labels = csvRows(folder + "/labels.csv");
  std::uint32_t seed = 1;
  for (const Condition& cond : conditions()) {
    if (!only.empty() && cond.name.find(only) == std::string::npos) continue;
    for (const auto& row : labels) {
      const QImage photo(QString::fromStdString(folder + "/" + row.at(0)));
      if (photo.isNull()) continue;
      const auto hand = drawn.find(row.at(0));
      // Without a hand line, the background change keeps the photo's middle third.
      const BodyLine line = hand != drawn.end()
                                ? hand->second
                                : BodyLine{{photo.width() / 3.0, photo.height() / 2.0}, {photo.width() * 2 / 3.0, photo.height() / 2.0}};
      const Transformed tr = cond.apply(photo, line, seed++);
      const RgbImage img = photoFromImage(tr.image);
      count(t, "jig: " + cond.name, false, img, std::nullopt, row.at(1));
      if (hand != drawn.end()) count(t, "jig: " + cond.name, true, img, tr.line, row.at(1));
    }
  }

  // Painted resistors: a random body, band count, light, glare, size and angle each.
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> u(0, 1);
  const char* bodies[] = {"beige", "blue", "green"};
  for (int i = 0; i < synthetic && (only.empty() || std::string("synthetic").find(only) != std::string::npos); ++i) {
    test::ResistorScene s;
    const int kind = i % 3;
    s.body = static_cast<test::BodyPaintKind>(kind);
    const int n = 3 + static_cast<int>(u(random) * 4);
    s.bands = randomBands(random, std::min(n, 6));
    s.width = 800, s.height = 600;
    s.length = 120 + u(random) * 320;
    s.angle = u(random) * 3.14159;
    s.cx = 400 + (u(random) - 0.5) * 120, s.cy = 300 + (u(random) - 0.5) * 80;
    s.light = 0.55 + u(random) * 0.6;
    const double warmth = (u(random) - 0.5) * 0.9, tint = (u(random) - 0.5) * 0.35;
    s.cast = {std::exp(warmth), std::exp(tint), std::exp(-warmth)};
    s.glare = u(random) * 0.9;
    s.glareAt = (u(random) - 0.5) * 1.0;
    s.blur = u(random) * 1.8;
    s.noise = 1 + u(random) * 4;
    const int back = static_cast<int>(u(random) * 4);
    const std::array<std::array<int, 3>, 4> backs{{{200, 205, 212}, {60, 62, 66}, {60, 130, 90}, {235, 235, 230}}};
    s.background = backs[static_cast<std::size_t>(back)];
    s.seed = static_cast<std::uint32_t>(i + 1);
    s.thickness = 0.28 + u(random) * 0.14;
    s.bandWidth = (s.bands.size() <= 4 ? 0.065 : 0.05) + u(random) * 0.025;
    RgbImage img = test::renderResistor(s);
    // The camera's own processing: saturation and contrast as phones set them, then JPEG.
    QImage q = mapPixels(imageFromPhoto(img), saturation(0.75 + u(random) * 0.5));
    q = mapPixels(q, contrast(0.9 + u(random) * 0.35));
    if (u(random) < 0.5) q = jpeg(q, 40 + static_cast<int>(u(random) * 40));
    img = photoFromImage(q);
    const std::string want = readingOfBands(s.bands)->ohms.text();
    const std::string name = std::string("synthetic: ") + bodies[kind] + ", " + std::to_string(s.bands.size()) + " bands";
    count(t, name, false, img, std::nullopt, want);
    count(t, name, true, img, test::bodyLineOf(s), want);
  }

  for (bool byHand : {false, true}) {
    std::printf("\n%s line               photos |  first    | shown     | refused   | wrong\n",
                byHand ? "hand-drawn" : "proposed");
    Counts jig, synth;
    std::stable_partition(t.order.begin(), t.order.end(), [](const std::string& a) { return a.rfind("jig", 0) == 0; });
    for (const std::string& name : t.order) {
      const auto it = t.byCondition[byHand].find(name);
      if (it == t.byCondition[byHand].end()) continue;
      print(name.c_str(), it->second);
      (name.rfind("jig", 0) == 0 ? jig : synth).add(it->second);
    }
    print("all jig conditions", jig);
    print("all synthetic", synth);
  }

  // How often the first reading is right, by its score.
  std::printf("\nfirst reading's score  answers  right\n");
  for (int bin = 0; bin < 10; ++bin) {
    int n = 0, right = 0;
    for (const Outcome& o : t.outcomes)
      if (std::min(9, static_cast<int>(o.best * 10)) == bin) ++n, right += o.firstRight;
    if (n) std::printf("  %.1f-%.1f            %5d  %5.0f%%\n", bin / 10.0, (bin + 1) / 10.0, n, 100.0 * right / n);
  }
  return 0;
}
