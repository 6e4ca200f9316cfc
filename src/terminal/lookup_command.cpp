#include "terminal/lookup_command.h"

#include "converter/lookup.h"

namespace kalvori::terminal {

namespace {

// What is kept of one line of input. The reader refuses text far shorter than this unread, so a
// longer line is cut here (the rest skipped, however long) and still refused as too long, without
// holding the whole of it in memory.
constexpr std::size_t kKeptBytes = 4096;

// A blank line's answer in JSON: the look-up gives none for blank text, and every line of the
// output parses and has the same keys.
constexpr std::string_view kBlankJson = R"({"readings": [], "markings": null, "series": null, "refusal": null})";

// What is printed for one text, without its line feed.
struct Printed {
  std::string text;
  bool understood = false;
  bool blank = false;
};

Printed answer(std::string_view text, std::string_view mode, bool json, bool oneLine) {
  const LookupAnswer a = lookUp(text, mode);
  Printed p{a.line, a.understood, !a.understood && a.line.empty()};
  if (json) {
    p.text = a.json.empty() ? std::string(kBlankJson) : a.json;
  } else if (oneLine) {
    for (std::size_t at = p.text.find('\n'); at != std::string::npos; at = p.text.find('\n', at + 3))
      p.text.replace(at, 1, " | ");
  }
  return p;
}

bool writeLine(std::FILE* out, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fputc('\n', out) != EOF;
}

// One line of `in` into `line` (at most kKeptBytes of it, without the line feed or a CR before
// it); false at the end of the input, with nothing read.
bool readLine(std::FILE* in, std::string& line) {
  line.clear();
  int c;
  bool any = false, cut = false;
  while ((c = std::getc(in)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() < kKeptBytes) line += static_cast<char>(c);
    else cut = true;
  }
  if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

}  // namespace

int answerLookup(const LookupRequest& request, std::FILE* in, std::FILE* out, std::FILE* err) {
  const auto failed = [&](const char* what) {
    std::fprintf(err, "kalvori：%s\n", what);
    return kUsageOrIoError;
  };
  if (request.text != "-") {
    const Printed p = answer(request.text, request.mode, request.json, false);
    if (!writeLine(out, p.text) || std::fflush(out) != 0) return failed("无法写入标准输出");
    return p.understood ? kAllRead : kSomeRefused;
  }
  bool refused = false;
  std::string line;
  while (readLine(in, line)) {
    const Printed p = answer(line, request.mode, request.json, true);
    refused = refused || (!p.understood && !p.blank);
    // Flushed line by line: a script that writes one print and waits for its answer gets it.
    if (!writeLine(out, p.text) || std::fflush(out) != 0) return failed("无法写入标准输出");
  }
  if (std::ferror(in)) return failed("无法读取标准输入");
  return refused ? kSomeRefused : kAllRead;
}

}  // namespace kalvori::terminal
