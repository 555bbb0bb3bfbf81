# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the Qt window through AT-SPI as a screen reader does: the names and label
# relations of List1, EditWindow, the key label and the find field, a row read with
# "line break", and the notes said: "Not found" (twice), then the over-limit note.
# Keys come from xdotool; every step waits for what it expects, for at most 30 s.
# Usage: accessibility_test.py EDT_EDITOR FILE
import atexit
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

events = []
listener = Atspi.EventListener.new(lambda e: events.append(
    (e.type, e.source.getRoleName(), e.source.name, e.source.description, e.detail1)))
for kind in ("object:state-changed:showing", "object:property-change:accessible-description"):
    listener.register(kind)
# Started once listened to: Qt may miss a listener that comes while it starts.
editor = subprocess.Popen(sys.argv[1:])
atexit.register(editor.kill)


def until(what, check, *step):
    for _ in range(300):
        while GLib.MainContext.default().iteration(False):
            pass
        found = check()
        if found:
            return found
        subprocess.run(["xdotool", *step] if step else ["sleep", "0.1"], check=True)
    sys.exit(f"FAIL: {what}; events: {events[-8:]}")


def find(role, name):
    return pyatspi.findDescendant(frame, lambda a: a.getRoleName() == role and a.name == name)


def labels(accessible):
    return {r.getTarget(i).name for r in accessible.getRelationSet()
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())}


frame = until("no editor window on the bus", lambda: next(
    (a[0] for a in pyatspi.Registry.getDesktop(0) if a and a.name == "edt-editor" and a[0]), None))
entries = until("no list named Entries", lambda: find("list", "Entries"))
until("List1 has not the focus", lambda: entries.getState().contains(pyatspi.STATE_FOCUSED))
if "line break" not in entries[0].name or "\u21b5" in entries[0].name:
    sys.exit(f"FAIL: the first row reads {entries[0].name!r}")
text = find("text", "Record text")
subprocess.run(["xdotool", "key", "Down"], check=True)
until("the text box is not labelled by the key, count and limit",
      lambda: {"0000001", "136", "Record Length (Max 235):"} <= labels(text))
if labels(find("label", "0000001")) != {"Record:"} or not find("text", "Find key or text"):
    sys.exit("FAIL: the key label is not labelled by Record:, or no find field")
for command in ("key ctrl+f", "type zzqq", "key Return Return"):
    subprocess.run(["xdotool", *command.split()], check=True)
until("'Not found' not said twice", lambda: events.count(
    ("object:state-changed:showing", "notification", "Not found", "", 1)) == 2)
subprocess.run(["xdotool", "key", "Escape", "Tab"], check=True)
until("the over-limit note not said", lambda: any(
    e[0].endswith("description") and e[2] == "Record text" and "holds at most" in e[3]
    for e in events), "type", "x" * 20)
print("ok: names, relations, rows and notes read through AT-SPI")
