# Runs lanvista-cli for the modules of this collection and reads its JSON.
from __future__ import annotations

import json
import subprocess

# lanvista-cli's exit codes, for messages a playbook's reader understands.
EXIT_MEANINGS = {
    1: "the device reported failure, did not answer, or does not report the values asked for",
    2: "usage error: a bad option or value; nothing was sent",
    3: "UDP port 27700 is in use (an open Lanvista window?) or the network could not be used",
    4: "the firmware image was refused by its name or could not be read",
    5: "the download connection was refused, timed out or was closed early",
    6: "the results could not be written",
}

COMMON_OPTIONS = dict(
    cli=dict(type="str", default="lanvista-cli"),
    interface=dict(type="list", elements="str", default=[]),
    timeout=dict(type="float", default=2.0),
)


def common_arguments(params):
    """The options every command takes, as lanvista-cli arguments."""
    arguments = ["--timeout", str(params["timeout"])]
    for name in params["interface"]:
        arguments += ["--interface", name]
    return arguments


def run_tool(module, command):
    """Runs lanvista-cli to its end; its exit code, standard output and standard error.

    Not module.run_command: in ansible-core 2.14, Debian 12's, that stops reading once a second
    passes with nothing to read and then finds the process ended, so whatever the tool wrote
    and exited on in between was lost, its reason or its JSON. Here both pipes are read to
    their end before the exit code is taken.
    """
    try:
        done = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              check=False)
    except OSError as error:
        module.fail_json(msg="lanvista-cli could not be started: %s" % error, cmd=command)
    return (done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace"))


def run_cli(module, arguments):
    """Runs lanvista-cli; fails the module, with the tool's own words, on a non-zero exit."""
    command = [module.params["cli"]] + arguments
    rc, out, err = run_tool(module, command)
    if rc != 0:
        module.fail_json(msg="lanvista-cli exited %d (%s): %s" % (rc, EXIT_MEANINGS.get(rc, "unknown"), err.strip()),
                         rc=rc, stdout=out, stderr=err, cmd=command)
    return out, err


def list_devices(module, mac=None):
    """The devices a search finds (only the one with this MAC when given), as list --json prints them."""
    arguments = ["list", "--json"] + common_arguments(module.params)
    if mac:
        arguments += ["--mac", mac]
    out, _ = run_cli(module, arguments)
    try:
        return json.loads(out)
    except ValueError as error:
        module.fail_json(msg="lanvista-cli printed no JSON: %s" % error, stdout=out)
