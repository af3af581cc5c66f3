#!/usr/bin/env bash
# The lab leaves nothing behind: after a normal end, a failing command and a SIGTERM mid-run,
# its namespaces and the processes it started are gone, and the command's status comes back.
#   lab_teardown_test.sh LAB_SCRIPT
set -euo pipefail
lab=$1
if [[ $EUID -ne 0 ]]; then
  echo "skipped: named namespaces exist only as root (in a user namespace the kernel ends everything with the lab)" >&2
  exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf -- "$scratch"' EXIT

# Run inside the lab: names its namespaces and every process in them, then runs "$@".
cat >"$scratch/inventory" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
out=$1
shift
pc=$(ip netns identify $$)
prefix=${pc%-pc}
ip netns list | awk '{print $1}' | grep "^$prefix-" >"$out.ns"
while read -r ns; do ip netns pids "$ns"; done <"$out.ns" >"$out.pids"
touch "$out.ready"
"$@"
INNER
chmod +x "$scratch/inventory"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Every namespace and process the lab had while $1 ran is gone.
check_gone() {
  local out=$1 ns pid
  [[ -s $out.ns ]] || { fail "$out: the lab listed no namespaces"; return; }
  [[ $(wc -l <"$out.ns") -eq 3 ]] || fail "$out: expected 3 namespaces, saw $(tr '\n' ' ' <"$out.ns")"
  [[ $(wc -l <"$out.pids") -ge 3 ]] || fail "$out: expected two simulators and the command, saw $(wc -l <"$out.pids") processes"
  while read -r ns; do
    ip netns list | awk '{print $1}' | grep -qx "$ns" && fail "$out: namespace $ns outlived the lab"
  done <"$out.ns"
  while read -r pid; do
    kill -0 "$pid" 2>/dev/null && fail "$out: process $pid ($(cat "/proc/$pid/comm" 2>/dev/null)) outlived the lab"
  done <"$out.pids"
  return 0
}

status=0
"$lab" --run "$scratch/inventory" "$scratch/normal" true || status=$?
[[ $status -eq 0 ]] || fail "a successful command gave status $status"
check_gone "$scratch/normal"

status=0
"$lab" --run "$scratch/inventory" "$scratch/failing" sh -c 'exit 5' || status=$?
[[ $status -eq 5 ]] || fail "a command exiting with 5 gave status $status"
check_gone "$scratch/failing"

"$lab" --run "$scratch/inventory" "$scratch/killed" sleep 60 &
lab_pid=$!
for ((tries = 0; tries < 100; tries++)); do
  [[ -e $scratch/killed.ready ]] && break
  sleep 0.1
done
[[ -e $scratch/killed.ready ]] || fail "the lab did not start its command"
kill -TERM "$lab_pid"
status=0
wait "$lab_pid" || status=$?
[[ $status -eq 143 ]] || fail "a lab stopped by SIGTERM gave status $status"
check_gone "$scratch/killed"

[[ $failures -eq 0 ]] || exit 1
echo "lab teardown: all checks passed"
