// Work that may block (reading a folder, judging a drive) done by a few threads of its own kind,
// with its answer brought back to the UI thread through the Handoff.
//
// A worker holds a few threads for each mount and a fixed number in all: one is started when a
// request comes and none is free, and it ends once nothing is left to do, so an idle program holds
// none. Requests are counted by the mount they touch (the worker is told how to find it), so a
// share that hangs holds only its own few threads and every other mount is still served. A request
// for what a thread is already working on waits for that thread's answer; any other request
// replaces the one of its mount still queued (only the newest counts). When a mount's threads are
// all stuck, its newest request waits until one comes back, and one line on standard error says
// so. When no thread can be had at all, the request is answered at once with the worker's
// "nothing" answer and one line says why: the UI thread never does the work itself.
//
// What it deliberately does not do: cancel, join or wait for a thread (one stuck on a hung mount
// is left to finish, or never to), or know about any toolkit. Without a Handoff, the work runs at
// once where it is asked for, which is what the handlers' tests and tools without an event loop
// want.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "player/handoff.h"
#include "player/log_line.h"

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
  // The mount a key touches (mounted_volumes.h's mountPointOf): the limits count per mount.
  using MountOf = std::function<std::string(const std::string& key)>;
  struct Limits {
    std::size_t perMount = 2;
    std::size_t total = 6;
  };

  // `kind` names the work on standard error ("folder reading"); `work` is what a request runs,
  // given its key; `nothing` answers a request when no thread can be had.
  BackgroundWorker(std::string kind, Limits limits, std::shared_ptr<Handoff> handoff, Work work, Result nothing,
                   MountOf mountOf)
      : shared_(std::make_shared<Shared>()) {
    shared_->kind = std::move(kind);
    shared_->limits = limits;
    shared_->handoff = std::move(handoff);
    shared_->work = std::move(work);
    shared_->nothing = std::move(nothing);
    shared_->mountOf = std::move(mountOf);
  }

  // Works on `key` in one of the threads, then runs `answer` on the UI thread with the result.
  // Call on the UI thread.
  void ask(const std::string& key, Answer answer) {
    Shared& s = *shared_;
    if (!s.handoff) {
      answer(s.work(key));
      return;
    }
    const std::string mount = s.mountOf ? s.mountOf(key) : std::string();
    std::optional<Request> replaced;  // let go of outside the lock
    {
      const std::lock_guard lock(s.mutex);
      for (Request& r : s.running) {
        if (r.key == key) {
          r.answers.push_back(std::move(answer));
          return;
        }
      }
      Mount& m = s.mounts[mount];
      if (m.queued && m.queued->key == key) {
        m.queued->answers.push_back(std::move(answer));
        return;
      }
      replaced = std::exchange(m.queued, Request{key, mount, {}});
      m.queued->answers.push_back(std::move(answer));
      if (s.threads > s.busy && m.busy < s.limits.perMount) return;  // a thread between two requests takes it
      if (m.busy >= s.limits.perMount || s.threads >= s.limits.total) {
        if (!std::exchange(m.toldStuck, true))
          logLine("all " + std::to_string(m.busy >= s.limits.perMount ? s.limits.perMount : s.limits.total) +
                  " threads for " + s.kind + (m.busy >= s.limits.perMount ? " on " + mount : std::string()) +
                  " are busy (a mount that hangs keeps its threads); the newest request there waits for one");
        return;
      }
      ++s.threads;
    }
    try {
      startThread([shared = shared_] { serve(shared); });
    } catch (const std::system_error& e) {
      noThread(e, mount);
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
    std::string mount;
    std::vector<Answer> answers;  // touched under the mutex; run on the UI thread
  };
  struct Mount {
    std::optional<Request> queued;  // its newest request no thread has taken yet
    std::size_t busy = 0;           // its requests being worked on, stuck ones included
    bool toldStuck = false;         // said once, until one of its threads is free again
  };
  // What the threads share with the worker; they may outlive it.
  struct Shared {
    std::string kind;
    Limits limits;
    std::shared_ptr<Handoff> handoff;
    Work work;
    Result nothing;
    MountOf mountOf;

    std::mutex mutex;
    std::map<std::string, Mount> mounts;
    std::list<Request> running;  // those taken, stuck ones included
    std::size_t threads = 0, busy = 0;

    // The newest request queued on a mount that still has a thread of its own; none: end.
    std::optional<Request> take() {
      for (auto& [name, m] : mounts) {
        if (m.queued && m.busy < limits.perMount) {
          ++m.busy;
          return std::exchange(m.queued, std::nullopt);
        }
      }
      return std::nullopt;
    }
  };

  // A thread's whole life: requests in turn until none can be taken.
  static void serve(const std::shared_ptr<Shared>& shared) {
    Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    while (auto request = s.take()) {
      s.running.push_front(std::move(*request));
      const auto taken = s.running.begin();
      const std::string key = taken->key;
      ++s.busy;
      lock.unlock();
      Result result = s.work(key);
      lock.lock();
      std::vector<Answer> answers = std::move(taken->answers);
      Mount& m = s.mounts[taken->mount];
      --m.busy;
      m.toldStuck = false;
      if (m.busy == 0 && !m.queued) s.mounts.erase(taken->mount);
      s.running.erase(taken);
      --s.busy;
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
  void noThread(const std::system_error& e, const std::string& mount) {
    Shared& s = *shared_;
    std::optional<Request> unanswered;
    std::size_t others = 0;
    {
      const std::lock_guard lock(s.mutex);
      others = --s.threads;
      if (others == 0) unanswered = std::exchange(s.mounts[mount].queued, std::nullopt);
    }
    if (!unanswered) {
      logLine(std::string("no thread to be had (") + e.what() + "); the " + s.kind + " on " + mount +
              " waits for one of the " + std::to_string(others) + " there are");
      return;
    }
    logLine(std::string("no thread to be had (") + e.what() + "); the " + s.kind + " of " + unanswered->key +
            " is answered as if it found nothing");
    for (const Answer& answer : unanswered->answers) answer(s.nothing);
  }

  std::shared_ptr<Shared> shared_;
};

}  // namespace kalvori
