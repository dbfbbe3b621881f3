#!/usr/bin/env python3
# Ramps LED 3 of the running panel from 0 to 100 % in 1 % steps over the session bus, printing
# every event the panel sends meanwhile. Ends with 1 when the panel refuses a step.
import sys

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
panel = dbus.Interface(bus.get_object("example.varnholt.Orvane", "/example/varnholt/Orvane"),
                       "example.varnholt.Orvane1")


def channel_changed(channel, on, level, name, by):
    print(f"LED {channel} {'on' if on else 'off'} at {level / 10:.1f} % ({name}), by {by}", flush=True)


def alarm_changed(channel, raised, bits):
    where = f"LED {channel}" if channel else "the unit"
    print(f"alarm {'raised' if raised else 'cleared'} on {where}: bits 0x{bits:04x}", flush=True)


panel.connect_to_signal("ChannelChanged", channel_changed)
panel.connect_to_signal("AlarmChanged", alarm_changed)
panel.connect_to_signal("UnitFound", lambda: print("unit found", flush=True))
panel.connect_to_signal("UnitLost", lambda: print("unit lost", flush=True))

loop = GLib.MainLoop()
result = {"percent": 0, "exit": 0}


def step():
    try:
        panel.SetLevel(dbus.Array([3], signature="i"), float(result["percent"]))
        if result["percent"] == 0:
            panel.SwitchOn(dbus.Array([3], signature="i"))
    except dbus.DBusException as refusal:
        print(f"refused: {refusal.get_dbus_name()}: {refusal.get_dbus_message()}", file=sys.stderr)
        result["exit"] = 1
        loop.quit()
        return False
    result["percent"] += 1
    if result["percent"] > 100:
        # The last events are on their way; let them arrive.
        GLib.timeout_add(500, loop.quit)
        return False
    return True


GLib.timeout_add(20, step)
loop.run()
sys.exit(result["exit"])
