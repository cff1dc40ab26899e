"""Reads the running Tonquill through AT-SPI, as a screen reader does, and checks it.

    accessibility_probe.py   (on the display and session bus the program runs on)

"Ni3 ha3o" typed with xdotool must read back as "Nǐ hǎo", and the changes reported while it is
typed must be in tone letters, not the tone font's codes; every control that takes the focus has
a name; no hidden glyph holder is in the tree; the palette picks a colour from the keyboard.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def fail(reason):
    print("FAIL: " + reason, file=sys.stderr)
    sys.exit(1)


def nodes(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from nodes(child)


def application():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.name == "tonquill":
                return app
        time.sleep(0.2)
    fail("no application named tonquill on the accessibility bus")


def named(app, name):
    return next((node for node in nodes(app) if node.name == name), None) or fail(f"no {name!r}")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "120", *names], check=True)


def wait_until(check, what):
    for _ in range(50):
        if check():
            return
        time.sleep(0.2)
    fail(what)


app = application()
# The keys go to the window that has the X server's focus, and there is no window manager to give it.
subprocess.run(["xdotool", "search", "--sync", "--name", "^Tonquill from Marrowfen$",
                "windowfocus", "--sync"], check=True, timeout=30)
editor = named(app, "Pinyin text")
editor.queryComponent().grabFocus()
# What the editor says it put in, while a person types: the tone ticks must read as tone letters.
inserted = []
pyatspi.Registry.registerEventListener(
    lambda event: inserted.append(event.any_data) if event.source == editor else None,
    "object:text-changed:insert")
typing = subprocess.Popen(["xdotool", "type", "--delay", "120", "Ni3 ha3o"])
GLib.timeout_add(3000, pyatspi.Registry.stop)
pyatspi.Registry.start()
typing.wait()
said = "".join(str(data) for data in inserted)
if "ǐ" not in said or "ǎ" not in said or "í" in said or "â" in said:
    fail(f"the editor reported its changes as {inserted!r}, not in Unicode pinyin")
text = editor.queryText()
wait_until(lambda: text.getText(0, -1) == "Nǐ hǎo",
           f"the editor reads {text.getText(0, -1)!r}, not 'Nǐ hǎo'")
if text.caretOffset != 6:
    fail(f"the caret is at {text.caretOffset}, not after 'Nǐ hǎo'")

unnamed = [n.getRoleName() for n in nodes(app)
           if n.getState().contains(pyatspi.STATE_FOCUSABLE) and not n.name.strip()]
if unnamed:
    fail(f"focusable controls without a name: {unnamed}")
texts = [n.name for n in nodes(app) if n.getRoleName() == "text"]
if len(texts) != 3:
    fail(f"text boxes in the tree: {texts}; the glyph holders must not be there")

palette, swatch = named(app, "Colour palette"), named(app, "Chosen colour")
palette.queryComponent().grabFocus()
wait_until(lambda: palette.getState().contains(pyatspi.STATE_FOCUSED), "the palette took no focus")
keys("Right", "Right", "Down")
marked = palette.description.rsplit(" ", 1)[-1]
keys("space")
wait_until(lambda: swatch.description == marked,
           f"the swatch shows {swatch.description!r}, not the marked {marked!r}")
print("PASS")
