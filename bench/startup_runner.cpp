// Start-up time and peak memory of the program's window against a plain Qt window.
//
// Starts the baseline and the window in turn, each as a fresh process, each round beginning with
// the next program (so that none always follows another); more windows may be given, to compare
// builds in the same run. The time of a run goes from right before the process is spawned to the
// first frame it reports (first_frame.h); its memory is the peak resident set that wait4()
// returns. Prints the median and 90th percentile of the time, the median and maximum of the peak
// RSS, and the ratios window/baseline.
//
//   startup_runner [--runs N] [--warmup N] [--phases] [BASELINE WINDOW [WINDOW...]]
//
// BASELINE and WINDOW default to baseline_window and startup_probe beside the runner; give
// baseline_chinese as BASELINE to compare with a plain window that draws the same captions.
// QT_QPA_PLATFORM defaults to offscreen; set it (and DISPLAY) to measure on a real X server.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "startup_runner: %s\n", what.c_str());
  std::exit(1);
}

// What the child wrote on its standard error, shown only when it fails: Qt warns on every start
// about things that do not matter here (no XDG_RUNTIME_DIR, say).
std::FILE* errors = nullptr;

[[noreturn]] void failRun(const std::string& what) {
  std::fflush(errors);
  std::rewind(errors);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, errors)) > 0;) std::fwrite(buffer, 1, n, stderr);
  fail(what);
}

long long monotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

struct Run {
  double ms = 0;      // from right before the spawn to the first frame
  double rssMiB = 0;  // peak resident set
  long widgets = -1;
  std::vector<std::pair<std::string, double>> phases;  // milliseconds after the spawn, as reported
};

struct Program {
  std::string label;
  std::string path;
  std::vector<Run> runs;
};

// Reads what the child prints until it closes its output. A probe's output is buffered and comes
// out when it ends, so a minute of silence means it hangs.
std::string readAll(int fd, pid_t child, const std::string& path) {
  std::string text;
  char buffer[4096];
  pollfd ready{fd, POLLIN, 0};
  for (;;) {
    const int polled = poll(&ready, 1, 60'000);
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
      failRun(path + " painted no frame within a minute");
    }
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

Run runOnce(const std::string& path) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) fail("pipe: " + std::string(std::strerror(errno)));
  if (errors) std::fclose(errors);
  errors = std::tmpfile();
  if (!errors) fail("tmpfile: " + std::string(std::strerror(errno)));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fileno(errors), STDERR_FILENO);
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t child = 0;
  const long long start = monotonicNs();
  const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) fail(path + ": " + std::strerror(spawned));
  const std::string text = readAll(out[0], child, path);
  close(out[0]);

  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) fail("wait4: " + std::string(std::strerror(errno)));
  if (WIFSIGNALED(status)) failRun(path + " was killed by signal " + std::to_string(WTERMSIG(status)));
  if (WEXITSTATUS(status) != 0) failRun(path + " exited with status " + std::to_string(WEXITSTATUS(status)));

  Run run;
  // In KiB. The kernel starts a spawned child's peak at the runner's own resident set, which is
  // why the runner links no Qt and stays a few MiB.
  run.rssMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  auto msAfterStart = [start](long long ns) { return static_cast<double>(ns - start) / 1e6; };
  std::istringstream lines(text);
  bool framed = false;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string what, name;
    long long ns = 0;
    if (!(words >> what)) continue;
    if (what == "frame" && words >> ns) {
      run.ms = msAfterStart(ns);
      framed = true;
    } else if (what == "phase" && words >> name >> ns) {
      run.phases.emplace_back(name, msAfterStart(ns));
    } else if (what == "widgets") {
      words >> run.widgets;
    }
  }
  if (!framed) failRun(path + " reported no frame");
  return run;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Nearest rank: the smallest value with at least p of the values at or below it.
double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size())));
  return v[std::max<std::size_t>(rank, 1) - 1];
}

template <class F>
std::vector<double> each(const Program& p, F field) {
  std::vector<double> v;
  for (const Run& r : p.runs) v.push_back(field(r));
  return v;
}

struct Summary {
  double medianMs, p90Ms, medianMiB, maxMiB;
};

Summary summarise(const Program& p) {
  const auto ms = each(p, [](const Run& r) { return r.ms; });
  const auto mib = each(p, [](const Run& r) { return r.rssMiB; });
  return {median(ms), percentile(ms, 0.9), median(mib), *std::max_element(mib.begin(), mib.end())};
}

