#!/usr/bin/env bash
# Runs a command in the network namespace of a Wine prefix made by wine-prefix.sh
# --own-network (PREFIX.netns says which: a named one, or one kept in a file where ip netns is
# not available), or as it is when the prefix has none.
#   in-prefix-network.sh PREFIX COMMAND [ARG...]
set -euo pipefail
prefix=${1:?usage: in-prefix-network.sh PREFIX COMMAND [ARG...]}
shift
[[ -s $prefix.netns ]] || exec "$@"
read -r kind where <"$prefix.netns"
case $kind in
  named) exec ip netns exec "$where" "$@" ;;
  file) exec nsenter --net="$where" -- "$@" ;;
  *) echo "in-prefix-network: $prefix.netns says '$kind'" >&2; exit 1 ;;
esac
