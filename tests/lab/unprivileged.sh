#!/usr/bin/env bash
# Runs a command as nobody, so that the lab takes its user-namespace path even where the
# tests run as root.
#   unprivileged.sh COMMAND [ARG...]
set -euo pipefail
if [[ $EUID -ne 0 ]]; then
  echo "skipped: not root, so the other lab tests already take the user-namespace path" >&2
  exit 77
fi
command -v setpriv >/dev/null || { echo "skipped: setpriv (util-linux) is not installed" >&2; exit 77; }
nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
for path in "$@" "${LANVISTA_DEVSIM:-}"; do
  if [[ -e $path ]] && ! "${nobody[@]}" test -x "$path"; then
    echo "skipped: nobody cannot run $path (a build tree under a private home?)" >&2
    exit 77
  fi
done
exec "${nobody[@]}" env HOME=/nonexistent "$@"
