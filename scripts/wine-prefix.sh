#!/usr/bin/env bash
# Makes a fresh Wine prefix at the folder given (removing what is there), ready for tests:
# Debian's fonts-wine copied in (its Wine does not find them), the X11 driver told that no
# window manager is there (or every hidden window waits 2 s), and a home folder of its own
# beside it. The prefix's wineserver has ended when this returns.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
. "$(dirname "$0")/wine-env.sh"
rm -rf "$prefix" "$prefix.home"
mkdir -p "$prefix.home"
export WINEPREFIX=$prefix HOME=$prefix.home
"$WINELOADER" wineboot -i >/dev/null 2>&1
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
for value in Managed Decorated; do
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f >/dev/null 2>&1
done
"$wine_server" -w
