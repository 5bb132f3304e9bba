#!/usr/bin/env python3
"""Prints what a screen reader finds of a running Kelvoro through the AT-SPI bus: the window,
its menus, the file list's cells with their names and states, and any dialog open.

Run it beside Kelvoro on the same session bus with accessibility on, for example
    sh scripts/atspi-session.sh FILE...
Exits 1 when no Kelvoro is on the bus or the list reads nothing.
"""
import sys

import pyatspi

MAX_CELLS = 40


def describe(node):
    state = node.getState()
    flags = [name for name, s in (("checked", pyatspi.STATE_CHECKED),
                                  ("focused", pyatspi.STATE_FOCUSED),
                                  ("selected", pyatspi.STATE_SELECTED),
                                  ("focusable", pyatspi.STATE_FOCUSABLE))
             if state.contains(s)]
    text = f"{node.getRoleName()} name={node.name!r}"
    if node.description:
        text += f" description={node.description!r}"
    return text + (f" [{', '.join(flags)}]" if flags else "")


def walk(node, depth=0, out=None, budget=None):
    out = [] if out is None else out
    budget = budget if budget is not None else [400]
    if budget[0] <= 0 or node is None:
        return out
    budget[0] -= 1
    out.append("  " * depth + describe(node))
    if node.getRole() == pyatspi.ROLE_MENU and depth > 2:
        return out
    for i in range(min(node.childCount, MAX_CELLS)):
        walk(node.getChildAtIndex(i), depth + 1, out, budget)
    return out


def cells(table):
    found = []
    iface = table.queryTable()
    for row in range(min(iface.nRows, 5)):
        texts = []
        for column in range(iface.nColumns):
            cell = iface.getAccessibleAt(row, column)
            state = " (checked)" if cell.getState().contains(pyatspi.STATE_CHECKED) else ""
            texts.append(f"{cell.name}{state}")
        found.append(f"row {row}: " + " | ".join(texts))
    return found


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [a for a in desktop if a is not None and "kelvoro" in (a.name or "").lower()]
    if not apps:
        print("no Kelvoro on the accessibility bus", file=sys.stderr)
        return 1
    ok = False
    for app in apps:
        print("\n".join(walk(app)))
        for table in pyatspi.findAllDescendants(
                app, lambda n: n.getRole() == pyatspi.ROLE_TABLE):
            rows = cells(table)
            print(f"table {table.name!r}:")
            print("\n".join("  " + r for r in rows))
            ok = ok or bool(rows)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
