#!/usr/bin/python3
"""Moves the pointer of a mutter session back and forth every 100 ms until killed, through
org.gnome.Mutter.RemoteDesktop (its session closes when this connection goes). With the argument
"Return", types that key every 500 ms instead."""
import sys
import time

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                         GLib.VariantType(reply) if reply else None,
                         Gio.DBusCallFlags.NONE, -1, None)


session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
               "CreateSession", None, "(o)").unpack()[0]
iface = "org.gnome.Mutter.RemoteDesktop.Session"
call(session, iface, "Start")
while sys.argv[1:] == ["Return"]:
    # The virtual keyboard takes a moment to appear: keys sent at once are lost.
    time.sleep(0.5)
    for pressed in (True, False):
        call(session, iface, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (0xff0d, pressed)))
dx = 5.0
while True:
    call(session, iface, "NotifyPointerMotionRelative", GLib.Variant("(dd)", (dx, dx)))
    dx = -dx
    time.sleep(0.1)
