#!/usr/bin/env python3
"""Reads the program's windows as a screen reader does, through AT-SPI.

    walk.py --pid PID --lang rus|eng [--read TEXT]... [--content TEXT]...

Every window on the screen must announce a title and be a window to a screen reader.
Every enabled control that takes the keyboard must have a name (its own, or a label's
that names it) with a letter or a digit in it, and no two fields of a window may share
one. In the English interface names and descriptions hold no Cyrillic, except where they
are content the program shows (--content: exam titles, file names; --read texts). Each
--read text (a question, an answer) must be readable in a window: as a name, a
description or a text of something shown. Prints one line per fault and exits 1 when
there is one.
"""

import argparse
import re
import sys
import time

import pyatspi

# Entries of lists and tables are content: what they say is checked through --read.
CONTENT_ROLES = {
    pyatspi.ROLE_LIST_ITEM,
    pyatspi.ROLE_TABLE_CELL,
    pyatspi.ROLE_TREE_ITEM,
    pyatspi.ROLE_COLUMN_HEADER,
    pyatspi.ROLE_ROW_HEADER,
}
# Controls whose name is their value (a drop-down list names its entry): a label comes
# through a relation, or a description says what the list is.
VALUE_NAMED_ROLES = {pyatspi.ROLE_COMBO_BOX}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW}
# Fields told apart by their names alone: two with one name in a window are a guess.
FIELD_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT}
CYRILLIC = re.compile("[\u0400-\u04ff]")


def squeeze(text):
    return " ".join((text or "").split())


def find_application(pid, wait=15.0):
    deadline = time.monotonic() + wait
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:  # an application leaving meanwhile
                continue
        if time.monotonic() > deadline:
            return None
        time.sleep(0.2)


def text_of(obj):
    try:
        text = obj.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, text.characterCount)


def labels_of(obj):
    names = []
    for relation in obj.getRelationSet():
        if relation.getRelationType() != pyatspi.RELATION_LABELLED_BY:
            continue
        for i in range(relation.getNTargets()):
            names.append(squeeze(relation.getTarget(i).name))
    return [name for name in names if name]


def where(obj):
    try:
        box = obj.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        return "at %d,%d %dx%d" % (box.x, box.y, box.width, box.height)
    except Exception:
        return "somewhere"


class Walk:
    def __init__(self, lang, content):
        self.lang = lang
        self.content = {squeeze(c) for c in content}
        self.faults = []
        self.controls = 0

    def window(self, win):
        title = squeeze(win.name)
        shown = title or "(untitled %s)" % win.getRoleName()
        if not title:
            self.faults.append("%s: the window announces no title" % shown)
        if win.getRole() not in WINDOW_ROLES:
            self.faults.append("%s: a %s, not a window, to a screen reader"
                               % (shown, win.getRoleName()))
        readable = [title]
        self.fields = {}
        self.visit(win, shown, readable)
        for name, count in self.fields.items():
            if count > 1:
                self.faults.append("%s: %d fields share the name %r" % (shown, count, name))
        return readable

    def visit(self, obj, title, readable):
        for i in range(obj.childCount):
            child = obj.getChildAtIndex(i)
            if child is None:
                continue
            states = child.getState()
            if not states.contains(pyatspi.STATE_SHOWING):
                continue
            readable.extend(squeeze(t) for t in (child.name, child.description, text_of(child)))
            # Tab never reaches a disabled control.
            if states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_ENABLED):
                self.control(child, title)
            self.visit(child, title, readable)

    def control(self, obj, title):
        role = obj.getRole()
        if role in CONTENT_ROLES:
            return
        self.controls += 1
        value_named = role in VALUE_NAMED_ROLES
        name = squeeze(obj.description if value_named else obj.name)
        said = [name] + labels_of(obj)
        said = [s for s in said if s]
        what = "%s: %s %s" % (title, obj.getRoleName(), where(obj))
        if not any(any(c.isalnum() for c in s) for s in said):
            shown = " (it says %r)" % said[0] if said else ""
            value = squeeze(text_of(obj))
            if value:
                shown += " holding %r" % value[:40]
            self.faults.append("%s has no name%s" % (what, shown))
            return
        if role in FIELD_ROLES:
            self.fields[said[0]] = self.fields.get(said[0], 0) + 1
        if self.lang != "eng":
            return
        for text in said + [squeeze(obj.description)]:
            if CYRILLIC.search(text) and text not in self.content:
                self.faults.append("%s is named in Russian in the English interface: %r"
                                   % (what, text))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--lang", default="rus")
    parser.add_argument("--read", action="append", default=[])
    parser.add_argument("--content", action="append", default=[])
    args = parser.parse_args()

    app = find_application(args.pid)
    if app is None:
        print("the program never appeared on the accessibility bus")
        return 1
    walk = Walk(args.lang, args.content + args.read)
    readable = []
    windows = 0
    for i in range(app.childCount):
        win = app.getChildAtIndex(i)
        if win is None or not win.getState().contains(pyatspi.STATE_SHOWING):
            continue
        windows += 1
        readable.extend(walk.window(win))
    if windows == 0:
        walk.faults.append("no window of the program is on the screen")
    heard = "\n".join(readable)
    for text in args.read:
        if squeeze(text) not in heard:
            walk.faults.append("a screen reader cannot read %r" % squeeze(text)[:60])
    for fault in walk.faults:
        print(fault)
    print("walked %d windows, %d controls, %d faults" % (windows, walk.controls,
                                                         len(walk.faults)), file=sys.stderr)
    return 1 if walk.faults else 0


if __name__ == "__main__":
    sys.exit(main())
