#!/usr/bin/python3
"""Prints the accessibility tree of a running program as a screen reader
reaches it over AT-SPI: each object's role, name, description, the label
that names it (its labelled-by relation) and whether it takes the focus.

Run it on the same session bus and display as the program, started with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, e.g. under dbus-run-session, Xvfb and a
window manager (needs Debian's at-spi2-core and python3-pyatspi):

  scripts/a11y_tree.py [--app KVN] [--window TITLE] [--unnamed] [--depth N]

--unnamed lists only the shown objects that take the focus and have no
name of their own nor a label, and exits 1 when there are any.
"""
import argparse
import sys

import pyatspi


def labelled_by(obj):
    for relation in obj.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names = [relation.getTarget(i).name for i in range(relation.getNTargets())]
            return " / ".join(n for n in names if n)
    return ""


def walk(obj, depth, limit, out):
    if obj is None or depth > limit:
        return
    states = obj.getState()
    out.append((depth, obj, states))
    for i in range(obj.childCount):
        walk(obj.getChildAtIndex(i), depth + 1, limit, out)


def describe(depth, obj, states):
    label = labelled_by(obj)
    text = "  " * depth + f"[{obj.getRoleName()}] {obj.name!r}"
    if label:
        text += f" labelled-by {label!r}"
    if obj.description:
        text += f" - {obj.description!r}"
    flags = [f for f, s in (("focusable", pyatspi.STATE_FOCUSABLE), ("showing", pyatspi.STATE_SHOWING))
             if states.contains(s)]
    return text + (" {" + ",".join(flags) + "}" if flags else "")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", default="KVN", help="the application's name on the bus")
    parser.add_argument("--window", default="", help="only the windows whose title contains this")
    parser.add_argument("--unnamed", action="store_true", help="list the unnamed focusable objects only")
    parser.add_argument("--depth", type=int, default=40)
    args = parser.parse_args()
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    app = next((a for a in apps if a is not None and a.name.lower() == args.app.lower()), None)
    if app is None:
        print(f"no application {args.app!r} on the bus; found: {[a.name for a in apps if a]}", file=sys.stderr)
        return 2
    unnamed = 0
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is None or args.window not in window.name:
            continue
        found = []
        walk(window, 0, args.depth, found)
        for depth, obj, states in found:
            if not args.unnamed:
                print(describe(depth, obj, states))
            elif (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)
                  and obj.getRole() != pyatspi.ROLE_TABLE_CELL  # an empty cell: no text to read
                  and not obj.name.strip() and not labelled_by(obj)):
                unnamed += 1
                print(f"{window.name}: {describe(0, obj, states)}")
    return 1 if unnamed else 0


if __name__ == "__main__":
    sys.exit(main())
