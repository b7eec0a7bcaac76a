#!/usr/bin/python3
# What a screen reader reads of the entry list: a table with the three column titles, one row per
# entry with the newest on top, and the cell texts (a very long one shortened as the list shows it).
import os
import sys
import time

import pyatspi

LONG = "Long " * 200  # 1000 characters; the list shows the first 300
ROWS = [  # the top row first, as the list shows them
    ("Server move", "2005-03-02", "2:00"),
    ("Backup, \u00dcberstunden", "2005-03-01", "1:30"),
    (LONG.strip(), "2005-02-28", "0:15"),
]


def write_log():
    records = ["CREATOR=KVL 1.0"]
    for description, date, overtime in reversed(ROWS):  # the file holds the oldest first
        records.append("DESCRIPTION=%s\r\nOT=%s\r\nDATE=%s" % (description, overtime, date))
    with open("kvl.dat", "wb") as out:
        out.write("\r\n\r\n".join(records).encode("utf-8") + b"\r\n")


def find_application(pid):
    deadline = time.time() + 30
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    return None


def find_table(node, depth=0):
    if node is None or depth > 30:
        return None
    try:
        if node.getRole() in (pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE):
            return node
        for child in node:
            found = find_table(child, depth + 1)
            if found is not None:
                return found
    except Exception:
        return None
    return None


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main():
    if sys.argv[1] == "--write-log":
        write_log()
        return
    pid = int(sys.argv[1])
    app = find_application(pid)
    if app is None:
        fail("the program never appeared on the accessibility bus")
    table = None
    deadline = time.time() + 30
    while table is None and time.time() < deadline:
        table = find_table(app)
        if table is None:
            time.sleep(0.2)
    if table is None:
        fail("no table in the window's accessibility tree")
    cells = table.queryTable()
    if cells.nColumns != 3:
        fail("%d columns, expected 3" % cells.nColumns)
    titles = [cells.getColumnDescription(c) or cells.getColumnHeader(c).name for c in range(3)]
    if titles != ["Description", "Date", "Overtime"]:
        fail("column titles %r" % titles)
    if cells.nRows != len(ROWS):
        fail("%d rows, expected %d" % (cells.nRows, len(ROWS)))
    for r, row in enumerate(ROWS):
        shown = [cells.getAccessibleAt(r, c).name for c in range(3)]
        expected = list(row)
        if len(expected[0]) > 300:
            expected[0] = expected[0][:300] + "\u2026"
        if shown != expected:
            fail("row %d reads %r, expected %r" % (r, shown, expected))
    print("ok: %d rows of 3 cells read with their titles" % cells.nRows)


if __name__ == "__main__":
    main()
