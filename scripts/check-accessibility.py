#!/usr/bin/python3
"""Looks at the running panel as assistive technology does, through the AT-SPI accessibility API.

  check-accessibility.py tree             lists the main screen's buttons by name, role and value,
                                          switches LED 3 on through its action and waits until
                                          the check box reports it lit, then goes to the grouping
                                          screen and back through the buttons' actions
  check-accessibility.py status           goes to the alarms screen and reads each tile (the alarm,
                                          raised or clear and where), raises an over-temperature
                                          alarm on LED 3 and waits for its tile's change to be
                                          announced and read, then reads the maintenance screen's
                                          values (label and value), clears the alarm and goes back
  check-accessibility.py focus <name>     waits until the button of that name has the focus
  check-accessibility.py ring <before.ppm> <after.ppm>
                                          the focus ring's colour is in the second screenshot
                                          and not in the first

Run by scripts/check-accessibility.sh inside the panel's D-Bus session; exits 0 when the step
passed."""
import subprocess
import sys
import time
import warnings

import re

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# The binding calls the action's name getter deprecated but offers no other under that name.
warnings.simplefilter("ignore", DeprecationWarning)

APPLICATION = "rz470-control-panel"
LED = "LED 3 on"


def fail(text):
    print("FAIL: " + text, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe, seconds=30.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        # Events from the accessibility bus arrive through the main loop meanwhile.
        pause = time.monotonic() + 0.25
        while time.monotonic() < pause:
            if not GLib.MainContext.default().iteration(False):
                time.sleep(0.02)
    fail("gave up waiting for " + what)


def panel_application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == APPLICATION:
            return app
    return None


def panel_window(app):
    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        if window is not None and window.get_role() == Atspi.Role.DIALOG:
            for j in range(window.get_child_count()):
                child = window.get_child_at_index(j)
                if child is not None and child.get_name() == LED:
                    return window
    return None


def children(window):
    return [window.get_child_at_index(i) for i in range(window.get_child_count())]


def value_of(accessible):
    if "Value" not in accessible.get_interfaces():
        return None
    return Atspi.Value.get_current_value(accessible)


def is_checked(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.CHECKED)


def panel_window_now():
    app = wait_for("the panel on the accessibility bus", panel_application)
    return wait_for("the main screen's buttons", lambda: panel_window(app))


def check_focus(name):
    window = panel_window_now()

    def focused():
        for child in children(window):
            if child.get_name() == name and child.get_state_set().contains(Atspi.StateType.FOCUSED):
                return child
        return None

    wait_for("the focus on " + name, focused, seconds=10)
    print("the focus is on %r" % name)


# The ring's outer colour (KeyboardFocus.cpp).
RING = bytes((255, 214, 0))


def read_ppm(path):
    """The pixels of a binary PPM (P6) with 8-bit samples, as one bytes object."""
    with open(path, "rb") as file:
        data = file.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        fail("%s is no 8-bit binary PPM" % path)
    return data[at + 1:]


def ring_pixels(pixels):
    return sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] == RING)


def check_ring(before, after):
    without, with_ring = ring_pixels(read_ppm(before)), ring_pixels(read_ppm(after))
    print("focus-ring pixels: %d before Tab, %d after" % (without, with_ring))
    if without != 0:
        fail("the ring's colour shows before the keyboard was used")
    if with_ring < 100:
        fail("no focus ring in the screenshot after Tab")


def check_tree():
    app = wait_for("the panel on the accessibility bus", panel_application)
    window = wait_for("the main screen's buttons", lambda: panel_window(app))
    print("the panel's %s has %d children" % (window.get_role_name(), window.get_child_count()))

    buttons = []
    for child in children(window):
        role = child.get_role()
        if role not in (Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.SLIDER):
            continue
        if role == Atspi.Role.SLIDER and not child.get_state_set().contains(Atspi.StateType.SHOWING):
            continue
        value = value_of(child)
        shown = "" if value is None else " = %g" % value
        if role == Atspi.Role.CHECK_BOX:
            shown += " [checked]" if is_checked(child) else " [not checked]"
        print("  %-12s %s%s" % (child.get_role_name(), child.get_name(), shown))
        buttons.append(child)
    names = [b.get_name() for b in buttons]
    for expected in ("LED 1 on", "Violet 405 intensity up", "UV 365 intensity entry", "GROUPING", "EXIT"):
        if expected not in names:
            fail("no button named %r" % expected)
    print("%d buttons and sliders listed by name" % len(buttons))

    led = next(b for b in buttons if b.get_name() == LED)
    if is_checked(led):
        fail(LED + " is lit before its action ran")
    if "Action" not in led.get_interfaces():
        fail(LED + " has no action")
    actions = [Atspi.Action.get_action_name(led, i) for i in range(Atspi.Action.get_n_actions(led))]
    print("%s: actions %s" % (LED, ", ".join(actions)))
    if "Press" not in actions:
        fail(LED + " has no Press action")
    Atspi.Action.do_action(led, actions.index("Press"))

    def lit():
        # The check box follows the unit's own report, read by the panel's poll.
        return is_checked(led)

    wait_for(LED + " to report the LED lit", lit, seconds=10)
    status = subprocess.run(["rz470-sim", "status"], capture_output=True, text=True, check=True).stdout
    if "unit0.channel3.on=1" not in status.splitlines():
        fail("the simulated unit does not have LED 3 on")
    print("%s switched through its action: the check box is checked and the simulated unit has LED 3 on" % LED)

    # The tree follows the screens.
    for leave, arrive in (("GROUPING", "RETURN TO MAIN SCREEN"), ("RETURN TO MAIN SCREEN", LED)):
        press(window, leave)
        wait_for("the button %r after %r" % (arrive, leave), lambda: named(window, arrive), seconds=10)
        print("%s pressed through its action: %r is listed" % (leave, arrive))


