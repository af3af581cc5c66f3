#!/usr/bin/env bash
# The Ansible collection against devsim's devices in the lab, as a jump host would run it:
# each module's documentation loads, and settings_play.yml gathers facts, plans in check mode
# with a diff, writes once, writes nothing the second time, and fails with the tool's reason.
#   ansible_lab_test.sh LANVISTA_CLI    (run by lab/lab.sh --run)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export LANVISTA_CLI
LANVISTA_CLI=$(realpath "$1")
export ANSIBLE_COLLECTIONS_PATH=$here/../../ansible
export ANSIBLE_LOCAL_TEMP ANSIBLE_HOME
ANSIBLE_HOME=$(mktemp -d)
ANSIBLE_LOCAL_TEMP=$ANSIBLE_HOME/tmp
trap 'rm -rf -- "$ANSIBLE_HOME"' EXIT
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_LOCALHOST_WARNING=0 ANSIBLE_INVENTORY_UNPARSED_WARNING=0

for module in device_facts device_settings; do
  ansible-doc "lanvista.devices.$module" >/dev/null
done
ansible-playbook -i localhost, "$here/settings_play.yml"
