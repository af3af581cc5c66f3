#!/usr/bin/env bash
# Makes a fresh Wine prefix at the folder given (removing what is there), ready for tests:
# Debian's fonts-wine copied in (its Wine does not find them), the X11 driver told that no
# window manager is there (or every hidden window waits 2 s), and a home folder of its own
# beside it. The prefix's wineserver has ended when this returns.
#
#   wine-prefix.sh PREFIX [--display]
#
# With --display the prefix gets a virtual display of its own first (Xvfb, on a free
# number): every program of the prefix, its desktop process included, then runs on it, as
# wine-run.sh arranges (PREFIX.display holds the number). wine-prefix-end.sh stops it.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX [--display]}
. "$(dirname "$0")/wine-env.sh"
# What an earlier run left at this place goes first, its display included.
[[ ! -e $prefix.xvfb ]] || "$(dirname "$0")/wine-prefix-end.sh" "$prefix"
rm -rf "$prefix" "$prefix.home"
mkdir -p "$prefix.home"
export WINEPREFIX=$prefix HOME=$prefix.home
if [[ ${2:-} == --display ]]; then
  # Detached, with no output left open, so that the caller need not wait for it.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$prefix.display" </dev/null >/dev/null 2>&1 &
  echo $! >"$prefix.xvfb"
  for ((tries = 0; tries < 100; tries++)); do
    [[ -s $prefix.display ]] && break
    sleep 0.1
  done
  [[ -s $prefix.display ]] || { echo "wine-prefix: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(tr -d '\n' <"$prefix.display")
fi
"$WINELOADER" wineboot -i >/dev/null 2>&1
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
for value in Managed Decorated; do
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f >/dev/null 2>&1
done
"$wine_server" -w
