#!/usr/bin/python3
"""The collection's runs of lanvista-cli keep all the tool wrote: its reason on a refusal and its
JSON on success, also when the module's process looks late after a quiet second, as on a busy
jump host. Run with the system's Python, whose ansible-core the modules run on."""
import contextlib
import io
import json
import os
import selectors
import sys
import tempfile
import time
import unittest
from unittest import mock

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ansible"))
try:
    from ansible.module_utils import basic
    from ansible.module_utils.common.text.converters import to_bytes
except ImportError:
    print("ansible-core is not installed for %s" % sys.executable)
    sys.exit(77)
from ansible_collections.lanvista.devices.plugins.module_utils.lanvista_cli import (  # noqa: E402
    COMMON_OPTIONS,
    list_devices,
    run_cli,
)


def late_select(real):
    """A select that, after a wait that ended with nothing to read, returns only a while later."""
    def select(self, timeout=None):
        events = real(self, timeout)
        if not events:
            time.sleep(0.3)
        return events
    return select


class ModuleFailed(Exception):
    def __init__(self, result):
        super().__init__(result.get("msg"))
        self.result = result


class RunCli(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        for kind in (selectors.SelectSelector, selectors.PollSelector, selectors.EpollSelector):
            patch = mock.patch.object(kind, "select", late_select(kind.select))
            patch.start()
            self.addCleanup(patch.stop)

    def module(self, cli):
        basic._ANSIBLE_ARGS = to_bytes(json.dumps({"ANSIBLE_MODULE_ARGS": {"cli": cli}}))
        return basic.AnsibleModule(argument_spec=COMMON_OPTIONS)

    def tool(self, script):
        """A stand-in for lanvista-cli that is quiet for a second, then writes and exits at once."""
        path = os.path.join(self.folder.name, "lanvista-cli")
        with open(path, "w") as file:
            file.write("#!/bin/sh\nsleep 1\n" + script)
        os.chmod(path, 0o755)
        return path

    def outcome(self, module, call):
        """What call returns, or raises ModuleFailed with what the module would report."""
        printed = io.StringIO()
        try:
            with contextlib.redirect_stdout(printed):
                return call(module)
        except SystemExit:
            raise ModuleFailed(json.loads(printed.getvalue()))

    def test_a_refusal_keeps_the_tools_reason(self):
        cases = [
            ("printf 'lanvista-cli: refused, nothing was written:\\n  the gateway is outside the subnet\\n' >&2; exit 2",
             2, "lanvista-cli exited 2 (usage error: a bad option or value; nothing was sent): "
                "lanvista-cli: refused, nothing was written:\n  the gateway is outside the subnet"),
            ("echo 'lanvista-cli: no device 02:4C:56:00:00:01 answered within 2 s' >&2; exit 1",
             1, "lanvista-cli exited 1 (the device reported failure, did not answer, or does not report the values "
                "asked for): lanvista-cli: no device 02:4C:56:00:00:01 answered within 2 s"),
        ]
        for script, rc, message in cases:
            with self.subTest(rc=rc):
                module = self.module(self.tool(script))
                with self.assertRaises(ModuleFailed) as failed:
                    self.outcome(module, lambda module: run_cli(module, ["set"]))
                self.assertEqual(failed.exception.result["rc"], rc)
                self.assertEqual(failed.exception.result["msg"], message)

    def test_the_json_of_a_search_is_read_whole(self):
        devices = [{"mac": "02:4C:56:00:00:%02X" % n, "ip": "10.213.77.%d" % (10 + n)} for n in range(200)]
        module = self.module(self.tool("cat <<'END'\n%s\nEND\n" % json.dumps(devices)))
        self.assertEqual(self.outcome(module, list_devices), devices)

    def test_a_tool_that_cannot_start_is_named(self):
        missing = os.path.join(self.folder.name, "no-such-lanvista-cli")
        with self.assertRaises(ModuleFailed) as failed:
            self.outcome(self.module(missing), lambda module: run_cli(module, ["list", "--json"]))
        self.assertIn("lanvista-cli could not be started", failed.exception.result["msg"])
        self.assertIn(missing, failed.exception.result["msg"])


if __name__ == "__main__":
    unittest.main()
