# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the Qt window through AT-SPI as a screen reader does: the names and label
# relations of List1, EditWindow, the key label and the find field, a row read with
# "line break", and the notes said: "Not found" (twice), then the over-limit note.
# Keys come from xdotool; every step waits for what it expects, for at most 30 s.
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import Atspi, GLib  # noqa: E402

events = []


def heard(event):
    events.append((event.type, event.source.getRoleName(), event.source.name,
                   event.source.description, event.detail1))


def until(what, check):
    end = time.monotonic() + 30
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        found = check()
        if found:
            return found
        time.sleep(0.05)
    sys.exit(f"FAIL: {what}; events: {events[-8:]}")


def editor():
    return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "edt-editor"), None)


def find(role, name):
    return pyatspi.findDescendant(frame, lambda a: a.getRoleName() == role and a.name == name)


def labels(accessible):
    return {r.getTarget(i).name for r in accessible.getRelationSet()
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())}


def keys(*args):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *args], check=True)


listener = Atspi.EventListener.new(heard)
for kind in ("object:state-changed:showing", "object:property-change:accessible-description"):
    listener.register(kind)
frame = until("no editor window on the AT-SPI bus", lambda: editor() and editor()[0])
entries = until("no list named Entries", lambda: find("list", "Entries"))
until("List1 has not the focus", lambda: entries.getState().contains(pyatspi.STATE_FOCUSED))
row = entries[0].name
if "line break" not in row or "\u21b5" in row:
    sys.exit(f"FAIL: the first row reads {row!r}")
keys("Down")
text = find("text", "Record text")
until("the text box is not labelled by the key, count and limit",
      lambda: {"0000001", "136", "Record Length (Max 235):"} <= labels(text))
if labels(find("label", "0000001")) != {"Record:"} or not find("text", "Find key or text"):
    sys.exit("FAIL: the key label is not labelled by Record:, or no find field")

keys("ctrl+f")
subprocess.run(["xdotool", "type", "zzqq"], check=True)
keys("Return")
keys("Return")
until("'Not found' not said twice", lambda: events.count(
    ("object:state-changed:showing", "notification", "Not found", "", 1)) == 2)
keys("Escape", "Tab")


def past_limit():
    if any(e[0].endswith("description") and e[2] == "Record text" and "holds at most" in e[3]
           for e in events):
        return True
    subprocess.run(["xdotool", "type", "x" * 20], check=True)  # until the text is too long


until("the over-limit note not said", past_limit)

print("ok: names, relations, rows and notes read through AT-SPI")
