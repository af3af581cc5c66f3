#!/usr/bin/env bash
# The Ansible collection against devsim's devices in the lab, as jump hosts would run it. The
# collection is built and installed offline as a user would; each module's documentation
# loads; settings_play.yml gathers facts, plans in check mode with a diff, writes once, writes
# nothing the second time and fails with the tool's reason; the example playbook provisions
# both segments (check mode writes nothing, the first run changes, the second is all ok, as
# devsim's logs show); firmware_play.yml covers the firmware module's refusals.
#   ansible_lab_test.sh LANVISTA_CLI    (run by lab/lab.sh --second N --run)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$here/../..
export LANVISTA_CLI
LANVISTA_CLI=$(realpath "$1")
export ANSIBLE_LOCAL_TEMP ANSIBLE_HOME ANSIBLE_COLLECTIONS_PATH LANVISTA_LAB_IMAGES
ANSIBLE_HOME=$(mktemp -d)
ANSIBLE_LOCAL_TEMP=$ANSIBLE_HOME/tmp
ANSIBLE_COLLECTIONS_PATH=$ANSIBLE_HOME/collections
LANVISTA_LAB_IMAGES=$ANSIBLE_HOME/images
trap 'rm -rf -- "$ANSIBLE_HOME"' EXIT
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_LOCALHOST_WARNING=0 ANSIBLE_INVENTORY_UNPARSED_WARNING=0
# Both of the lab's "jump hosts" are this one machine, whose UDP port 27700 one lanvista-cli
# holds at a time; real jump hosts run at once.
export ANSIBLE_FORKS=1

ansible-galaxy collection build --output-path "$ANSIBLE_HOME/dist" "$repo/ansible/ansible_collections/lanvista/devices"
ansible-galaxy collection install --offline -p "$ANSIBLE_COLLECTIONS_PATH" "$ANSIBLE_HOME"/dist/lanvista-devices-*.tar.gz
for module in device_facts device_settings device_firmware; do
  ansible-doc "lanvista.devices.$module" >/dev/null
done

ansible-playbook -i localhost, "$here/settings_play.yml"

# Images that carry their name, as this family's do, so devsim's devices run that version once
# they took one; the 3.09 one carries none, so a device keeps what it ran.
mkdir -p "$LANVISTA_LAB_IMAGES"
for version in 3.07 3.08; do
  { printf 'Brimnet_v%s' "$version"; head -c 200000 /dev/urandom; } >"$LANVISTA_LAB_IMAGES/Brimnet_v$version.bin"
done
head -c 200000 /dev/zero >"$LANVISTA_LAB_IMAGES/Brimnet_v3.09.bin"

# What devsim's devices have taken so far: saves answered, and images run.
writes() { cat "$LANVISTA_LAB_LOGS"/*.log | grep -cE 'save 10 .* -> 21|now runs firmware' || true; }
changed_of() { sed -nE "s/^$1 +: ok=[0-9]+ +changed=([0-9]+).*/\1/p" "$ANSIBLE_HOME/play.out"; }
provision() {
  ansible-playbook -i "$here/lab_inventory.yml" "$repo/ansible/examples/provision.yml" \
    -e "lanvista_image=$LANVISTA_LAB_IMAGES/Brimnet_v3.08.bin" "$@" | tee "$ANSIBLE_HOME/play.out"
}
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

before=$(writes)
provision --check --diff
[[ $(writes) -eq $before ]] || fail "check mode wrote: $before writes before, $(writes) after"
[[ $(changed_of segment_a) -eq 2 && $(changed_of segment_b) -eq 2 ]] || fail "check mode did not plan both tasks on both segments"

provision
[[ $(changed_of segment_a) -eq 2 && $(changed_of segment_b) -eq 2 ]] || fail "the first run did not change both segments"
[[ $(writes) -eq $((before + 4)) ]] || fail "the first run wrote $(($(writes) - before)) times, not 4 (2 saves, 2 images)"

before=$(writes)
provision
[[ $(changed_of segment_a) -eq 0 && $(changed_of segment_b) -eq 0 ]] || fail "the second run changed something"
[[ $(writes) -eq $before ]] || fail "the second run wrote $(($(writes) - before)) times"

ansible-playbook -i localhost, "$here/firmware_play.yml"

[[ $failures -eq 0 ]] || exit 1
echo "the collection built, installed and played in the lab: provision.yml changed both segments once, then nothing"
