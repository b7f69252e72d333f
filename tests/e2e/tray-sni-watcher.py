#!/usr/bin/python3
"""A StatusNotifierWatcher with a host registered, for the tray tests' private session bus.
Writes "service path" of each item that registers to the file given, one line each."""
import sys

from gi.repository import Gio, GLib

XML = """<node><interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>"""


def call(connection, sender, path, interface, method, args, invocation):
    if method == "RegisterStatusNotifierItem":
        service = args.unpack()[0]
        # An item may name its object path only; its bus name is then the sender's.
        line = f"{sender} {service}" if service.startswith("/") else f"{service} /StatusNotifierItem"
        with open(sys.argv[1], "a") as out:
            out.write(line + "\n")
    invocation.return_value(None)


def get(connection, sender, path, interface, name):
    return GLib.Variant("b", True)  # IsStatusNotifierHostRegistered, the one property


def acquired(connection, name):
    info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
    connection.register_object("/StatusNotifierWatcher", info, call, get, None)


def owned(connection, name):
    open(sys.argv[1] + ".ready", "w").close()


Gio.bus_own_name(Gio.BusType.SESSION, "org.kde.StatusNotifierWatcher",
                 Gio.BusNameOwnerFlags.NONE, acquired, owned, None)
GLib.MainLoop().run()
