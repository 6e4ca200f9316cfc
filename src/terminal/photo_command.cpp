#include "terminal/photo_command.h"

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <charconv>

#include "marking/answer.h"
#include "marking/band_colour.h"
#include "marking/quantity.h"
#include "photo_file/photo_file.h"

namespace kalvori::terminal {

namespace {

// While it lives, Qt's messages are dropped: the image plugins warn on standard error about what
// they could not decode, and the command says it in its own one line.
class QuietQt {
 public:
  QuietQt() : previous_(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {}
  ~QuietQt() { qInstallMessageHandler(previous_); }
  QuietQt(const QuietQt&) = delete;
  QuietQt& operator=(const QuietQt&) = delete;

 private:
  QtMessageHandler previous_;
};

// A file name as a message shows it: bytes that are not UTF-8, and control characters (C0, DEL, and
// C1, which some terminals take as commands), as '?'.
std::string shownName(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(name[k]); };
    const unsigned char b = byte(i);
    const std::size_t n = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
    bool whole = n > 0 && i + n <= name.size();
    for (std::size_t k = 1; whole && k < n; ++k) whole = (byte(i + k) & 0xC0) == 0x80;
    if (!whole) {
      out += '?';
      ++i;
      continue;
    }
    const bool control = (n == 1 && (b < 0x20 || b == 0x7F)) || (n == 2 && b == 0xC2 && byte(i + 1) < 0xA0);
    if (control) out += '?';
    else out.append(name.substr(i, n));
    i += n;
  }
  return out;
}

// Two decimals: "0.80".
std::string twoDecimals(double v) {
  std::array<char, 400> text{};  // the largest double has 309 digits
  return {text.data(), std::to_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed, 2).ptr};
}

// A pixel coordinate with at most two decimals, as a --line would give it back: "12", "40.5".
std::string coordinate(double v) {
  std::string s = twoDecimals(v);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

std::string point(const PhotoPoint& p) { return "(" + coordinate(p.x) + "," + coordinate(p.y) + ")"; }

std::string readingLine(std::size_t rank, const BandReading& r, const BodyLine& line) {
  std::string s = std::to_string(rank) + ".";
  for (const Band b : r.bands) s += " " + std::string(bandColour(b).name);
  const std::string gap(kAnswerGap);
  // Three bands carry no tolerance band, which stands for ±20 %.
  s += gap + valueText(r.ohms, Family::Resistance) + " " +
       toleranceText(r.tolerance.value_or(Tolerance(Decimal::of(2, 1))));
  if (r.tempco) s += gap + "温漂 ±" + std::to_string(*r.tempco) + " ppm/K";
  s += gap + "把握 " + twoDecimals(r.score);
  if (r.reversed) s += gap + "从 " + point(line.to) + " 那端读起";
  return s;
}

bool writeLine(std::FILE* out, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fputc('\n', out) != EOF;
}

// All of `in`, but no more than one byte past the largest photo: the decoder refuses that as too
// large without the rest being held.
bool readAll(std::FILE* in, QByteArray& bytes) {
  std::array<char, 1 << 16> chunk{};
  while (bytes.size() <= kMaxPhotoBytes) {
    const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
    bytes.append(chunk.data(), static_cast<qsizetype>(n));
    if (n < chunk.size()) break;
  }
  return !std::ferror(in);
}

}  // namespace

std::string photoWords(const PhotoAnswer& answer) {
  std::string out;
  for (std::size_t i = 0; i < answer.readings.size(); ++i)
    out += readingLine(i + 1, answer.readings[i], answer.line) + "\n";
  if (answer.readings.empty()) out += "读不出：" + (answer.why.empty() ? std::string("看不出色环") : answer.why) + "\n";
  // Without a line given, a photo with no body in it has no line to tell of.
  if (!answer.lineProposed || answer.refusal != PhotoRefusal::NoBody)
    out += std::string(answer.lineProposed ? "沿自动找到的线 " : "沿给定的线 ") + point(answer.line.from) + "–" +
           point(answer.line.to) + " 读\n";
  out.pop_back();
  return out;
}

int answerPhoto(const PhotoRequest& request, std::FILE* in, std::FILE* out, std::FILE* err) {
  const auto failed = [&](const std::string& what) {
    const std::string line = "kalvori：" + what + "\n";
    std::fputs(line.c_str(), err);
    return kUsageOrIoError;
  };
  const bool fromInput = request.path == "-";
  DecodedPhoto photo;
  {
    const QuietQt quiet;
    if (fromInput) {
      QByteArray bytes;
      if (!readAll(in, bytes)) return failed("无法读取标准输入");
      photo = decodePhotoBytes(bytes);
    } else {
      photo = decodePhotoFile(request.path);
    }
  }
  if (photo.error != PhotoFileError::None)
    return failed((fromInput ? std::string("标准输入") : "“" + shownName(request.path) + "”") + "：" + photo.why);
  const PhotoAnswer answer = readPhoto(photo.image, request.line);
  if (!writeLine(out, request.json ? photoJson(answer) : photoWords(answer)) || std::fflush(out) != 0)
    return failed("无法写入标准输出");
  return answer.readings.empty() ? kSomeRefused : kAllRead;
}

}  // namespace kalvori::terminal
