#!/usr/bin/python3
# A fake desktop for the background journey, run inside `session`: a
# notification server (org.freedesktop.Notifications) that appends every
# Notify call to LOG as a JSON line {"id", "summary", "body", "actions"}, and,
# with --status-area, a status-notifier watcher (org.kde.StatusNotifierWatcher)
# with a host, appending {"item": BUS NAME} for every icon registered.
# The journey clicks a notification through the server's own extra method
# org.tallyport.Test.InvokeAction(id, key), which emits ActionInvoked.
# Prints "ready" once its names are owned; stops on SIGTERM.
import json
import signal
import sys

from gi.repository import Gio, GLib

NOTIFICATIONS = """<node>
<interface name="org.freedesktop.Notifications">
 <method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/>
  <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
  <arg type="as" direction="in"/><arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
  <arg type="u" direction="out"/></method>
 <method name="CloseNotification"><arg type="u" direction="in"/></method>
 <method name="GetCapabilities"><arg type="as" direction="out"/></method>
 <signal name="NotificationClosed"><arg type="u"/><arg type="u"/></signal>
 <signal name="ActionInvoked"><arg type="u"/><arg type="s"/></signal>
</interface>
<interface name="org.tallyport.Test">
 <method name="InvokeAction"><arg type="u" direction="in"/><arg type="s" direction="in"/></method>
</interface></node>"""

WATCHER = """<node><interface name="org.kde.StatusNotifierWatcher">
 <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
 <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
 <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
 <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
 <property name="ProtocolVersion" type="i" access="read"/>
 <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
</interface></node>"""


def main():
    log_path = sys.argv[1]
    with_watcher = "--status-area" in sys.argv[2:]
    loop = GLib.MainLoop()
    shown, items, owned = [0], [], []

    def log(record):
        with open(log_path, "a", encoding="utf-8") as f:
            f.write(json.dumps(record, ensure_ascii=False) + "\n")

    def on_notifications(conn, sender, path, iface, method, params, invocation):
        if method == "Notify":
            _app, _replaces, _icon, summary, body, actions, _hints, _timeout = params.unpack()
            shown[0] += 1
            log({"id": shown[0], "summary": summary, "body": body, "actions": actions})
            invocation.return_value(GLib.Variant("(u)", (shown[0],)))
        elif method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body", "actions"],)))
        elif method == "InvokeAction":
            nid, key = params.unpack()
            conn.emit_signal(None, path, "org.freedesktop.Notifications", "ActionInvoked",
                             GLib.Variant("(us)", (nid, key)))
            conn.emit_signal(None, path, "org.freedesktop.Notifications", "NotificationClosed",
                             GLib.Variant("(uu)", (nid, 2)))
            invocation.return_value(None)
        else:
            invocation.return_value(None)

    def on_watcher(conn, sender, path, iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            service = params.unpack()[0]
            items.append(sender if service.startswith("/") else service)
            log({"item": items[-1]})
            conn.emit_signal(None, path, iface, "StatusNotifierItemRegistered", GLib.Variant("(s)", (items[-1],)))
        invocation.return_value(None)

    def get_watcher_property(conn, sender, path, iface, name):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", items),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}[name]

    def on_bus(conn, name):
        if name == "org.freedesktop.Notifications":
            for iface in Gio.DBusNodeInfo.new_for_xml(NOTIFICATIONS).interfaces:
                conn.register_object("/org/freedesktop/Notifications", iface, on_notifications, None, None)
        else:
            iface = Gio.DBusNodeInfo.new_for_xml(WATCHER).interfaces[0]
            conn.register_object("/StatusNotifierWatcher", iface, on_watcher, get_watcher_property, None)

    def on_name(conn, name):
        owned.append(name)
        if len(owned) == (2 if with_watcher else 1):
            print("ready", flush=True)

    def on_lost(conn, name):
        print("fake_desktop: could not own %s" % name, file=sys.stderr)
        loop.quit()

    names = ["org.freedesktop.Notifications"] + (["org.kde.StatusNotifierWatcher"] if with_watcher else [])
    for name in names:
        Gio.bus_own_name(Gio.BusType.SESSION, name, Gio.BusNameOwnerFlags.NONE, on_bus, on_name, on_lost)
    for sig in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, sig, loop.quit)
    loop.run()


if __name__ == "__main__":
    main()
