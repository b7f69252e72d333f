#!/usr/bin/python3
# Moves the pointer of a mutter session back and forth every 100 ms until killed, through
# org.gnome.Mutter.RemoteDesktop (its session closes when this connection goes). With the argument
# "Return", types that key every 500 ms instead.
import sys
import time

from gi.repository import Gio


def proxy(path, interface):
    return Gio.DBusProxy.new_for_bus_sync(Gio.BusType.SESSION, Gio.DBusProxyFlags.NONE, None,
                                          "org.gnome.Mutter.RemoteDesktop", path, interface, None)


desktop = proxy("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop")
session = proxy(desktop.CreateSession("()"), "org.gnome.Mutter.RemoteDesktop.Session")
session.Start("()")
while sys.argv[1:] == ["Return"]:
    # The virtual keyboard takes a moment to appear: keys sent at once are lost.
    time.sleep(0.5)
    for pressed in (True, False):
        session.NotifyKeyboardKeysym("(ub)", 0xff0d, pressed)
dx = 5.0
while True:
    session.NotifyPointerMotionRelative("(dd)", dx, dx)
    dx = -dx
    time.sleep(0.1)
