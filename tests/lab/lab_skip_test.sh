#!/usr/bin/env bash
# Where neither root nor a user namespace is available, the lab skips with 77, says why, runs
# nothing and leaves nothing behind. An unshare that fails as a kernel without user
# namespaces makes it fail stands in for such a host.
#   lab_skip_test.sh LAB_SCRIPT
set -euo pipefail
lab=$1
scratch=$(mktemp -d)
trap 'rm -rf -- "$scratch"' EXIT
mkdir "$scratch/bin" "$scratch/tmp"
cat >"$scratch/bin/unshare" <<'FAKE'
#!/bin/sh
echo "unshare: unshare failed: Operation not permitted" >&2
exit 1
FAKE
chmod -R a+rwX "$scratch"
chmod +x "$scratch/bin/unshare"

as_user=()
if [[ $EUID -eq 0 ]]; then
  command -v setpriv >/dev/null || { echo "skipped: setpriv (util-linux) is not installed" >&2; exit 77; }
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
status=0
"${as_user[@]}" env PATH="$scratch/bin:$PATH" TMPDIR="$scratch/tmp" \
  "$lab" --run touch "$scratch/ran" 2>"$scratch/stderr" || status=$?

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
[[ $status -eq 77 ]] || fail "status $status, expected 77"
grep -q 'skipped: .*neither is available' "$scratch/stderr" || fail "no reason given: $(cat "$scratch/stderr")"
[[ ! -e $scratch/ran ]] || fail "the command ran"
[[ -z $(ls -A "$scratch/tmp") ]] || fail "left behind: $(ls -A "$scratch/tmp")"
[[ $failures -eq 0 ]] || exit 1
echo "lab skip: all checks passed"
