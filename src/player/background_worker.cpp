#include "player/background_worker.h"

#include <thread>

namespace kalvori {

namespace {

void startDetached(std::function<void()> body) { std::thread(std::move(body)).detach(); }

ThreadStarter& starter() {
  static ThreadStarter current = startDetached;
  return current;
}

}  // namespace

void startThread(std::function<void()> body) { starter()(std::move(body)); }

ThreadStarter replaceThreadStarter(ThreadStarter replacement) {
  return std::exchange(starter(), replacement ? std::move(replacement) : ThreadStarter(startDetached));
}

}  // namespace kalvori
