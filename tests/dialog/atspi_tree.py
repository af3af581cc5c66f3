"""Reads the running dialog's accessibility tree over AT-SPI, as a screen reader does, and
checks what it is told: every field named after its label and tied to it, the IP-address
fields by their place, and none of the controls the dialog never shows."""
import sys
import time

import pyatspi


def find_application(name, seconds=15):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in desktop:
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.1)
    return None


def nodes(node):
    yield node
    for child in node:
        yield from nodes(child)


def labelled_by(node):
    targets = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            targets += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return targets


def main():
    app = find_application(sys.argv[1])
    if app is None:
        print("the program did not appear on the accessibility bus")
        return 1
    dialog = app[0]
    everything = list(nodes(dialog))
    problems = []

    def expect(condition, what):
        if not condition:
            problems.append(what)

    by_name = {}
    for node in everything:
        by_name.setdefault((node.getRoleName(), node.name), []).append(node)

    # Fields called by their labels, and tied to them.
    for role, name in [("text", "Port"), ("text", "F/W Version:"), ("text", "Update File Name"),
                       ("panel", "IP Address"), ("panel", "SUBNET Mask"), ("panel", "Gateway")]:
        found = by_name.get((role, name), [])
        expect(found, f"no {role} called {name!r}")
        for node in found:
            expect(labelled_by(node) == [name], f"{role} {name!r} is labelled by {labelled_by(node)}")
    for n in range(1, 7):
        expect(("text", f"MAC Address {n}") in by_name, f"no MAC box called 'MAC Address {n}'")
    expect(("list", "Information") in by_name, "the device list has no name")

    # An address control is its four named fields.
    for panel in by_name.get(("panel", "SUBNET Mask"), []):
        fields = [(child.getRoleName(), child.name) for child in panel]
        expect(fields == [("text", f"SUBNET Mask, field {n}") for n in range(1, 5)], f"mask fields: {fields}")

    # Nothing unnamed that a user can reach, and nothing the dialog does not show.
    for node in everything[1:]:
        expect(node.name != "", f"an unnamed {node.getRoleName()}")
    expect(not any(node.getRoleName() == "combo box" for node in everything), "a hidden combo box is in the tree")
    expect(sum(node.getRoleName() == "list" for node in everything) == 1, "the hidden record list is in the tree")
    for hidden in ["Baud rate:", "Parity:", "Serial Interface"]:
        expect(not any(node.name == hidden for node in everything), f"hidden {hidden!r} is in the tree")

    for problem in problems:
        print(problem)
    print(f"{len(everything)} accessible objects read, {len(problems)} problems")
    return 1 if problems else 0


sys.exit(main())
