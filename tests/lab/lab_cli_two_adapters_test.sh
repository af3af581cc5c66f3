#!/usr/bin/env bash
# lanvista-cli on a PC whose adapters reach the devices twice (lab --same-segment, or two
# benches with one subnet): list shows each device once in JSON and in the table, and set
# writes its device once.
# Usage (inside the lab): lab_cli_two_adapters_test.sh LANVISTA_CLI
set -euo pipefail
cli=$1
fail() { echo "lab_cli_two_adapters: $*" >&2; exit 1; }

json=$("$cli" list --json --timeout 1)
macs=$(grep -o '"mac": "[^"]*"' <<<"$json" | sort)
[[ -z $(uniq -d <<<"$macs") ]] || fail "listed more than once: $(uniq -d <<<"$macs" | xargs)"
expected=$((LANVISTA_LAB_DEVICES + 1 + LANVISTA_LAB_SECOND_DEVICES))
[[ $(wc -l <<<"$macs") -eq $expected ]] || fail "listed $(wc -l <<<"$macs") devices in JSON, not $expected"
rows=$("$cli" list --timeout 1 | tail -n +2 | awk '{print $1}' | sort)
[[ -z $(uniq -d <<<"$rows") && $(wc -l <<<"$rows") -eq $expected ]] || fail "the table lists: $(xargs <<<"$rows")"

if ((LANVISTA_LAB_SECOND_DEVICES > 0)); then
  mac=$LANVISTA_LAB_SECOND_FIRST_MAC log=second.log
else
  mac=$LANVISTA_LAB_FIRST_MAC log=devices.log
fi
"$cli" set "$mac" --port 4002 --timeout 1 || fail "set $mac exited $?"
mac12=${mac//:/}
saves=$(grep -c ": save 10 $mac12 " "$LANVISTA_LAB_LOGS/$log" || true)
[[ $saves -eq 1 ]] || fail "$mac was written $saves times"
echo "lab_cli_two_adapters: $expected devices listed once each; $mac written once"
