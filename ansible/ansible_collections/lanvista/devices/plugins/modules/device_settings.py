#!/usr/bin/python
# Puts one device server, found by its MAC, into the given network settings.
from __future__ import annotations

DOCUMENTATION = r"""
module: device_settings
short_description: Put one device server into the given network settings
description:
  - Finds the device by its MAC address with a search of the host's segment, compares the
    settings given with what the device reports, and only when they differ saves them with
    C(lanvista-cli set), which checks that the device then reports them.
  - Settings not given are kept. Reports C(changed) only when it wrote.
  - While the device is (or is put) on DHCP it reports its lease, so I(ip), I(mask) and
    I(gateway) are then not compared; given, they are written along with a change of
    another field.
  - Refused by lanvista-cli before anything is written, unless I(force) is set, are masks with
    holes, addresses that are no host's, a gateway outside the subnet and an address another
    device reports. In check mode nothing is sent to the device but the search, so these
    rules are not applied there.
  - Two devices answering for one MAC (a cloned unit) fail the task; neither is written.
options:
  mac:
    description: The device's MAC address (00A0B1C20010, 00:a0:b1:c2:00:10 or 00-A0-B1-C2-00-10).
    type: str
    required: true
  ip:
    description: The device's IPv4 address.
    type: str
  mask:
    description: The subnet mask.
    type: str
  gateway:
    description: The gateway; 0.0.0.0 for none.
    type: str
  port:
    description: The device's TCP port, 1 to 65535.
    type: int
  dhcp:
    description: Whether the device takes its address from DHCP.
    type: bool
  force:
    description: Write settings lanvista-cli's rules refuse.
    type: bool
    default: false
extends_documentation_fragment: lanvista.devices.lanvista_cli
author: Lanvista developers
"""

EXAMPLES = r"""
- name: Renumber the cabinet's first device server
  lanvista.devices.device_settings:
    mac: 00:A0:B1:C2:00:10
    ip: 10.20.0.11
    mask: 255.255.255.0
    gateway: 10.20.0.1
"""

RETURN = r"""
changes:
  description: Each field written, with what the device reported before.
  returned: always
  type: dict
  sample: {"ip": {"before": "10.0.0.5", "after": "10.20.0.11"}}
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.lanvista.devices.plugins.module_utils.lanvista_cli import (
    COMMON_OPTIONS,
    common_arguments,
    list_devices,
    run_cli,
)

FIELDS = ("ip", "mask", "gateway", "port", "dhcp")
ADDRESSES = ("ip", "mask", "gateway")


def main():
    module = AnsibleModule(
        argument_spec=dict(
            mac=dict(type="str", required=True),
            ip=dict(type="str"),
            mask=dict(type="str"),
            gateway=dict(type="str"),
            port=dict(type="int"),
            dhcp=dict(type="bool"),
            force=dict(type="bool", default=False),
            **COMMON_OPTIONS,
        ),
        required_one_of=[FIELDS],
        supports_check_mode=True,
    )
    params = module.params
    devices = list_devices(module, params["mac"])
    if not devices:
        module.fail_json(msg="no device %s answered within %s s" % (params["mac"], params["timeout"]))
    if len(devices) > 1:
        module.fail_json(msg="%d devices answer for %s; a save would write them all, so nothing was written"
                         % (len(devices), params["mac"]), devices=devices)
    device = devices[0]

    asked = {field: params[field] for field in FIELDS if params[field] is not None}
    dhcp_after = asked.get("dhcp", device["dhcp"])
    changes = {}
    for field, value in asked.items():
        if dhcp_after and field in ADDRESSES:
            continue
        if device[field] != value:
            changes[field] = dict(before=device[field], after=value)

    result = dict(changed=bool(changes), changes=changes)
    if module._diff:
        result["diff"] = dict(before={field: device[field] for field in asked},
                              after={field: asked[field] for field in asked})
    if changes and not module.check_mode:
        arguments = ["set", params["mac"]] + common_arguments(params)
        for field, value in asked.items():
            arguments += ["--" + field, ("on" if value else "off") if field == "dhcp" else str(value)]
        if params["force"]:
            arguments.append("--force")
        run_cli(module, arguments)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
