# Sourced by the lab scripts that drive lanvista-cli, on Linux or under Wine: a scratch
# folder, failures counted, and run, which keeps the tool's output apart. The sourcing
# script defines run_tool ARG..., the tool's own command line.

scratch=$(mktemp -d)
trap 'rm -rf -- "$scratch"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Runs the tool; its stdout lands in $scratch/out, stderr in $scratch/err, status in $status.
run() {
  status=0
  run_tool "$@" >"$scratch/out" 2>"$scratch/err" || status=$?
}

count_of() { grep -c "$1" "$scratch/out"; }
