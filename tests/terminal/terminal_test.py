#!/usr/bin/env python3
"""The program as a terminal command, run as a process with no display: what it prints, how it
exits, and that it never reaches for the window's toolkit. Usage: terminal_test.py KALVORI WRITE_PHOTO

KALVORI_PHOTOS may name a folder of photos of real resistors with a labels.csv (file,ohms): each is
then read too, and KALVORI_PHOTOS_RIGHT (a share, 0 unless given) is the least share whose best
reading must have the label's value."""
import csv
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import zlib

KALVORI, WRITE_PHOTO = sys.argv[1], sys.argv[2]
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
    (["--photo"], 2),
    (["--photo", "a.png", "--lookup", READ], 2),
    (["--photo", "a.png", "--mode", "r4"], 2),
    (["--photo", "a.png", "b.png"], 2),
    (["--photo", "a.png", "--photo", "b.png"], 2),
    (["--photo", "a.png", "--line", "1,2,3"], 2),
    (["--photo", "a.png", "--line", "1,2,3,4,5"], 2),
    (["--photo", "a.png", "--line=1,2,x,4"], 2),
    (["--photo", "a.png", "--line", "nan,2,3,4"], 2),
    (["--line", "1,2,3,4"], 2),
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

# --photo. A photo that gives no reading is answered with why (1); a file that is no photo or cannot
# be opened is an error (2): one line on standard error, nothing on standard output. No file hangs
# it or ends it otherwise.
tmp = tempfile.mkdtemp()


def photo(name, width, height, colour="181818"):
    path = os.path.join(tmp, name)
    subprocess.run([WRITE_PHOTO, path, str(width), str(height), colour], check=True)
    return path


