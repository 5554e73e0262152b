"""Uses the window over the accessibility bus as a screen reader does: finds each control by the
name the bus gives it, toggles 修改 of 制造商名称, types "ACME", presses 设置, answers the verdict,
and checks what the printer received. Usage: screen-reader.py PRINTER_LOG"""
import sys
import time

import pyatspi

WIRE = bytes([0x1B, 0x06, 0x1B, 0x24, 0x41, 0x43, 0x4D, 0x45, 0x00, 0x1B, 0x16])


def nodes(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)


def find(role, name=None, text=None, seconds=10.0):
    """The first node of `role` named `name` (or holding a label `text`), waiting for it."""
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "tervan":
                continue
            for node in nodes(app):
                if node.getRoleName() != role:
                    continue
                if name is not None and node.name == name:
                    return node
                if text is not None and any(n.name == text for n in nodes(node)):
                    return node
        time.sleep(0.1)
    sys.exit(f"not on the bus: {role} {name or text}")


def act(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        sys.exit(f"{node.name}: no {action} among {names}")
    actions.doAction(names.index(action))


window = find("dialog", "Tervan V2.0")
if any(n.getRoleName() == "push button" and n.name == "打开" for n in nodes(window)):
    sys.exit("the hidden open/close button is on the bus")
find("combo box", "浓度:")

act(find("check box", "修改 制造商名称"), "Toggle")
edit = find("text", "制造商名称:")
for _ in range(50):
    if edit.getState().contains(pyatspi.STATE_ENABLED):
        break
    time.sleep(0.1)
else:
    sys.exit("修改 toggled on the bus left the edit disabled")
edit.queryEditableText().setTextContents("ACME")
act(find("push button", "设置"), "Press")

verdict = find("alert", text="设置成功,重新启动后生效", seconds=20)
button = next(n for n in nodes(verdict) if n.getRoleName() == "push button")
act(button, "Press")

with open(sys.argv[1], "rb") as log:
    received = log.read()
if received != WIRE:
    sys.exit(f"the printer received {received.hex(' ')}, not {WIRE.hex(' ')}")
