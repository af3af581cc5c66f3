#!/usr/bin/env bash
# A PC and simulated device servers on a network segment of their own, so that the
# program's limited broadcast, the devices' replies and a download cross a real (virtual)
# wire with the built-in ports, which loopback cannot give.
#
#   lab/lab.sh [--devices N] [--devsim PATH] [--wan] [--same-segment] [--loss PCT]
#              [--second N [--second-down] [--second-same-subnet]] --run COMMAND [ARG...]
#
# Segment 10.213.77.0/24, three network namespaces, a bridge in the devices' one:
#   pc       10.213.77.1    runs COMMAND; default route on its link, so that
#                           255.255.255.255 has a way out
#   devices  10.213.77.10+  lanvista-devsim playing N devices on UDP 27700 and TCP 26600 of
#                           all its addresses, one address per device (as each reports)
#   nak      10.213.77.200  one more device, whose downloads end in a NAK
# More adapters of the PC, on request:
#   --wan     pc 10.213.78.1 on a segment without devices (namespace wan) that holds the
#             default route, as a laptop's Wi-Fi does
#   --same-segment
#             pc 10.213.77.2 on a second adapter plugged into the devices' own segment, as a
#             laptop's wired and Wi-Fi adapters on one office LAN
#   --second  pc 10.213.79.1 on a second device segment (namespace dev2), N devices from
#             10.213.79.10; with --second-down that adapter starts down; with
#             --second-same-subnet the second segment carries the first one's subnet (pc
#             10.213.77.2, devices again from 10.213.77.10), as two benches at factory defaults
# COMMAND sees LANVISTA_LAB_* variables describing that (printed by --help).
#
# As root the namespaces are named ones (ip netns); otherwise the lab runs inside an
# unprivileged user namespace. Exit status: COMMAND's; 77 when neither is possible here;
# 1 when the lab could not be set up.
set -euo pipefail

readonly subnet=10.213.77
readonly pc_ip=$subnet.1
readonly first_device_host=10
readonly max_devices=50
readonly nak_ip=$subnet.200
readonly first_mac=02:4C:56:00:00:01
readonly nak_mac=02:4C:56:00:00:FF
readonly wan_subnet=10.213.78
readonly second_subnet=10.213.79
readonly second_first_mac=02:4C:56:00:01:01
readonly skip_status=77

self=$(readlink -f "${BASH_SOURCE[0]}")
readonly self
repo=$(dirname "$(dirname "$self")")
readonly repo

