"""What a screen reader finds in the running planner, through AT-SPI.

Run with Debian's /usr/bin/python3 (pyatspi), on the D-Bus session of the
program. Each command checks one thing, prints what it saw and exits 1 when
the check fails:

  window TITLE            walk the window: every button, page tab, text box,
                          list, link and picture has a name; print the tree
  list NAME...            the date list holds exactly these row names
  focus ROLE NAME [alone] the focus is on this object (waits for it); with
                          "alone", no other object but what holds it says
                          it is focused
  selected NAME           the one selected item of the date list
  text NAME EXPECTED      a text box holds this text
  readonly NAME yes|no    a text box is read-only (not editable) or editable
  press ROLE NAME         press a link or button through its action, as Orca does
  grab-focus ROLE NAME    move the focus to an object, as Orca's review does
  out-of-range NAME       ask the table (list, tree) of this name about rows and
                          columns around and past its own: it answers, safely
  views-out-of-range TITLE  the same of every table, list and tree of the
                          window with this title
  texts TITLE             ask every text of the window for its items of every kind
                          at, before and after offsets -1, 0, its end and past it,
                          and for its ranges within a box: each answer comes
                          within a second, true to the text, the item at the end
                          is the last word, there is none past it
  held NAME ROW TEXT...   ask the table of this name for all its children at
                          once, as a screen reader may to count and review
                          them; then each ROW, held from that answer, still
                          answers with its TEXT
  listen LOG              until SIGTERM, write every focus and selection event
                          of the program to LOG, marking any from a window
                          that is not showing
  shown-only LOG TEXT...  LOG holds events, some naming each TEXT, and none
                          from a window that is not showing
"""

import os
import signal
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

APP = "Nuvalora Sex Planner"
NAMED_ROLES = {"push button", "page tab", "text", "list", "list item", "link", "image",
               "check box", "radio button", "spin button", "combo box", "table cell"}


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APP:
            return app
    return None


def windows():
    app = application()
    return [w for w in app] if app is not None else []


def walk(node, depth=0):
    """Yields (depth, node); stops at 2000 nodes, enough for these windows."""
    stack = [(depth, node)]
    left = 2000
    while stack and left > 0:
        depth, node = stack.pop()
        left -= 1
        yield depth, node
        # A long list is asked for no more children than are walked.
        children = [node.getChildAtIndex(i) for i in range(min(node.childCount, left))]
        stack.extend((depth + 1, c) for c in reversed(children) if c is not None)


def has(node, state):
    return node.getState().contains(state)


def describe(node):
    flags = [name for name, state in (("focused", pyatspi.STATE_FOCUSED),
                                      ("selected", pyatspi.STATE_SELECTED),
                                      ("editable", pyatspi.STATE_EDITABLE),
                                      ("read-only", pyatspi.STATE_READ_ONLY))
             if has(node, state)]
    text = "%s %r" % (node.getRoleName(), node.name)
    if node.description:
        text += " (%s)" % node.description
    return text + (" [%s]" % ",".join(flags) if flags else "")


def retry(check, what, seconds=15):
    """Runs check until it returns something true; its last answer otherwise."""
    deadline = time.time() + seconds
    last = None
    while True:
        try:
            last = check()
            if last:
                return last
        except Exception as error:  # the tree may change while it is read
            last = "error: %s" % error
        if time.time() > deadline:
            fail("%s (last seen: %s)" % (what() if callable(what) else what, last))
        time.sleep(0.2)


def window_titled(title):
    def find():
        return next((w for w in windows() if w.name == title), None)
    return retry(find, "no window titled %r" % title)


def find_object(role, name):
    for window in windows():
        for _, node in walk(window):
            if node.getRoleName() == role and node.name == name:
                return node
    return None


def date_list():
    return retry(lambda: find_object("table", "Dates of Start of Period"), "no date list")


def cmd_window(title):
    window = window_titled(title)
    unnamed = []
    for depth, node in walk(window):
        print("  " * depth + describe(node))
        # A message box's icon only repeats what its title says.
        decorative = window.getRoleName() == "alert" and node.getRoleName() == "image"
        if node.getRoleName() in NAMED_ROLES and not node.name and not decorative:
            unnamed.append(node.getRoleName())
    if unnamed:
        fail("%s has unnamed objects: %s" % (title, ", ".join(unnamed)))


