#!/usr/bin/env python3
"""Runs the whole-program tour under strace and checks what the program did to the machine.

    strace_tour.py TOUR MEDIA_FOLDER

The media are made beforehand, outside the trace. During the tour the program may
  - open files for writing (or create, rename, link, remove, truncate them, or make folders) only
    under /dev, /proc and GStreamer's registry cache, whose parent folders it may make, and make
    sure that the session's runtime folder (XDG_RUNTIME_DIR, given a new empty one) exists;
  - connect, bind or send to no network address (AF_INET, AF_INET6); local sockets (AF_UNIX: the
    name service cache, D-Bus, a display) are allowed and listed;
  - start no program but GStreamer's plugin scanner.
A change attempted and refused counts as much as one made: on another machine it would succeed.
"""
import os
import re
import subprocess
import sys
import tempfile

CHANGES = {"open", "openat", "openat2", "creat", "truncate", "rename", "renameat", "renameat2", "unlink",
           "unlinkat", "mkdir", "mkdirat", "link", "linkat", "symlink", "symlinkat"}
NETWORK = {"connect", "bind", "sendto", "sendmsg"}
STARTS = {"execve", "execveat"}
WRITE_FLAGS = re.compile(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND")
ALLOWED_PROGRAMS = {"gst-plugin-scanner"}
SKIPPED = 77  # the system does not allow tracing (ctest's SKIP_RETURN_CODE)

# name(args) = result, one call a line (-ff: one file per thread, so calls are never split).
CALL = re.compile(r"^(\w+)\((.*)\)\s+=\s+(.*)$")
# A quoted path, optionally after the folder it is relative to, which -y decodes:
# AT_FDCWD</work/dir>, "name" or 5</some/folder>, "name".
PATHS = re.compile(r'(?:(?:AT_FDCWD|\d+)<([^>]*)>,\s*)?"((?:[^"\\]|\\.)*)"')


def registry_cache():
    """Where GStreamer keeps its registry cache for this user."""
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return os.path.join(cache, "gstreamer-1.0")


def under(path, folder):
    path, folder = os.path.normpath(path), os.path.normpath(folder)
    return path == folder or path.startswith(folder.rstrip("/") + "/")


def paths_of(args):
    """The paths a call names, each made absolute against its directory descriptor."""
    out = []
    for folder, name in PATHS.findall(args):
        name = name.encode().decode("unicode_escape")
        out.append(os.path.join(folder, name) if folder and not name.startswith("/") else name)
    return out


def check(calls, tour, runtime):
    cache = registry_cache()
    allowed = ["/dev", "/proc", cache]
    allowed += [os.environ[v] for v in ("GST_REGISTRY", "GST_REGISTRY_1_0") if v in os.environ]
    faults, changed, local, started = [], set(), set(), []
    for name, args, line in calls:
        if name in CHANGES:
            if name in ("open", "openat", "openat2") and not WRITE_FLAGS.search(args):
                continue
            targets = paths_of(args)
            # Making the cache's parent folders, and making sure the session's runtime folder exists
            # (Qt does at start), change nothing else.
            making = name.startswith("mkdir") and all(under(cache, t) or t == runtime for t in targets)
            if all(any(under(t, a) for a in allowed) for t in targets) or making:
                changed.update(targets)
            else:
                faults.append("writes outside /dev, /proc and " + cache + ": " + line)
        elif name in NETWORK:
            if re.search(r"sa_family=AF_INET6?\b", args):
                faults.append("reaches the network: " + line)
            local.update(re.findall(r'sun_path=(?:@)?"([^"]*)"', args))
        elif name in STARTS:
            program = paths_of(args)[0]
            if program == tour and tour not in started:
                started.append(program)  # the tour itself, started by strace
            elif os.path.basename(program) in ALLOWED_PROGRAMS:
                started.append(program)
            else:
                faults.append("starts another program: " + line)
    return faults, changed, local, started


def read_trace(folder):
    calls = []
    for file in sorted(os.listdir(folder)):
        with open(os.path.join(folder, file), errors="replace") as f:
            for line in f:
                m = CALL.match(line.strip())
                if m:
                    calls.append((m.group(1), m.group(2), line.strip()))
    return calls


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tour, media = os.path.abspath(sys.argv[1]), sys.argv[2]
    traced = CHANGES | NETWORK | STARTS
    with tempfile.TemporaryDirectory(prefix="kalvori-strace-") as work:
        # A private runtime folder, as a desktop session has; without one Qt makes /tmp/runtime-$USER.
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        logs = os.path.join(work, "trace")
        os.mkdir(logs)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
        # LeakSanitizer traces the process itself at exit, which it cannot do under strace.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"]))
        command = ["strace", "-ff", "-qq", "-y", "-s", "4096", "-o", os.path.join(logs, "call"),
                   "-e", "trace=" + ",".join(sorted(traced)), tour, media]
        try:
            run = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
        except FileNotFoundError:
            sys.exit("strace is not installed (scripts/setup installs it)")
        output = run.stdout.decode(errors="replace")
        if re.search(r"^strace: .*ptrace.*Operation not permitted", output, re.M | re.I):
            # A container that forbids tracing: nothing can be checked here, and ctest says so.
            print(output)
            sys.exit(SKIPPED)
        if run.returncode != 0:
            sys.exit("the traced tour failed (exit %d):\n%s" % (run.returncode, output))
        calls = read_trace(logs)

    faults, changed, local, started = check(calls, tour, runtime)
    print("%d calls traced" % len(calls))
    print("changed, where allowed: " + (", ".join(sorted(changed)) or "nothing"))
    print("local sockets: " + (", ".join(sorted(local)) or "none"))
    print("programs: " + ", ".join(started))
    if tour not in started:
        faults.append("the trace does not show the tour starting: nothing was checked")
    for fault in faults:
        print("FAULT: " + fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
