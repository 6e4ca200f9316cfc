#!/usr/bin/python3
"""Reads Kalvori's window the way a screen reader does, over the desktop accessibility bus (AT-SPI).

Run by accessibility_bus_test.sh, which starts a virtual display, a D-Bus session, the accessibility
bus and the program. Prints what it heard; exits non-zero if a name, a value or a press went wrong.
Needs Debian's python3-gi and gir1.2-atspi-2.0.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def wait_for(what, find, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"not found within {seconds} s: {what}")


def application(name):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == name:
            return app
    return None


def showing(app):
    """Every accessible that is on the screen, as (role, name, node)."""
    found, stack = [], [app]
    while stack:
        node = stack.pop()
        if node.get_state_set().contains(Atspi.StateType.SHOWING):
            found.append((node.get_role_name(), node.get_name(), node))
        stack.extend(c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c)
    return found


def buttons_shown(app):
    """What is showing, once the window's buttons are."""
    nodes = showing(app)
    return nodes if any(role == "push button" for role, _, _ in nodes) else None


def run_events(steps, settle):
    """Runs each step in turn in the event loop that delivers what the program tells, then listens
    for `settle` seconds more."""
    loop = GLib.MainLoop()

    def next_step():
        if steps:
            steps.pop(0)()
            return True
        GLib.timeout_add(int(settle * 1000), loop.quit)
        return False

    GLib.timeout_add(200, next_step)
    loop.run()


def text_of(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def one(nodes, role, name):
    matches = [n for r, nm, n in nodes if r == role and nm.strip() == name]
    if not matches:
        sys.exit(f"no {role} named {name!r} is showing")
    # Of several (one colour button per column), the leftmost.
    return min(matches, key=lambda n: n.get_extents(Atspi.CoordType.SCREEN).x)


def main():
    Atspi.init()
    app = wait_for("the application Kalvori", lambda: application("Kalvori"))
    nodes = wait_for("its buttons", lambda: buttons_shown(app))

    failures = []

    def expect(what, got, wanted):
        print(f"{what}: {got!r}")
        if got != wanted:
            failures.append(f"{what}: {got!r}, expected {wanted!r}")

    five_band = one(nodes, "radio button", "五环色标标识的电阻阻值")
    expect("mode 五环色标标识的电阻阻值 checked", five_band.get_state_set().contains(Atspi.StateType.CHECKED), True)
    buttons = sorted({nm for r, nm, _ in nodes if r == "push button"})
    print("some buttons:", ", ".join(repr(b) for b in buttons[:8]))

    # Brown in the first column, pressed as a screen reader presses it.
    brown = one(nodes, "push button", "棕      1")
    brown.do_action(0)
    box = one(nodes, "text", "数值第1格")
    swatch = one(nodes, "text", "五环电阻第1环颜色")
    wait_for("the digit in the first value box", lambda: text_of(box) == "1", 5)
    expect("value box 数值第1格 reads", text_of(box), "1")
    expect("swatch 五环电阻第1环颜色 described as", swatch.get_description(), "棕")

    # The look-up line, opened with Ctrl+F from the value box: each keystroke's answer is told as the
    # description of the input, which has the keyboard, so that a screen reader speaks it.
    told = []
    listener = Atspi.EventListener.new(
        lambda e: told.append(e.source.get_description()) if e.source.get_name() == "查数值" else None)
    listener.register("object:property-change:accessible-description")
    Atspi.Component.grab_focus(box)
    control = 37  # Control_L in the X server's keymap
    keys = [lambda: Atspi.generate_keyboard_event(control, None, Atspi.KeySynthType.PRESS),
            lambda: Atspi.generate_keyboard_event(ord("f"), None, Atspi.KeySynthType.SYM),
            lambda: Atspi.generate_keyboard_event(control, None, Atspi.KeySynthType.RELEASE)]
    typed = "4k7 5%"
    keys += [lambda c=c: Atspi.generate_keyboard_event(0, c, Atspi.KeySynthType.STRING) for c in typed]
    run_events(keys, settle=1.5)
    line = [n for r, nm, n in showing(app) if r == "text" and nm == "查数值"]
    expect("look-up line showing", len(line), 1)
    if line:
        expect("look-up line holds", text_of(line[0]), typed)
        expect("an answer told for each new text (at least the first and the last)", len(set(told)) >= 2, True)
        expect("the last answer told is the one it describes", told[-1:], [line[0].get_description()])
        print("answer told:", told[-1:] and told[-1])

    if failures:
        sys.exit("\n".join(failures))


if __name__ == "__main__":
    main()