def cmd_list(*expected):
    def matches():
        items = date_list()
        names = [items.getChildAtIndex(i).name for i in range(items.childCount)]
        return names if names == list(expected) else None
    names = retry(matches, "the date list does not hold %r" % (list(expected),))
    roles = {date_list().getChildAtIndex(i).getRoleName() for i in range(len(names))}
    if roles - {"table cell"}:
        fail("the date list's rows have roles %s" % roles)
    for name in names:
        print("table cell %r" % name)


def focused_objects():
    """The focused objects of the active window."""
    active = [w for w in windows() if has(w, pyatspi.STATE_ACTIVE)] or windows()
    return [node for window in active for _, node in walk(window)
            if has(node, pyatspi.STATE_FOCUSED)]


def ancestors(node):
    while node is not None and node.getRoleName() != "application":
        yield node
        node = node.parent


def cmd_focus(role, name, alone=None):
    """With "alone", nothing but the object and what holds it says it is focused."""
    focused = []

    def matches():
        focused[:] = focused_objects()
        node = next((n for n in focused if n.getRoleName() == role and n.name == name), None)
        holders = list(ancestors(node))
        return node if node is not None and (
            alone is None or all(n in holders for n in focused)) else None
    node = retry(matches, lambda: "the focus is not on %s %r%s: focused are %s" % (
        role, name, " alone" if alone else "", ", ".join(describe(n) for n in focused)))
    print("focus: " + describe(node))


def cmd_selected(name):
    def selected():
        items = date_list()
        chosen = [items.getChildAtIndex(i) for i in range(items.childCount)
                  if has(items.getChildAtIndex(i), pyatspi.STATE_SELECTED)]
        return chosen if [c.name for c in chosen] == [name] else None
    print("selected: " + describe(retry(selected, "%r is not the one selected item" % name)[0]))


def cmd_text(name, expected):
    def holds():
        node = find_object("text", name)
        text = node.queryText()
        got = text.getText(0, text.characterCount)
        return got if got == expected else None
    print("text %r: %r" % (name, retry(holds, "the text box %r does not hold %r" % (name, expected))))


def cmd_readonly(name, expected):
    node = retry(lambda: find_object("text", name), "no text box %r" % name)
    readonly = has(node, pyatspi.STATE_READ_ONLY) and not has(node, pyatspi.STATE_EDITABLE)
    if readonly != (expected == "yes"):
        fail("text box %r: %s" % (name, describe(node)))
    print(describe(node))


def cmd_press(role, name):
    node = retry(lambda: find_object(role, name), "no %s %r" % (role, name))
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail("%s %r offers %s" % (role, name, names))
    action.doAction(names.index("Press"))
    print("pressed %s %r (%s)" % (role, name, node.description))


def cmd_grab_focus(role, name):
    node = retry(lambda: find_object(role, name), "no %s %r" % (role, name))
    node.queryComponent().grabFocus()
    print("focus moved to %s %r" % (role, name))


VIEW_ROLES = ("table", "list", "tree")


