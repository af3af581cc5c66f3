#!/usr/bin/python
# Gathers the device servers of the segment as facts.
from __future__ import annotations

DOCUMENTATION = r"""
module: device_facts
short_description: Gather the device servers of a segment as facts
description:
  - Searches the segment of the host it runs on with C(lanvista-cli list --json) and sets the
    fact C(lanvista_devices), one entry per device as lanvista-cli lists it (mac, ip, mask,
    gateway, port, dhcp, version, from, interface).
  - A broadcast does not cross a router, so run it on a host on the devices' own segment.
  - Never changes anything.
options:
  mac:
    description: Only the device with this MAC address (any of the forms lanvista-cli takes).
    type: str
extends_documentation_fragment: lanvista.devices.lanvista_cli
author: Lanvista developers
"""

EXAMPLES = r"""
- name: See what is on the cabinet's segment
  lanvista.devices.device_facts:
    interface: [eth1]
- ansible.builtin.debug:
    msg: "{{ ansible_facts.lanvista_devices | map(attribute='mac') | list }}"
"""

RETURN = r"""
ansible_facts:
  description: The facts set.
  returned: always
  type: dict
  contains:
    lanvista_devices:
      description: The devices found, in the order they answered.
      type: list
      elements: dict
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.lanvista.devices.plugins.module_utils.lanvista_cli import COMMON_OPTIONS, list_devices


def main():
    module = AnsibleModule(argument_spec=dict(mac=dict(type="str"), **COMMON_OPTIONS), supports_check_mode=True)
    devices = list_devices(module, module.params["mac"])
    module.exit_json(changed=False, ansible_facts=dict(lanvista_devices=devices))


if __name__ == "__main__":
    main()