def data_file(name, data):
    path = os.path.join(tmp.encode(), name.encode() if isinstance(name, str) else name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def run_photo(args, **kwargs):
    try:
        return run(["--photo", *args], **kwargs)
    except subprocess.TimeoutExpired:
        check(f"--photo {args} ends", False, "it hangs")
        return subprocess.CompletedProcess(args, -1, b"", b"")


DARK_PNG, DARK_JPG = photo("dark.png", 320, 240), photo("dark.jpg", 320, 240)
NAMED = photo("电阻 #1 100%.jpg", 320, 240, "202020")
png = open(DARK_PNG, "rb").read()
for args in ([DARK_PNG], [DARK_JPG], [NAMED], [data_file(b"\xff\xfe.png", png)], [photo("tiny.png", 3, 2, "c08040")],
             [DARK_PNG, "--line", "10,20.5,300,20.5"], ["-"]):
    stdin = png if args == ["-"] else b""
    r = run_photo(args, stdin=stdin)
    out = r.stdout.decode().splitlines()
    check(f"{args} is refused with why", r.returncode == 1 and r.stderr == b"" and
          out[0].startswith("读不出：") and len(out[0]) > 4, (r.returncode, r.stdout.decode(), r.stderr))
    if "--line" in args:
        check(f"{args} names the line given", out[-1] == "沿给定的线 (10,20.5)–(300,20.5) 读", out)
    r = run_photo(args + ["--json"], stdin=stdin)
    try:
        obj = json.loads(r.stdout)
        check(f"{args} as JSON: one line with no readings and the refusal", r.returncode == 1 and
              r.stdout.count(b"\n") == 1 and obj["readings"] == [] and obj["refusal"], r.stdout.decode())
    except ValueError as e:
        check(f"{args} as JSON parses", False, f"{e}: {r.stdout!r}")

# A header that claims 100000 × 100000 pixels, its checksum made good so that only the size is wrong.
ihdr = b"IHDR" + (100_000).to_bytes(4, "big") * 2 + png[24:29]
huge = png[:12] + ihdr + zlib.crc32(ihdr).to_bytes(4, "big") + png[33:]
os.mkfifo(os.path.join(tmp, "pipe.png"))
NOT_PHOTOS = [
    ([os.path.join(tmp, "照片 #2 50%.jpg")], b""),  # missing: the name is shown as given
    ([data_file("notes.jpg", b"4k7 5%\n")], b""),
    ([data_file("empty.png", b"")], b""),
    ([data_file("cut.png", png[:40])], b""),
    ([data_file("huge.png", huge)], b""),
    ([tmp], b""),
    ([os.path.join(tmp, "pipe.png")], b""),
    ([os.path.join(tmp.encode(), b"\xff\x1b[2J.png")], b""),  # shown as UTF-8 without the escape
    (["-"], b"no image"),
]
for args, stdin in NOT_PHOTOS:
    r = run_photo(args, stdin=stdin)
    err = r.stderr.decode("utf-8", "replace").splitlines()
    # One line of UTF-8 with no control character (libpng writes a broken PNG's error itself, before it).
    check(f"{args} is no photo: 2, one line on standard error", r.returncode == 2 and r.stdout == b"" and
          err and err[-1].startswith("kalvori：") and not any(line.startswith("kalvori") for line in err[:-1]) and
          "\ufffd" not in err[-1] and "\x1b" not in err[-1], (r.returncode, r.stdout, r.stderr))
check("a missing file is named", "照片 #2 50%.jpg" in run_photo(NOT_PHOTOS[0][0]).stderr.decode())
# A cut JPEG decodes as far as it goes, or not at all.
for cut in (len(open(DARK_JPG, "rb").read()) // 2, 200):
    r = run_photo([data_file(f"cut{cut}.jpg", open(NAMED, "rb").read()[:cut])])
    check(f"a JPEG cut at {cut} is answered", r.returncode in (1, 2), (r.returncode, r.stderr))

# Painted resistors as JPEG: the best reading first, the same as plain text and as JSON, along the
# line the reader found or the one given.
for bands, ohms, text in ((["yellow", "violet", "red", "gold"], 4700, "4.7 kΩ ±5%"),
                          (["brown", "black", "black", "brown", "brown"], 1000, "1 kΩ ±1%")):
    path = os.path.join(tmp, "-".join(bands) + ".jpg")
    made = subprocess.run([WRITE_PHOTO, path, "resistor", ",".join(bands)], capture_output=True, text=True)
    for args, said in (([path], "沿自动找到的线"), ([path, "--line", made.stdout.strip()], "沿给定的线")):
        r = run_photo(args)
        out = r.stdout.decode().splitlines()
        check(f"{bands} {args[1:]}: read, best first", r.returncode == 0 and out and out[0].startswith("1. ") and
              text in out[0] and out[-1].startswith(said), (r.returncode, out))
        r = run_photo(args + ["--json"])
        best = json.loads(r.stdout)["readings"][0] if r.returncode == 0 else {}
        check(f"{bands} {args[1:]} as JSON", best.get("bands") == bands and best.get("value") == ohms and
              best.get("unit") == "Ω" and 0 < best.get("score", 0) <= 1, r.stdout)

# Photos of real resistors (see the top).
if os.environ.get("KALVORI_PHOTOS"):
    folder = os.environ["KALVORI_PHOTOS"]
    with open(os.path.join(folder, "labels.csv")) as f:
        labels = {row["file"]: float(row["ohms"]) for row in csv.DictReader(f)}
    right = 0
    for name, ohms in sorted(labels.items()):
        r = run_photo([os.path.join(folder, name), "--json"], timeout=60)
        try:
            readings = json.loads(r.stdout)["readings"]
        except ValueError:
            check(f"{name} as JSON parses", False, r.stdout)
            continue
        check(f"{name}: exits 0 exactly with a reading", r.returncode == (0 if readings else 1), r.returncode)
        out = run_photo([os.path.join(folder, name)], timeout=60).stdout.decode().splitlines()
        check(f"{name}: a line a reading, numbered, then the line read along", readings == [] or (
            len(out) == len(readings) + 1 and out[-1].startswith("沿") and
            all(line.startswith(f"{i}. ") for i, line in enumerate(out[:-1], 1))), out)
        right += bool(readings) and float(readings[0]["value"]) == ohms
    print(f"real photos: {right} of {len(labels)} read right")
    least = float(os.environ.get("KALVORI_PHOTOS_RIGHT", "0"))
    check("real photos read right", right >= least * len(labels), f"{right} of {len(labels)}")

# With no display the window does not start: one line that says so and points to --lookup, not the
# toolkit's abort. A look-up never loads the toolkit's platform, even the one that needs a display.
for extra in ({}, {"QT_QPA_PLATFORM": "xcb"}, {"QT_QPA_PLATFORM": "wayland;xcb"}):
    r = run([], env={**ENV, **extra})
    err = r.stderr.decode().splitlines()
    check(f"no display {extra}: exits 1", r.returncode == 1, r.returncode)
    check(f"no display {extra}: one line naming --lookup", len(err) == 1 and "--lookup" in err[0], err)
    r = run(["--lookup", READ], env={**ENV, **extra})
    check(f"no display {extra}: --lookup answers", r.returncode == 0 and r.stderr == b"", r.stderr)
    # The loader's list of what it loads: image format plugins, but no platform.
    r = run(["--photo", DARK_JPG], env={**ENV, **extra, "LD_DEBUG": "files"})
    check(f"no display {extra}: --photo answers without a platform plugin", r.returncode == 1 and
          b"/imageformats/" in r.stderr and b"/platforms/" not in r.stderr, r.returncode)
# A platform that needs no display is the user's to choose: the window starts, and is ended here.
try:
    r = run(["-platform", "offscreen"], timeout=3)
    check("-platform offscreen starts the window", False, f"ended with {r.returncode}: {r.stderr.decode()}")
except subprocess.TimeoutExpired:
    pass

shutil.rmtree(tmp)
print("\n".join(failures) if failures else "the terminal command answers as it should")
sys.exit(1 if failures else 0)