def out_of_range_answers(node, name):
    """Asks a table, list or tree about places around and past its own;
    prints what it was asked and returns the answers that are not safe."""
    table = node.queryTable()
    rows, columns = table.nRows, table.nColumns
    unsafe = []

    def ask(question, *place):
        try:
            return getattr(table, question)(*place)
        except GLib.Error as error:  # a refusal is a safe answer
            if application() is None:
                fail("the program ended at %s%s: %s" % (question, place, error))
            return None

    places = [(row, column) for row in (-2**31, -2, -1, 0, rows - 1, rows, rows + 1, 9999,
                                        2**31 - 1)
              for column in (-2**31, -1, 0, columns - 1, columns, columns + 1)]
    outside = [(r, c) for r, c in places if not (0 <= r < rows and 0 <= c < columns)]
    for row, column in set(places) - set(outside):
        cell = ask("getAccessibleAt", row, column)  # the rows may change meanwhile
        if cell is None:
            continue
        if ask("isSelected", row, column) != has(cell, pyatspi.STATE_SELECTED):
            unsafe.append("%s isSelected%s" % (name, (row, column)))
    for row, column in outside:
        answers = {"isSelected": False, "getAccessibleAt": None, "getRowExtentAt": 0,
                   "getColumnExtentAt": 0, "getIndexAt": -1, "isRowSelected": False}
        if 0 <= row < rows:
            del answers["isRowSelected"]  # the row is there; its column is not
        for question, safe in answers.items():
            place = (row,) if question == "isRowSelected" else (row, column)
            answer = ask(question, *place)
            if answer not in (safe, None):
                unsafe.append("%s %s%s = %r" % (name, question, place, answer))
    for index in (-2**31, -1, rows * columns, rows * columns + 7, 2**31 - 1):
        answer = ask("getRowColumnExtentsAtIndex", index)
        if answer is not None and (answer[3] or answer[4] or answer[5]):
            unsafe.append("%s getRowColumnExtentsAtIndex(%d) = %r" % (name, index, answer))
    print("%s (%d x %d): asked about %d places out of range" % (name, rows, columns, len(outside)))
    return unsafe


def cmd_out_of_range(name):
    node = retry(lambda: next(filter(None, (find_object(r, name) for r in VIEW_ROLES)), None),
                 "no table, list or tree %r" % name)
    unsafe = out_of_range_answers(node, name)
    if unsafe:
        fail("answered out of range: %s" % "; ".join(unsafe))


def cmd_views_out_of_range(title):
    views = [node for _, node in walk(window_titled(title)) if node.getRoleName() in VIEW_ROLES]
    unsafe = []
    for node in views:
        unsafe += out_of_range_answers(node, "%s %r" % (node.getRoleName(), node.name))
    if unsafe:
        fail("answered out of range: %s" % "; ".join(unsafe))
    print("%s: %d lists, tables and trees answered safely" % (title, len(views)))


