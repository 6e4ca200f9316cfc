#include "player/log_line.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace kalvori {

namespace {

// One write per line, so that lines from several threads never mix.
void toStandardError(const std::string& line) {
  const std::string whole = "Kalvori: " + line + "\n";
  std::fwrite(whole.data(), 1, whole.size(), stderr);
}

std::mutex sinkMutex;
LogSink& sink() {
  static LogSink current = toStandardError;
  return current;
}

}  // namespace

void logLine(const std::string& line) {
  const std::lock_guard lock(sinkMutex);
  sink()(line);
}

LogSink replaceLogSink(LogSink replacement) {
  const std::lock_guard lock(sinkMutex);
  return std::exchange(sink(), replacement ? std::move(replacement) : LogSink(toStandardError));
}

}  // namespace kalvori