def named(window, name):
    return next((child for child in children(window) if child is not None and child.get_name() == name), None)


def press(window, name):
    button = named(window, name)
    if button is None:
        fail("no button named %r" % name)
    Atspi.Action.do_action(button, 0)


def sim(*words):
    subprocess.run(["rz470-sim"] + list(words), capture_output=True, text=True, check=True)


def texts(window):
    """The painted values of the shown screen: read-only labels, each with its value as its
    description."""
    return {child.get_name(): child.get_description() for child in children(window)
            if child is not None and child.get_role() == Atspi.Role.LABEL}


ALARM_TILES = ("Max Temp Exceeded", "Min Temp Exceeded", "LED Module Fail", "Light Guide Not Present",
               "Comms Error", "Watchdog Timeout", "NVM Fail", "System Performance")
RAISED_TILE = "Max Temp Exceeded"


def check_status_screens():
    window = panel_window_now()
    heard = []

    def on_event(event):
        source = event.source
        heard.append((event.type, source.get_name() if source is not None else None))

    listener = Atspi.EventListener.new(on_event)
    listener.register("object:property-change:accessible-description")

    press(window, "ALARMS")
    wait_for("the alarm tiles", lambda: len(texts(window)) == len(ALARM_TILES), seconds=10)
    tiles = texts(window)
    for name in ALARM_TILES:
        if name not in tiles:
            fail("no alarm tile named %r" % name)
        print("  %-24s %s" % (name, tiles[name]))
    if tiles[RAISED_TILE] != "clear":
        fail("%s is %r before any alarm was raised" % (RAISED_TILE, tiles[RAISED_TILE]))
    print("the alarms screen's %d tiles are read by name, each raised or clear" % len(tiles))

    heard.clear()
    sim("channel-status", "3", "set", "overtemp")
    wait_for("%s raised on LED 3" % RAISED_TILE,
             lambda: texts(window).get(RAISED_TILE) == "raised on LED 3", seconds=10)
    wait_for("the change of %s announced" % RAISED_TILE,
             lambda: any(name == RAISED_TILE for _, name in heard), seconds=10)
    print("LED 3 over temperature: %r reads %r, and its change was announced" %
          (RAISED_TILE, texts(window)[RAISED_TILE]))

    press(window, "RETURN TO MAIN SCREEN")
    wait_for("the main screen", lambda: named(window, LED), seconds=10)
    press(window, "MAINTENANCE")
    wait_for("the maintenance values", lambda: "Serial Number" in texts(window), seconds=10)
    values = texts(window)
    for name, pattern in (("Software Versions", r"^\d+\.\d+\.\d+/\S+$"),
                          ("Serial Number", r"^(RZ\S+-\d{5,}|Undefined Type)$"),
                          ("Errors", r"LED \d+nm Over Temperature")):
        value = values.get(name)
        if value is None:
            fail("no maintenance value labelled %r" % name)
        if not re.search(pattern, value):
            fail("%s reads %r" % (name, value))
        print("  %-18s %s" % (name, value))
    print("the maintenance screen's values are read with their labels")

    sim("channel-status", "3", "clear", "overtemp")
    press(window, "RETURN TO MAIN SCREEN")
    wait_for("the main screen", lambda: named(window, LED), seconds=10)
    listener.deregister("object:property-change:accessible-description")


def main(args):
    if args[:1] == ["tree"] and len(args) == 1:
        check_tree()
    elif args[:1] == ["status"] and len(args) == 1:
        check_status_screens()
    elif args[:1] == ["focus"] and len(args) == 2:
        check_focus(args[1])
    elif args[:1] == ["ring"] and len(args) == 3:
        check_ring(args[1], args[2])
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(3)


if __name__ == "__main__":
    main(sys.argv[1:])
