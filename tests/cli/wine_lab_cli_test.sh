#!/usr/bin/env bash
# lanvista-cli.exe under Wine in the lab's PC namespace, against devsim (a Linux program)
# across the lab's namespaces, with its built-in ports and a real limited broadcast: list
# --json finds the devices behind both adapters, set changes a device and a list reads it
# back, update gets each device's verdict. Each run goes through lab/wine-in-lab.sh, which
# makes a fresh prefix with its wineserver in this namespace and first checks that Wine
# sees the lab's adapters only.
#   wine_lab_cli_test.sh WINE_IN_LAB LIST_ADAPTERS.exe LANVISTA_CLI.exe
#   (run by lab/lab.sh --wan --second N --run)
set -uo pipefail
in_wine=$1
lister=$2
cli=$3
# Windows line ends are taken off what the tool prints. A Wine that sees adapters other than
# the lab's runs nothing: its refusal then shows in the failures.
run_tool() { "$in_wine" "$lister" "$cli" "$@" | tr -d '\r'; }
. "$(dirname "$0")/../lab/cli_test_harness.sh"

expected=$((LANVISTA_LAB_DEVICES + 1 + LANVISTA_LAB_SECOND_DEVICES))

run list --json --timeout 2
[[ $status -eq 0 ]] || fail "list exited $status: $(cat "$scratch/err")"
[[ $(count_of '"mac":') -eq $expected ]] || fail "list found $(count_of '"mac":') of $expected devices"
[[ $(count_of '"interface": "lvpc"') -eq $((LANVISTA_LAB_DEVICES + 1)) ]] ||
  fail "replies on lvpc: $(count_of '"interface": "lvpc"'): $(cat "$scratch/out")"
[[ $(count_of '"interface": "lvpc2"') -eq $LANVISTA_LAB_SECOND_DEVICES ]] ||
  fail "replies on lvpc2: $(count_of '"interface": "lvpc2"')"

run set "$LANVISTA_LAB_SECOND_FIRST_MAC" --port 4001 --gateway 10.213.79.254 --timeout 2
[[ $status -eq 0 ]] || fail "set exited $status: $(cat "$scratch/err")"
run list --json --timeout 2 --interface lvpc2 --mac "$LANVISTA_LAB_SECOND_FIRST_MAC"
grep -q '"port": 4001' "$scratch/out" && grep -q '"gateway": "10.213.79.254"' "$scratch/out" ||
  fail "the saved device reports $(cat "$scratch/out") $(cat "$scratch/err")"

# In a folder named in Korean: Windows hands a program such an argument intact only in UTF-16.
mkdir -p "$scratch/fw/펌웨어"
image=$scratch/fw/펌웨어/Brimnet_v3.08.bin
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
echo "lanvista-cli.exe under Wine in the lab: $expected devices listed, set, update and update --all checked"
