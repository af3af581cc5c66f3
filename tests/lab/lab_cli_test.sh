#!/usr/bin/env bash
# lanvista-cli in the lab's PC namespace with its built-in ports and a real limited
# broadcast: list finds the devices behind both adapters (the default route on a third one
# without devices), --interface narrows to one, set changes a device and reads it back,
# update gets each device's verdict, an address label names its adapter.
#   lab_cli_test.sh LANVISTA_CLI    (run by lab/lab.sh --wan --second N --run)
set -uo pipefail
cli=$1
run_tool() { "$cli" "$@"; }
. "$(dirname "$0")/cli_test_harness.sh"

expected=$((LANVISTA_LAB_DEVICES + 1 + LANVISTA_LAB_SECOND_DEVICES))

run list --json --timeout 1
[[ $status -eq 0 ]] || fail "list exited $status: $(cat "$scratch/err")"
[[ $(count_of '"mac":') -eq $expected ]] || fail "list found $(count_of '"mac":') of $expected devices"
[[ $(count_of '"interface": "lvpc"') -eq $((LANVISTA_LAB_DEVICES + 1)) ]] ||
  fail "replies on lvpc: $(count_of '"interface": "lvpc"')"
[[ $(count_of '"interface": "lvpc2"') -eq $LANVISTA_LAB_SECOND_DEVICES ]] ||
  fail "replies on lvpc2: $(count_of '"interface": "lvpc2"')"

run list --json --timeout 1 --interface lvpc2
[[ $status -eq 0 && $(count_of '"mac":') -eq $LANVISTA_LAB_SECOND_DEVICES ]] ||
  fail "list on lvpc2 alone: status $status, $(count_of '"mac":') devices"

# An address with a label ("lvpc2:lab", as ifconfig-era scripts add them): the adapter is
# still lvpc2 to the kernel, and the label names it as well as its own name does.
ip addr add 10.213.80.77/32 dev lvpc2 label lvpc2:lab
run list --json --timeout 1 --interface lvpc2:lab
[[ $status -eq 0 && $(count_of '"mac":') -eq $LANVISTA_LAB_SECOND_DEVICES ]] ||
  fail "list on the label lvpc2:lab: status $status, $(count_of '"mac":') devices"
run list --json --timeout 1 --interface lvpc2:nosuch
[[ $status -eq 2 ]] || fail "list on an unknown label exited $status"

run list --json --timeout 1 --interface lvwan
[[ $status -eq 0 && $(count_of '"mac":') -eq 0 ]] || fail "list on lvwan: status $status, $(cat "$scratch/out")"

run set "$LANVISTA_LAB_SECOND_FIRST_MAC" --port 4001 --gateway 10.213.79.254
[[ $status -eq 0 ]] || fail "set exited $status: $(cat "$scratch/err")"
run list --json --timeout 1 --mac "$LANVISTA_LAB_SECOND_FIRST_MAC"
grep -q '"port": 4001' "$scratch/out" && grep -q '"gateway": "10.213.79.254"' "$scratch/out" ||
  fail "the saved device reports $(cat "$scratch/out")"

mkdir "$scratch/fw"
image=$scratch/fw/Brimnet_v3.08.bin
# The image carries its name, as this family's images do: devsim's devices run its version
# once they have taken it.
{ printf 'Brimnet_v3.08'; head -c 300000 /dev/urandom; } >"$image"
run update "$LANVISTA_LAB_FIRST_IP" "$image" --timeout 20
[[ $status -eq 0 ]] && grep -q "updated  3.07 -> 3.08" "$scratch/out" ||
  fail "update of $LANVISTA_LAB_FIRST_IP exited $status: $(cat "$scratch/out" "$scratch/err")"
run update "$LANVISTA_LAB_NAK_IP" "$image" --timeout 20
[[ $status -eq 1 ]] && grep -q "the device reported failure" "$scratch/err" ||
  fail "update of the NAK device exited $status: $(cat "$scratch/err")"
# Every device at once: the one updated above is skipped, the NAK device fails, and every
# other one is updated and confirmed by a search.
run update --all "$image" --json --parallel 3 --timeout 20
[[ $status -eq 1 && $(count_of '"result": "skipped"') -eq 1 && $(count_of '"result": "failed"') -eq 1 &&
   $(count_of '"after": "3.08"') -eq $((expected - 2)) ]] ||
  fail "update --all exited $status: $(cat "$scratch/out" "$scratch/err")"

[[ $failures -eq 0 ]] || exit 1
echo "lanvista-cli in the lab: $expected devices listed, set, update and update --all checked"
