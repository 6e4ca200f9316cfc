// Work that may block (reading a folder, judging a drive) done by a few threads of its own kind,
// with its answer brought back to the UI thread through the Handoff.
//
// A worker holds at most a fixed number of threads: one is started when a request comes and none
// is free, and it ends once nothing is left to do, so an idle program holds none. A request for
// what a thread is already working on waits for that thread's answer; any other request replaces
// the one still queued (only the newest counts). When every thread is stuck (on a mount that
// hangs) no more are started: the newest request waits in the queue until one comes back. When no
// thread can be had at all, the request is answered at once with the worker's "nothing" answer and
// one line on standard error says why: the UI thread never does the work itself.
//
// What it deliberately does not do: cancel, join or wait for a thread (one stuck on a hung mount
// is left to finish, or never to), or know about any toolkit. Without a Handoff, the work runs at
// once where it is asked for, which is what the handlers' tests and tools without an event loop
// want.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "player/handoff.h"

namespace kalvori {

// Starts `body` in a thread of its own that nothing waits for; throws std::system_error when the
// process can have no more threads. Every background thread of the program starts here.
void startThread(std::function<void()> body);
// Replaces how startThread starts threads, and returns what it did before: tests play a process
// at its limit of threads with a starter that throws. Only the UI thread starts threads.
using ThreadStarter = std::function<void(std::function<void()>)>;
ThreadStarter replaceThreadStarter(ThreadStarter starter);

template <class Result>
class BackgroundWorker {
 public:
  using Work = std::function<Result(const std::string& key)>;
  using Answer = std::function<void(const Result&)>;

  // `kind` names the work on standard error ("folder reading"); `work` is what a request runs,
  // given its key; `nothing` answers a request when no thread can be had.
  BackgroundWorker(std::string kind, std::size_t threads, std::shared_ptr<Handoff> handoff, Work work, Result nothing)
      : shared_(std::make_shared<Shared>()) {
    shared_->kind = std::move(kind);
    shared_->limit = threads;
    shared_->handoff = std::move(handoff);
    shared_->work = std::move(work);
    shared_->nothing = std::move(nothing);
  }

  // Works on `key` in one of the threads, then runs `answer` on the UI thread with the result.
  // Call on the UI thread.
  void ask(const std::string& key, Answer answer) {
    Shared& s = *shared_;
    if (!s.handoff) {
      answer(s.work(key));
      return;
    }
    std::optional<Request> replaced;  // let go of outside the lock
    {
      const std::lock_guard lock(s.mutex);
      for (Request& r : s.running) {
        if (r.key == key) {
          r.answers.push_back(std::move(answer));
          return;
        }
      }
      if (s.queued && s.queued->key == key) {
        s.queued->answers.push_back(std::move(answer));
        return;
      }
      replaced = std::exchange(s.queued, Request{key, {}});
      s.queued->answers.push_back(std::move(answer));
      if (s.threads > s.busy) return;  // a thread between two requests takes it
      if (s.threads >= s.limit) {
        if (!std::exchange(s.toldStuck, true))
          std::fprintf(stderr, "Kalvori: all %zu threads for %s are busy (a mount that hangs keeps its thread); "
                       "the newest request waits for one\n", s.limit, s.kind.c_str());
        return;
      }
      ++s.threads;
    }
    try {
      startThread([shared = shared_] { serve(shared); });
    } catch (const std::system_error& e) {
      noThread(e, key);
    }
  }

  // Threads alive now, stuck ones included (for tests).
  std::size_t threads() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->threads;
  }

 private:
  struct Request {
    std::string key;
    std::vector<Answer> answers;  // touched under the mutex; run on the UI thread
  };
  // What the threads share with the worker; they may outlive it.
  struct Shared {
    std::string kind;
    std::size_t limit = 1;
    std::shared_ptr<Handoff> handoff;
    Work work;
    Result nothing;

    std::mutex mutex;
    std::optional<Request> queued;  // the newest request no thread has taken yet
    std::list<Request> running;     // those taken, stuck ones included
    std::size_t threads = 0, busy = 0;
    bool toldStuck = false;  // said once, until a thread is free again
  };

  // A thread's whole life: requests in turn until none is queued.
  static void serve(const std::shared_ptr<Shared>& shared) {
    Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    while (s.queued) {
      s.running.push_front(std::move(*s.queued));
      s.queued.reset();
      const auto taken = s.running.begin();
      const std::string key = taken->key;
      ++s.busy;
      lock.unlock();
      Result result = s.work(key);
      lock.lock();
      std::vector<Answer> answers = std::move(taken->answers);
      s.running.erase(taken);
      --s.busy;
      s.toldStuck = false;
      lock.unlock();
      s.handoff->post([answers = std::move(answers), result = std::move(result)] {
        for (const Answer& answer : answers) answer(result);
      });
      lock.lock();
    }
    --s.threads;
  }

  // No thread could be started: the request waits for a thread there is, or is answered with
  // nothing now.
  void noThread(const std::system_error& e, const std::string& key) {
    Shared& s = *shared_;
    std::optional<Request> unanswered;
    std::size_t others = 0;
    {
      const std::lock_guard lock(s.mutex);
      others = --s.threads;
      if (others == 0) unanswered = std::exchange(s.queued, std::nullopt);
    }
    if (!unanswered) {
      std::fprintf(stderr, "Kalvori: no thread to be had (%s); the %s of %s waits for one of the %zu there are\n",
                   e.what(), s.kind.c_str(), key.c_str(), others);
      return;
    }
    std::fprintf(stderr, "Kalvori: no thread to be had (%s); the %s of %s is answered as if it found nothing\n",
                 e.what(), s.kind.c_str(), unanswered->key.c_str());
    for (const Answer& answer : unanswered->answers) answer(s.nothing);
  }

  std::shared_ptr<Shared> shared_;
};

}  // namespace kalvori