usage() {
  cat <<EOF
Usage: lab/lab.sh [--devices N] [--devsim PATH] [--wan] [--same-segment] [--loss PCT]
                  [--second N [--second-down] [--second-same-subnet]] --run COMMAND [ARG...]

Runs COMMAND in a network namespace "pc" ($pc_ip/24) whose only link leads to simulated
device servers in other namespaces: N devices (1 to $max_devices, default 4) at
$subnet.$first_device_host and up, and one device at $nak_ip that answers every
download with a NAK. Everything is removed again when COMMAND ends or the lab is stopped.

  --devices N    number of devices of the main simulator
  --devsim PATH  the lanvista-devsim to run (default \$LANVISTA_DEVSIM, else build/lanvista-devsim)
  --wan          a second adapter lvwan ($wan_subnet.1/24) on a segment without devices, which
                 takes the default route away from lvpc
  --second N     an adapter lvpc2 ($second_subnet.1/24) on a second segment with N devices (1 to
                 $max_devices) from $second_subnet.$first_device_host
  --same-segment a second adapter lvpcb ($subnet.2/24) on the devices' segment itself, so that
                 every device is reached through two adapters
  --second-down  lvpc2 starts down; COMMAND may bring it up (ip link set lvpc2 up)
  --loss PCT     the PC loses PCT % of the UDP datagrams it sends and of those it receives, at
                 random (nftables numgen; this kernel has no netem)
  --second-same-subnet
                 the second segment uses $subnet.0/24 too: lvpc2 is $subnet.2, its devices
                 start at $subnet.$first_device_host, as on two benches at factory defaults
  --run          the command and its arguments follow

COMMAND's environment gains:
  LANVISTA_LAB_PC_IP       $pc_ip
  LANVISTA_LAB_DEVICES     N
  LANVISTA_LAB_FIRST_MAC   $first_mac (the others count up)
  LANVISTA_LAB_FIRST_IP    $subnet.$first_device_host (the others count up)
  LANVISTA_LAB_NAK_MAC     $nak_mac
  LANVISTA_LAB_NAK_IP      $nak_ip
  LANVISTA_LAB_ADAPTERS    the PC's adapters that are up, as NAME=ADDRESS separated by spaces
  LANVISTA_LAB_DOWN_ADAPTERS         the same for those that start down (may be empty)
  LANVISTA_LAB_DEFAULT_ADAPTER       the adapter of the default route
  LANVISTA_LAB_SECOND_DEVICES        N of --second, else 0
  LANVISTA_LAB_SECOND_FIRST_MAC      $second_first_mac (the others count up)
  LANVISTA_LAB_LOGS                  the folder of the simulators' logs: devices.log, nak.log and
                                     second.log, a line per request each handled
  LANVISTA_LAB_SECOND_FIRST_IP       $second_subnet.$first_device_host, or $subnet.$first_device_host with
                                     --second-same-subnet (the others count up)

Needs root, or unprivileged user namespaces; without either it exits with $skip_status.
EOF
}

die() {
  echo "lab: $*" >&2
  exit 1
}

skip() {
  echo "lab: skipped: $*" >&2
  exit "$skip_status"
}

