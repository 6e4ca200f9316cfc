#!/usr/bin/env python3
"""The program as a terminal command, run as a process with no display: what it prints, how it
exits, and that it never reaches for the window's toolkit. Usage: terminal_test.py KALVORI"""
import json
import os
import select
import subprocess
import sys

KALVORI = sys.argv[1]
# No display of any kind, as on a server or in a plain SSH session.
ENV = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM")}
READ, REFUSED = "4k7", "qq"  # one print every reading takes, one that none does
failures = []


def run(args, stdin=b"", env=None, timeout=10):
    return subprocess.run([KALVORI, *args], input=stdin, capture_output=True, env=env or ENV, timeout=timeout)


def check(what, ok, detail=""):
    if not ok:
        failures.append(f"{what}: {detail}")


# Exit statuses: 0 read, 1 refused (or blank), 2 a usage error with one line and the pointer to --help.
STATUS = [
    (["--lookup", READ], 0),
    (["--lookup=" + READ, "--mode=c"], 0),
    (["--lookup", READ, "--mode", "tr", "--json"], 0),
    (["--lookup", REFUSED], 1),
    (["--lookup", ""], 1),
    (["--lookup", "-5%", "--mode", "r4"], None),  # a value that starts with a dash is text, not an option
    (["--lookup"], 2),
    (["--lookup", READ, "--mode"], 2),
    (["--lookup", READ, "--mode", "r6"], 2),
    (["--lookup", READ, "--frobnicate"], 2),
    (["--lookup", "4k7", "5%"], 2),  # a text with a blank, not quoted
    (["--lookup", READ, "--lookup", READ], 2),
    (["--mode", "c"], 2),
    (["--json"], 2),
    (["--json=yes", "--lookup", READ], 2),
]
for args, status in STATUS:
    r = run(args)
    if status is None:
        check(f"{args} is read as text", r.returncode in (0, 1), r.stderr.decode())
        continue
    check(f"{args} exits {status}", r.returncode == status, f"exited {r.returncode}: {r.stderr.decode()}")
    if status == 2:
        lines = r.stderr.decode().splitlines()
        check(f"{args} says what is wrong in one line, then where help is", len(lines) == 2 and
              lines[0].startswith("kalvori：") and "kalvori --help" in lines[1], r.stderr.decode())
        check(f"{args} prints nothing on standard output", r.stdout == b"", r.stdout)
    else:
        check(f"{args} answers in one line", r.stdout.endswith(b"\n") and r.stderr == b"", (r.stdout, r.stderr))

# --help and --version need no display, print on standard output and win over everything else.
for args in (["--help"], ["-h"], ["--version"], ["--lookup", READ, "--help"], ["--mode", "r6", "--version"]):
    r = run(args)
    check(f"{args} exits 0", r.returncode == 0 and r.stdout and r.stderr == b"", (r.returncode, r.stderr))
check("--version names the version", run(["--version"]).stdout.decode().startswith("kalvori "))

# Every answer as JSON parses and has the same keys, refused and blank ones included.
for text in (READ, REFUSED, "", " ", "10k 5%", "4.7\u202fk\u03a9"):
    for mode in ("r5", "c"):
        r = run(["--lookup", text, "--mode", mode, "--json"])
        out = r.stdout.decode()
        try:
            obj = json.loads(out)
            check(f"JSON of {text!r} is one object on one line", out.count("\n") == 1 and isinstance(obj, dict), out)
            check(f"JSON of {text!r} has readings and refusal", {"readings", "refusal"} <= obj.keys(), out)
            check(f"JSON of {text!r} refuses exactly when the exit says so",
                  (obj["refusal"] is not None) == (r.returncode == 1 and text.strip() != ""), (out, r.returncode))
        except ValueError as e:
            check(f"JSON of {text!r} parses", False, f"{e}: {out!r}")

# Standard input: one answer a line, whatever the lines hold, so that a list's column maps 1:1.
LINES = [b"4k7", b"", b"104\r", REFUSED.encode(), b"\xff\xfe\xc0", b"1" * 100_000, b"4\x007", b"  ", b"10k"]
STDIN = [
    ("every line read", [b"4k7", b"", b"10k\r", b"  "], 0),
    ("one refused", LINES, 1),
    ("nothing", [], 0),
]
for what, lines, status in STDIN:
    for json_out in (False, True):
        for last_newline in (True, False):
            data = b"\n".join(lines) + (b"\n" if last_newline and lines else b"")
            r = run(["--lookup", "-"] + (["--json"] if json_out else []), stdin=data)
            out = r.stdout.decode().split("\n")
            name = f"stdin, {what}{' as JSON' if json_out else ''}{'' if last_newline else ', no last newline'}"
            check(f"{name}: exits {status}", r.returncode == status, (r.returncode, r.stderr))
            check(f"{name}: one answer a line", out[-1] == "" and len(out) - 1 == len(lines), out)
            for line, answer in zip(lines, out):
                if json_out:
                    try:
                        json.loads(answer)
                    except ValueError:
                        check(f"{name}: JSON of {line[:20]!r} parses", False, answer)
                elif not line.strip():
                    check(f"{name}: a blank line gets a blank answer", answer == "", answer)

# As a coprocess: each answer comes while standard input is still open.
p = subprocess.Popen([KALVORI, "--lookup", "-"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=ENV)
try:
    for text in (READ, REFUSED, ""):
        p.stdin.write(text.encode() + b"\n")
        p.stdin.flush()
        ready = select.select([p.stdout], [], [], 5)[0]
        check(f"coprocess answers {text!r} at once", ready and p.stdout.readline().endswith(b"\n"))
        if not ready:
            break
    p.stdin.close()
    check("coprocess ends with 1 after a refusal", p.wait(timeout=10) == 1)
finally:
    p.kill()

# With no display the window does not start: one line that says so and points to --lookup, not the
# toolkit's abort. A look-up never loads the toolkit's platform, even the one that needs a display.
for extra in ({}, {"QT_QPA_PLATFORM": "xcb"}, {"QT_QPA_PLATFORM": "wayland;xcb"}):
    r = run([], env={**ENV, **extra})
    err = r.stderr.decode().splitlines()
    check(f"no display {extra}: exits 1", r.returncode == 1, r.returncode)
    check(f"no display {extra}: one line naming --lookup", len(err) == 1 and "--lookup" in err[0], err)
    r = run(["--lookup", READ], env={**ENV, **extra})
    check(f"no display {extra}: --lookup answers", r.returncode == 0 and r.stderr == b"", r.stderr)
# A platform that needs no display is the user's to choose: the window starts, and is ended here.
try:
    r = run(["-platform", "offscreen"], timeout=3)
    check("-platform offscreen starts the window", False, f"ended with {r.returncode}: {r.stderr.decode()}")
except subprocess.TimeoutExpired:
    pass

print("\n".join(failures) if failures else "the terminal command answers as it should")
sys.exit(1 if failures else 0)
