#!/usr/bin/python
# Brings device servers to the firmware of an image, with lanvista-cli's version rules.
from __future__ import annotations

DOCUMENTATION = r"""
module: device_firmware
short_description: Download a firmware image into device servers that run an older version
description:
  - Runs C(lanvista-cli update) for the devices given by MAC, or for every device a search of
    the host's segment finds, and returns the tool's report for each device.
  - The image's version is read from its file name (C(Brimnet_v3.08.bin) is 3.08). A device
    that already runs it is skipped unless I(force); one that runs a newer version is refused
    (the task fails) unless I(allow_downgrade). When the file name holds no version, every
    device gets the image and the module reports C(changed) every time.
  - After a device reports success, lanvista-cli searches until it answers with the image's
    version; one that keeps its old version fails the task.
  - Reports C(changed) only when it downloaded. In check mode it runs C(update --dry-run),
    which searches and applies the version rules but downloads nothing.
options:
  image:
    description: The firmware image on the host; its path must contain C(Brimnet_v) and C(bin).
    type: path
    required: true
  mac:
    description: The devices' MAC addresses. Every device the search finds when empty.
    type: list
    elements: str
    default: []
  parallel:
    description: Downloads at once, 1 to 64.
    type: int
    default: 4
  force:
    description: Download into devices that already run the image's version.
    type: bool
    default: false
  allow_downgrade:
    description: Download into devices that run a newer version.
    type: bool
    default: false
  timeout:
    description: The longest wait for a device at any step of a download, and for its answer
      afterwards (the search before lasts at most 2 s of it).
    type: float
    default: 60.0
extends_documentation_fragment: lanvista.devices.lanvista_cli
author: Lanvista developers
"""

EXAMPLES = r"""
- name: Bring the cabinet's device servers to 3.08
  lanvista.devices.device_firmware:
    image: /srv/firmware/Brimnet_v3.08.bin
    mac:
      - 00:A0:B1:C2:00:10
      - 00:A0:B1:C2:00:11
"""

RETURN = r"""
devices:
  description: lanvista-cli's report, one entry per device.
  returned: always
  type: list
  elements: dict
  sample: [{"mac": "00:A0:B1:C2:00:10", "address": "10.20.0.11", "result": "updated",
            "before": "3.07", "after": "3.08", "reason": null}]
"""

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.lanvista.devices.plugins.module_utils.lanvista_cli import (
    COMMON_OPTIONS,
    EXIT_MEANINGS,
    common_arguments,
    run_tool,
)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            image=dict(type="path", required=True),
            mac=dict(type="list", elements="str", default=[]),
            parallel=dict(type="int", default=4),
            force=dict(type="bool", default=False),
            allow_downgrade=dict(type="bool", default=False),
            **dict(COMMON_OPTIONS, timeout=dict(type="float", default=60.0)),
        ),
        supports_check_mode=True,
    )
    params = module.params
    arguments = ["update", "--json", "--parallel", str(params["parallel"])] + common_arguments(params)
    for mac in params["mac"]:
        arguments += ["--mac", mac]
    if not params["mac"]:
        arguments.append("--all")
    if params["force"]:
        arguments.append("--force")
    if params["allow_downgrade"]:
        arguments.append("--allow-downgrade")
    if module.check_mode:
        arguments.append("--dry-run")
    # The image last: update takes its final argument as the image, even one that begins with -.
    arguments += ["--", params["image"]]

    command = [params["cli"]] + arguments
    rc, out, err = run_tool(module, command)
    try:
        devices = json.loads(out) if out.strip() else []
    except ValueError:
        devices = []
    changed = any(device["result"] in ("updated", "would update") for device in devices)
    if rc != 0:
        troubles = ["%s: %s (%s)" % (device["mac"] or device["address"], device["result"], device["reason"])
                    for device in devices if device["result"] in ("failed", "refused", "absent")]
        module.fail_json(msg="lanvista-cli exited %d (%s): %s" % (rc, EXIT_MEANINGS.get(rc, "unknown"),
                                                                "; ".join(troubles) or err.strip()),
                         rc=rc, changed=changed, devices=devices, stderr=err, cmd=command)
    module.exit_json(changed=changed, devices=devices)


if __name__ == "__main__":
    main()