def a11y_bus():
    """The AT-SPI bus, to call the program through D-Bus itself."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, GLib.VariantType("(s)"), 0, -1, None).unpack()[0]
    return Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)


BOUNDARIES = ("character", "word start", "word end", "sentence start", "sentence end",
              "line start", "line end")


def cmd_texts(title):
    bus = a11y_bus()
    texts = []  # each text with what it holds, and how to name it once it no longer answers
    for _, node in walk(window_titled(title)):
        try:
            texts.append((node, node.queryText().getText(0, -1),
                          "%s %r" % (node.getRoleName(), node.name)))
        except NotImplementedError:
            pass
    wrong = []

    def ask(node, label, method, signature, *arguments):
        try:
            return bus.call_sync(node.app.bus_name, node.path, "org.a11y.atspi.Text", method,
                                 GLib.Variant(signature, arguments), None, 0, 1000,
                                 None).unpack()
        except GLib.Error as error:
            if "Timeout" not in error.message:
                return error.message
            os.kill(node.get_process_id(), signal.SIGKILL)  # or the test could not end
            fail("%s: %s%s got no answer within a second" % (label, method, arguments))

    for node, whole, label in texts:
        n = len(whole)
        for method in ("GetTextAtOffset", "GetTextBeforeOffset", "GetTextAfterOffset"):
            for boundary, offset in [(b, o) for b in range(7) for o in (-1, 0, n, n + 1)]:
                answer = ask(node, label, method, "(iu)", offset, boundary)
                said, start, end = answer if isinstance(answer, tuple) else (answer, -1, -1)
                last = method == "GetTextAtOffset" and offset in (-1, n) and boundary in (1, 2)
                if (said != (whole[start:end] if 0 <= start <= end else "")
                        or (offset > n and said) or (last and whole and end != n)):
                    wrong.append("%s: %s(%d, %s) = %r" % (label, method, offset,
                                                          BOUNDARIES[boundary], answer))
        ask(node, label, "GetBoundedRanges", "(iiiiuuu)", 0, 0, 5000, 5000, 0, 0, 0)
    if any(ask(node, label, "GetText", "(ii)", 0, -1) != (whole,) for node, whole, label in texts):
        fail("%s: the texts no longer answer" % title)
    if wrong:
        fail("%s: %s" % (title, "; ".join(wrong)))
    print("%s: %d texts answered %d questions each at once" % (title, len(texts), 3 * 7 * 4 + 1))


def cmd_held(name, *rows_and_texts):
    """GetChildren through D-Bus itself: pyatspi asks for children one by one."""
    node = retry(lambda: find_object("table", name), "no table %r" % name)
    bus = a11y_bus()

    def call(reference, interface, method, arguments, answer):
        return bus.call_sync(reference[0], reference[1], interface, method, arguments,
                             GLib.VariantType(answer), 0, 120000, None).unpack()[0]

    children = call((node.app.bus_name, node.path), "org.a11y.atspi.Accessible", "GetChildren",
                    None, "(a(so))")
    print("%s handed out %d children at once" % (name, len(children)))
    wrong = []
    for row, text in zip(rows_and_texts[::2], rows_and_texts[1::2]):
        try:
            said = call(children[int(row)], "org.freedesktop.DBus.Properties", "Get",
                        GLib.Variant("(ss)", ("org.a11y.atspi.Accessible", "Name")), "(v)")
        except GLib.Error as error:
            said = "error: %s" % error.message
        print("row %s, held: %r" % (row, said))
        if said != text:
            wrong.append("row %s said %r, not %r" % (row, said, text))
    if wrong:
        fail("%s: %s" % (name, "; ".join(wrong)))


def window_of(node):
    """The window an object lives in, and whether it belongs to the program."""
    chain = list(ancestors(node))
    top = chain[-1] if chain else None
    app = top.parent if top is not None else None
    return chain, top, app is not None and app.name == APP


def cmd_listen(log):
    out = open(log, "w", buffering=1)
    # Whether each window of the program is on the screen, as its events tell;
    # a window shown before the program joined the bus says so in its state.
    shown = {}

    def heard(event):
        try:
            chain, window, ours = window_of(event.source)
            if not ours:
                return
            if event.type.startswith("object:state-changed:showing"):
                if event.source == window:
                    shown[window.name] = bool(event.detail1)
                    out.write("%s %r %s\n" % (window.getRoleName(), window.name,
                                               "shown" if event.detail1 else "hidden"))
                return
            if event.type.startswith("object:state-changed") and not event.detail1:
                return  # a loss of focus or selection
            where = " < ".join("%s %r" % (n.getRoleName(), n.name) for n in chain)
            on_screen = shown.get(window.name, has(window, pyatspi.STATE_SHOWING))
            mark = "" if on_screen else "  <-- FROM A WINDOW NOT SHOWING"
            out.write("%s %s%s\n" % (event.type, where, mark))
        except Exception as error:  # the object went before its event was read
            out.write("%s (gone: %s)\n" % (event.type, error))

    for kind in ("focus:", "object:state-changed:focused", "object:state-changed:selected",
                 "object:state-changed:showing"):
        pyatspi.Registry.registerEventListener(heard, kind)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, pyatspi.Registry.stop)
    pyatspi.Registry.start()


def cmd_shown_only(log, *texts):
    with open(log) as events:
        lines = events.read().splitlines()
    print("\n".join(lines))
    if any("NOT SHOWING" in line for line in lines):
        fail("focus or selection events came from a window that is not showing (above)")
    for text in texts:
        if not any(text in line for line in lines):
            fail("the listener heard nothing of %r" % text)


COMMANDS = {"window": cmd_window, "list": cmd_list, "focus": cmd_focus,
            "selected": cmd_selected, "text": cmd_text, "readonly": cmd_readonly,
            "press": cmd_press, "grab-focus": cmd_grab_focus, "out-of-range": cmd_out_of_range,
            "views-out-of-range": cmd_views_out_of_range, "held": cmd_held, "texts": cmd_texts,
            "listen": cmd_listen, "shown-only": cmd_shown_only}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in COMMANDS:
        fail(__doc__)
    COMMANDS[sys.argv[1]](*sys.argv[2:])
