#!/usr/bin/env bash
# lanvista-cli list under datagram loss (lab --loss): ten lists, each counting the devices it
# found; every device must be listed in at least nine runs.
# Usage (inside the lab): lab_cli_loss_test.sh LANVISTA_CLI
set -euo pipefail
cli=$1
expected=$((LANVISTA_LAB_DEVICES + 1))
complete=0
counts=()
for ((run = 0; run < 10; run++)); do
  listed=$("$cli" list --json --timeout 2 2>/dev/null | grep -c '"mac":' || true)
  counts+=("$listed")
  if ((listed == expected)); then complete=$((complete + 1)); fi
done
echo "lab_cli_loss: devices listed of $expected in each run: ${counts[*]}; all in $complete of 10 runs"
((complete >= 9))