devices=4
devsim=${LANVISTA_DEVSIM:-$repo/build/lanvista-devsim}
wan=0
same_segment=0
loss=0
second=0
second_down=0
second_same_subnet=0
command=()
while [[ $# -gt 0 ]]; do
  case $1 in
    --devices) [[ $# -ge 2 ]] || die "--devices needs a number"; devices=$2; shift 2 ;;
    --devsim) [[ $# -ge 2 ]] || die "--devsim needs a path"; devsim=$2; shift 2 ;;
    --wan) wan=1; shift ;;
    --same-segment) same_segment=1; shift ;;
    --loss) [[ $# -ge 2 ]] || die "--loss needs a percentage"; loss=$2; shift 2 ;;
    --second-same-subnet) second_same_subnet=1; shift ;;
    --second) [[ $# -ge 2 ]] || die "--second needs a number"; second=$2; shift 2 ;;
    --second-down) second_down=1; shift ;;
    --run) shift; command=("$@"); break ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
[[ ${#command[@]} -gt 0 ]] || { usage >&2; exit 2; }
if ! [[ $devices =~ ^[0-9]+$ ]] || ((devices < 1 || devices > max_devices)); then
  die "--devices needs a number from 1 to $max_devices"
fi
if ! [[ $second =~ ^[0-9]+$ ]] || ((second > max_devices)); then
  die "--second needs a number from 1 to $max_devices"
fi
((second > 0 || !second_down)) || die "--second-down needs --second"
((second > 0 || !second_same_subnet)) || die "--second-same-subnet needs --second"
((!same_segment || !second_same_subnet)) || die "--same-segment and --second-same-subnet both give the PC $subnet.2"
topology=()  # the options above, for the run inside a user namespace
((!wan)) || topology+=(--wan)
((!same_segment)) || topology+=(--same-segment)
if ! [[ $loss =~ ^[0-9]+$ ]] || ((loss > 100)); then
  die "--loss needs a percentage from 0 to 100"
fi
((!loss)) || topology+=(--loss "$loss")
((!second_same_subnet)) || topology+=(--second-same-subnet)
((!second)) || topology+=(--second "$second")
((!second_down)) || topology+=(--second-down)
[[ -x $devsim ]] || die "no simulator at $devsim (build it, or pass --devsim)"
command -v ip >/dev/null || skip "iproute2's ip command is not installed"

# Backends: named namespaces as root, or bind-mounted namespace files inside a user
# namespace of our own. A namespace is referred to by the name the lab gave it.
mode=""
workdir=""
namespaces=()  # only what this run created, in creation order
started=()     # pids of the processes this run started

ns_ref() {
  if [[ $mode == netns ]]; then echo "$1"; else echo "$workdir/$1"; fi
}

ns_create() {
  if [[ $mode == netns ]]; then
    ip netns add "$1" || return 1
  else
    : >"$workdir/$1"
    unshare --net="$workdir/$1" true || { rm -f -- "$workdir/$1"; return 1; }
  fi
  namespaces+=("$1")
}

ns_do() {
  local ns=$1
  shift
  if [[ $mode == netns ]]; then
    ip netns exec "$ns" "$@"
  else
    nsenter --net="$workdir/$ns" -- "$@"
  fi
}

# Starts a process in a namespace, in the background, and records its pid. The wrapper
# execs the command, so the pid is the command's own.
ns_spawn() {
  local ns=$1
  shift
  if [[ $mode == netns ]]; then
    ip netns exec "$ns" "$@" <&0 &
  else
    nsenter --net="$workdir/$ns" -- "$@" <&0 &
  fi
  started+=("$!")
}

# Waits for a link to be up: carrier and bridge ports come up asynchronously, and traffic
# before that would be lost.
wait_up() {
  local tries state
  for ((tries = 0; tries < 50; tries++)); do
    state=$(ns_do "$1" ip -br link show dev "$2")
    [[ $(awk '{print $2}' <<<"$state") == UP ]] && return 0
    sleep 0.1
  done
  die "link $2 in namespace $1 did not come up: $state"
}

# Starts lanvista-devsim in a namespace and waits for its ready line.
start_devsim() {
  local ns=$1 log=$2 tries
  shift 2
  : >"$log"
  ns_spawn "$ns" "$devsim" "$@" >"$log" 2>&1 </dev/null
  for ((tries = 0; tries < 100; tries++)); do
    grep -q '^devsim ready ' "$log" && return 0
    kill -0 "${started[-1]}" 2>/dev/null || break
    sleep 0.1
  done
  cat "$log" >&2
  die "lanvista-devsim did not get ready in namespace $ns"
}

# shellcheck disable=SC2317  # reached through the EXIT trap
stop_pids() {
  local pid tries
  [[ $# -gt 0 ]] || return 0
  kill -TERM "$@" 2>/dev/null
  for pid in "$@"; do
    for ((tries = 0; tries < 30; tries++)); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
  done
  wait "$@" 2>/dev/null
  return 0
}

# shellcheck disable=SC2317  # reached through the EXIT trap
cleanup() {
  local status=$? i ns leftovers
  trap - EXIT INT TERM HUP
  set +e
  stop_pids "${started[@]}"
  for ((i = ${#namespaces[@]} - 1; i >= 0; i--)); do
    ns=${namespaces[i]}
    if [[ $mode == netns ]]; then
      # Whatever still runs inside is there because of this run: the namespace is ours.
      mapfile -t leftovers < <(ip netns pids "$ns" 2>/dev/null)
      [[ ${#leftovers[@]} -eq 0 ]] || kill -KILL "${leftovers[@]}" 2>/dev/null
      ip netns del "$ns" || echo "lab: could not delete network namespace $ns" >&2
    else
      umount "$workdir/$ns" || echo "lab: could not release namespace $ns" >&2
    fi
  done
  [[ -z $workdir ]] || rm -rf -- "$workdir"
  exit "$status"
}

trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

workdir=$(mktemp -d "${TMPDIR:-/tmp}/lanvista-lab.XXXXXX")
prefix=lvlab-$$
if [[ ${LANVISTA_LAB_USERNS:-} == 1 ]]; then
  unset LANVISTA_LAB_USERNS
  mode=userns
  ns_create "$prefix-pc" || die "cannot create a network namespace inside the user namespace"
else
  if [[ $EUID -eq 0 ]]; then
    mode=netns
    ns_create "$prefix-pc" 2>/dev/null || mode=""
  fi
  if [[ -z $mode ]]; then
    # A user, network, mount and pid namespace of its own: whatever the lab starts there ends
    # with it, even when it is killed outright.
    userns=(unshare --user --map-root-user --net --mount --pid --fork --kill-child --mount-proc)
    "${userns[@]}" true 2>/dev/null ||
      skip "network namespaces need root or unprivileged user namespaces, and neither is available" \
        "here (not root; kernel.unprivileged_userns_clone or user.max_user_namespaces forbid" \
        "them, or a sandbox blocks unshare)"
    trap - EXIT
    rm -rf -- "$workdir"
    LANVISTA_LAB_USERNS=1 exec "${userns[@]}" -- "$BASH" "$self" --devices "$devices" --devsim "$devsim" \
      "${topology[@]}" --run "${command[@]}"
  fi
fi
ns_create "$prefix-dev" || die "cannot create a network namespace"
ns_create "$prefix-nak" || die "cannot create a network namespace"
pc=$prefix-pc dev=$prefix-dev nak=$prefix-nak

# Interface names live inside the lab's own namespaces, so they cannot meet anyone else's.
ns_do "$pc" ip link add lvpc type veth peer name lvsw0 netns "$(ns_ref "$dev")"
ns_do "$nak" ip link add lvnak type veth peer name lvsw1 netns "$(ns_ref "$dev")"
ns_do "$dev" ip link add lvseg type bridge
ns_do "$dev" ip link set lvsw0 master lvseg
ns_do "$dev" ip link set lvsw1 master lvseg
for ((i = 0; i < devices; i++)); do
  ns_do "$dev" ip addr add "$subnet.$((first_device_host + i))/24" dev lvseg
done
ns_do "$pc" ip addr add "$pc_ip/24" dev lvpc
ns_do "$nak" ip addr add "$nak_ip/24" dev lvnak
for link in "$pc:lo" "$pc:lvpc" "$dev:lo" "$dev:lvsw0" "$dev:lvsw1" "$dev:lvseg" "$nak:lo" "$nak:lvnak"; do
  ns_do "${link%%:*}" ip link set "${link#*:}" up
done
adapters="lvpc=$pc_ip"
down_adapters=""
default_adapter=lvpc
waited=("$pc:lvpc" "$dev:lvsw0" "$dev:lvsw1" "$dev:lvseg" "$nak:lvnak")
if ((wan)); then
  ns_create "$prefix-wan" || die "cannot create a network namespace"
  wanns=$prefix-wan
  ns_do "$pc" ip link add lvwan type veth peer name lvgw netns "$(ns_ref "$wanns")"
  ns_do "$pc" ip addr add "$wan_subnet.1/24" dev lvwan
  ns_do "$wanns" ip addr add "$wan_subnet.2/24" dev lvgw
  for link in "$pc:lvwan" "$wanns:lo" "$wanns:lvgw"; do
    ns_do "${link%%:*}" ip link set "${link#*:}" up
  done
  waited+=("$pc:lvwan" "$wanns:lvgw")
  adapters+=" lvwan=$wan_subnet.1"
  default_adapter=lvwan
fi
if ((same_segment)); then
  ns_do "$pc" ip link add lvpcb type veth peer name lvsw2 netns "$(ns_ref "$dev")"
  ns_do "$dev" ip link set lvsw2 master lvseg
  ns_do "$pc" ip addr add "$subnet.2/24" dev lvpcb
  ns_do "$pc" ip link set lvpcb up
  ns_do "$dev" ip link set lvsw2 up
  waited+=("$pc:lvpcb" "$dev:lvsw2")
  adapters+=" lvpcb=$subnet.2"
fi
second_pc_ip=$second_subnet.1
second_first_ip=$second_subnet.$first_device_host
if ((second_same_subnet)); then
  second_pc_ip=$subnet.2
  second_first_ip=$subnet.$first_device_host
fi
if ((second)); then
  ns_create "$prefix-dev2" || die "cannot create a network namespace"
  dev2=$prefix-dev2
  ns_do "$pc" ip link add lvpc2 type veth peer name lvseg2 netns "$(ns_ref "$dev2")"
  ns_do "$pc" ip addr add "$second_pc_ip/24" dev lvpc2
  first_host=${second_first_ip##*.}
  for ((i = 0; i < second; i++)); do
    ns_do "$dev2" ip addr add "${second_first_ip%.*}.$((first_host + i))/24" dev lvseg2
  done
  ns_do "$dev2" ip link set lo up
  ns_do "$dev2" ip link set lvseg2 up
  if ((second_down)); then
    down_adapters="lvpc2=$second_pc_ip"
  else
    ns_do "$pc" ip link set lvpc2 up
    waited+=("$pc:lvpc2" "$dev2:lvseg2")
    adapters+=" lvpc2=$second_pc_ip"
  fi
fi
if ((wan)); then
  ns_do "$pc" ip route add default via "$wan_subnet.2" dev lvwan
else
  ns_do "$pc" ip route add default dev lvpc
fi
for link in "${waited[@]}"; do
  wait_up "${link%%:*}" "${link#*:}"
done
if ((loss)); then
  command -v nft >/dev/null || die "--loss needs nftables' nft"
  printf '%s\n' "table inet lvloss {" \
    "  chain in { type filter hook input priority 0; meta l4proto udp numgen random mod 100 < $loss drop; }" \
    "  chain out { type filter hook output priority 0; meta l4proto udp numgen random mod 100 < $loss drop; }" \
    "}" | ns_do "$pc" nft -f - || die "could not set up the loss rules"
fi

start_devsim "$dev" "$workdir/devices.log" --devices "$devices" \
  --first-mac "$first_mac" --first-ip "$subnet.$first_device_host"
start_devsim "$nak" "$workdir/nak.log" --devices 1 --first-mac "$nak_mac" --first-ip "$nak_ip" \
  --nak-before-request
if ((second)); then
  start_devsim "$dev2" "$workdir/second.log" --devices "$second" --first-mac "$second_first_mac" \
    --first-ip "$second_first_ip"
fi

if [[ $mode == netns ]]; then kind="named namespaces"; else kind="a user namespace"; fi
echo "lab: PC $pc_ip in $pc, $devices devices from $subnet.$first_device_host, NAK device at" \
  "$nak_ip ($kind)" >&2
if ((wan || second || same_segment)); then
  second_text=""
  ((!second)) || second_text="; $second devices from $second_first_ip"
  echo "lab: adapters up: $adapters${down_adapters:+; down: $down_adapters}; default route on" \
    "$default_adapter$second_text" >&2
fi

export LANVISTA_LAB_PC_IP=$pc_ip LANVISTA_LAB_DEVICES=$devices LANVISTA_LAB_FIRST_MAC=$first_mac \
  LANVISTA_LAB_FIRST_IP=$subnet.$first_device_host LANVISTA_LAB_NAK_MAC=$nak_mac LANVISTA_LAB_NAK_IP=$nak_ip \
  LANVISTA_LAB_ADAPTERS=$adapters LANVISTA_LAB_DOWN_ADAPTERS=$down_adapters \
  LANVISTA_LAB_DEFAULT_ADAPTER=$default_adapter LANVISTA_LAB_SECOND_DEVICES=$second \
  LANVISTA_LAB_SECOND_FIRST_MAC=$second_first_mac LANVISTA_LAB_SECOND_FIRST_IP=$second_first_ip \
  LANVISTA_LAB_LOGS=$workdir
ns_spawn "$pc" "${command[@]}"
status=0
wait "${started[-1]}" || status=$?
exit "$status"
