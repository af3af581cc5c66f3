#!/usr/bin/env bash
# Runs a Windows test under Wine with lanvista-devsim at hand: Wine cannot start a Linux
# program (CreateProcess gives no handle to wait on or stop, nor its output), so this starts
# devsim on the Linux side for it. It listens on a free loopback port, named to the test in
# LANVISTA_DEVSIM_BROKER; each connection sends one line of devsim options, gets devsim's
# output back, and stops that devsim by closing. It listens, and devsim runs, in the network
# namespace of the test's prefix (LANVISTA_WINEPREFIX.netns), whose loopback the prefix's
# wineserver shares.
#
#   devsim-broker.sh COMMAND...        (devsim: LANVISTA_DEVSIM, else build/lanvista-devsim)
#   devsim-broker.sh --session         (one connection, run by socat)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ ${1:-} == --session ]]; then
  read -r line || exit 0
  read -ra options <<<"$line"
  "$LANVISTA_DEVSIM" "${options[@]}" </dev/null &
  devsim=$!
  # Until the test closes its end.
  cat >/dev/null
  kill "$devsim" 2>/dev/null || true
  wait "$devsim" || true
  exit 0
fi
export LANVISTA_DEVSIM=${LANVISTA_DEVSIM:-$here/../build/lanvista-devsim}
[[ -x $LANVISTA_DEVSIM ]] || { echo "devsim-broker: no devsim at $LANVISTA_DEVSIM" >&2; exit 1; }
in_netns=()
[[ -z ${LANVISTA_WINEPREFIX:-} ]] || in_netns=("$here/in-prefix-network.sh" "$LANVISTA_WINEPREFIX")
broker=
trap '[[ -z $broker ]] || kill "$broker" 2>/dev/null || true' EXIT
for ((tries = 0; tries < 20; tries++)); do
  port=$((20000 + RANDOM % 40000))
  "${in_netns[@]}" socat "TCP-LISTEN:$port,bind=127.0.0.1,fork" "EXEC:$here/devsim-broker.sh --session" 2>/dev/null &
  broker=$!
  sleep 0.2
  kill -0 "$broker" 2>/dev/null && break
  broker=
done
[[ -n $broker ]] || { echo "devsim-broker: no free port to listen on" >&2; exit 1; }
status=0
LANVISTA_DEVSIM_BROKER=$port "$@" || status=$?
exit $status
