#!/usr/bin/env bash
# Firmware download benchmark on 127.0.0.1: the dialog's own download (bench_download) of
# 1 MiB and 64 MiB images into lanvista-devsim, against socat sending the same file to a
# plain TCP sink, in the same run. The same download into a minimal device
# (minimal_device.py: no checksum, no Qt) shows how much of the time is the device's.
# Medians of several runs; peak memory is the program's high-water mark over its idle one.
#
#   bench/download_bench.sh [build dir] [runs] [random|zero-first]
#
# random images hold their first zero byte a few hundred bytes in, so the hidden trace box
# gets that much binary text; zero-first images start with a zero byte.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
kind=${3:-random}
here=$(cd "$(dirname "$0")" && pwd)
bench="$build/bench/bench_download"
devsim="$build/lanvista-devsim"
for tool in "$bench" "$devsim"; do
  [[ -x $tool ]] || { echo "missing $tool: build it first" >&2; exit 1; }
done
for tool in socat python3 ss; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Starts a background process and waits for its first output line.
start_peer() {
  local out=$1; shift
  "$@" >"$out" &
  pids+=($!)
  for _ in $(seq 100); do
    [[ -s $out ]] && return 0
    sleep 0.1
  done
  echo "$1 did not start" >&2
  exit 1
}

start_peer "$work/devsim.out" "$devsim" --bind 127.0.0.1 --quiet --udp-port 0 --tcp-port 0
devsim_port=$(sed -n 's/^devsim ready udp=[0-9]* tcp=\([0-9]*\)$/\1/p' "$work/devsim.out")
start_peer "$work/minimal.out" python3 "$here/minimal_device.py"
minimal_port=$(head -n1 "$work/minimal.out")

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One socat transfer, in ms: from starting the sender until the sink has the whole file.
socat_once() {
  local file=$1 port sink start end
  port=$(free_port)
  socat -u "TCP-LISTEN:$port,bind=127.0.0.1,reuseaddr" OPEN:/dev/null &
  sink=$!
  for _ in $(seq 250); do
    ss -ltn "sport = :$port" | grep -q LISTEN && break
    sleep 0.02
  done
  start=$(date +%s%N)
  socat -u "OPEN:$file" "TCP:127.0.0.1:$port"
  wait "$sink"
  end=$(date +%s%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f\n", (e - s) / 1e6 }'
}

field() { sed -n "s/.*$2=\([0-9.]*\).*/\1/p" "$1" | median; }

printf '%-6s %-8s %8s %11s %8s %8s %9s %9s %6s %9s %9s %s\n' \
  image device load_ms load_faults start_ms rest_ms total_ms socat_ms ratio idle_kib peak_kib "peak over idle"
status=0
for mib in 1 64; do
  file="$work/Brimnet_v${mib}M.bin"
  if [[ $kind == zero-first ]]; then
    { printf '\0'; head -c $((mib * 1024 * 1024 - 1)) /dev/urandom; } >"$file"
  else
    head -c $((mib * 1024 * 1024)) /dev/urandom >"$file"
  fi
  cat "$file" >/dev/null  # every side reads it from the page cache
  : >"$work/devsim.runs"; : >"$work/minimal.runs"; : >"$work/socat.runs"
  for _ in $(seq "$runs"); do
    for device in devsim minimal; do
      port_var=${device}_port
      # The program's own stderr (Qt's font notes) goes to a log, not into the table.
      line=$("$bench" "$file" "${!port_var}" 2>>"$work/program.log") ||
        { echo "download to $device failed: $line" >&2; tail -n 20 "$work/program.log" >&2; exit 1; }
      echo "$line" >>"$work/$device.runs"
    done
    socat_once "$file" >>"$work/socat.runs"
  done
  socat_ms=$(median <"$work/socat.runs")
  for device in devsim minimal; do
    runs_file="$work/$device.runs"
    total=$(field "$runs_file" total_ms)
    idle=$(field "$runs_file" idle_kib)
    peak=$(sed -n 's/.*peak_kib=\([0-9]*\).*/\1/p' "$runs_file" | sort -g | tail -n1)
    ratio=$(awk -v a="$total" -v b="$socat_ms" 'BEGIN { printf "%.2f", a / b }')
    over=$((peak - ${idle%.*}))
    printf '%-6s %-8s %8s %11s %8s %8s %9s %9s %6s %9s %9s %s\n' "${mib}MiB" "$device" \
      "$(field "$runs_file" load_ms)" "$(field "$runs_file" load_faults)" "$(field "$runs_file" start_ms)" "$(field "$runs_file" rest_ms)" \
      "$total" "$socat_ms" "$ratio" "$idle" "$peak" "$over KiB (image $((mib * 1024)) KiB)"
    goal=$([[ $device == devsim ]] && echo 1.2 || echo 1.1)
    if ! awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }'; then
      echo "  target missed: ${mib} MiB into $device takes more than $goal x socat's time" >&2
      status=1
    fi
    if ((over > mib * 1024 + 256)); then
      echo "  target missed: ${mib} MiB peak memory exceeds idle + image + 256 KiB" >&2
      status=1
    fi
  done
done
exit $status
