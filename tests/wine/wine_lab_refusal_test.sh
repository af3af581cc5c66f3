#!/usr/bin/env bash
# lab/wine-in-lab.sh refuses to run a program when the adapters Wine sees are not the lab's:
# here the lab is told of an adapter that is not there, so the check must fail, exit 3 and
# start nothing.
#   wine_lab_refusal_test.sh WINE_IN_LAB LIST_ADAPTERS.exe    (run by lab/lab.sh --run)
set -uo pipefail
in_lab=$1 lister=$2
marker=$(mktemp -u)
status=0
LANVISTA_LAB_ADAPTERS="$LANVISTA_LAB_ADAPTERS lvghost=10.213.99.1" \
  "$in_lab" "$lister" cmd.exe /c "echo ran > Z:${marker//\//\\}" 2>"$marker.err" || status=$?
cat "$marker.err" >&2
rm -f "$marker.err"
if [[ -e $marker ]]; then
  rm -f "$marker"
  echo "FAIL: the program ran although the adapters differ" >&2
  exit 1
fi
[[ $status -eq 3 ]] || { echo "FAIL: exit status $status, not 3" >&2; exit 1; }
echo "wine-in-lab refused to run with adapters other than the lab's"