// The median moment of each step, in the order the program reports them.
void printPhases(const Program& p) {
  std::printf("\n%s, median ms after the spawn:\n", p.label.c_str());
  for (std::size_t i = 0; i < p.runs.front().phases.size(); ++i) {
    const std::string& name = p.runs.front().phases[i].first;
    std::vector<double> at;
    for (const Run& r : p.runs)
      if (i < r.phases.size()) at.push_back(r.phases[i].second);
    std::printf("  %-14s %8.1f\n", name.c_str(), median(at));
  }
  std::printf("  %-14s %8.1f\n", "frame", summarise(p).medianMs);
}

std::string besideRunner(const char* name) {
  std::string self(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", self.data(), self.size());
  if (n <= 0) fail("cannot find the runner's own path");
  self.resize(static_cast<std::size_t>(n));
  return self.substr(0, self.rfind('/') + 1) + name;
}

[[noreturn]] void usage() {
  fail("usage: startup_runner [--runs N] [--warmup N] [--phases] [BASELINE WINDOW [WINDOW...]]");
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 20, warmup = 1;
  bool phases = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--runs" || arg == "--warmup") && i + 1 < argc) {
      (arg == "--runs" ? runs : warmup) = std::atoi(argv[++i]);
    } else if (arg == "--phases") {
      phases = true;
    } else if (!arg.starts_with("--")) {
      paths.push_back(arg);
    } else {
      usage();
    }
  }
  if (runs < 1 || warmup < 0 || paths.size() == 1) usage();
  if (paths.empty()) paths = {besideRunner("baseline_window"), besideRunner("startup_probe")};
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);

  std::vector<Program> programs;
  for (std::size_t k = 0; k < paths.size(); ++k) {
    char label[32];
    if (k == 0) std::snprintf(label, sizeof label, "baseline");
    else if (paths.size() == 2) std::snprintf(label, sizeof label, "window");
    else std::snprintf(label, sizeof label, "window %zu", k);
    programs.push_back({label, paths[k], {}});
  }
  // The first runs fill the page cache and the font caches; they are not counted.
  for (int i = 0; i < warmup; ++i)
    for (Program& p : programs) runOnce(p.path);
  for (int i = 0; i < runs; ++i)
    for (std::size_t k = 0; k < programs.size(); ++k) {
      Program& p = programs[(k + static_cast<std::size_t>(i)) % programs.size()];
      p.runs.push_back(runOnce(p.path));
    }

  std::printf("%d runs of each, interleaved, after %d warm-up run(s); QT_QPA_PLATFORM=%s\n", runs, warmup,
              std::getenv("QT_QPA_PLATFORM"));
  if (programs.size() > 2)
    for (const Program& p : programs) std::printf("%-16s %s\n", p.label.c_str(), p.path.c_str());
  std::printf("\n%-16s %21s   %21s\n", "", "start to first frame", "peak RSS");
  std::printf("%-16s %10s %10s   %10s %10s\n", "", "median ms", "p90 ms", "median MiB", "max MiB");
  for (const Program& p : programs) {
    const Summary x = summarise(p);
    std::printf("%-16s %10.1f %10.1f   %10.1f %10.1f\n", p.label.c_str(), x.medianMs, x.p90Ms, x.medianMiB, x.maxMiB);
  }
  // The plain window is allowed a quarter more; the one that draws the window's own captions a tenth.
  const char* goal = paths[0].ends_with("baseline_chinese") ? "1.10x" : "1.25x";
  const Summary b = summarise(programs[0]);
  for (std::size_t k = 1; k < programs.size(); ++k) {
    const Summary w = summarise(programs[k]);
    char ratio[48];
    std::snprintf(ratio, sizeof ratio, "%s/baseline", programs[k].label.c_str());
    std::printf("%-16s %9.2fx %9.2fx   %9.2fx %9.2fx   (goal: at most %s)\n", ratio, w.medianMs / b.medianMs,
                w.p90Ms / b.p90Ms, w.medianMiB / b.medianMiB, w.maxMiB / b.maxMiB, goal);
  }

  const long baseWidgets = programs[0].runs.front().widgets, controls = programs[1].runs.front().widgets;
  std::printf("\nwidgets: baseline %ld, window %ld controls\n", baseWidgets, controls);
  if (baseWidgets != controls) std::printf("warning: the baseline is out of step with the window; rebuild it\n");
  if (phases)
    for (const Program& p : programs) printPhases(p);
  return 0;
}
