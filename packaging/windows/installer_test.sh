#!/usr/bin/env bash
# The Windows installer under Wine, in a prefix of its own: a silent install puts the programs
# into Program Files\Lanvista, registers the uninstaller (and, with the dialog, a Start-menu
# shortcut); the installed command-line tool starts and tells its version, the installed dialog
# starts and shows its main window (on the prefix's own display; it opens no socket until a
# button is pressed, and none is); a silent uninstall removes all of it again.
#   installer_test.sh SETUP.exe VERSION PROGRAM...
set -uo pipefail
setup=$1 version=$2
shift 2
programs=("$@")
scripts=$(dirname "$(readlink -f "$0")")/../../scripts
. "$scripts/wine-env.sh"
temp=$(mktemp -d)
export WINEPREFIX=$temp/prefix HOME=$temp/prefix.home
trap '"$scripts/wine-prefix-end.sh" "$WINEPREFIX"; rm -rf -- "$temp"' EXIT
# Its own network namespace: the started program can reach no network but a loopback.
"$scripts/wine-prefix.sh" "$WINEPREFIX" --display --own-network || exit 1
wine=("$scripts/in-prefix-network.sh" "$WINEPREFIX" "$WINELOADER")
DISPLAY=:$(tr -d '\n' <"$WINEPREFIX.display")
export DISPLAY

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
folder="$WINEPREFIX/drive_c/Program Files/Lanvista"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lanvista.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lanvista'
registered() { "${wine[@]}" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v {$1 = $2 = ""; sub(/^ +/, ""); print}'; }
has_dialog=0
for p in "${programs[@]}"; do [[ $p == lanvista ]] && has_dialog=1; done

"${wine[@]}" "$setup" /S || fail "the installer exited $?"
"$wine_server" -w
for p in "${programs[@]}" uninstall; do
  [[ -f $folder/$p.exe ]] || fail "$p.exe is not in Program Files\\Lanvista"
done
[[ $(registered DisplayVersion) == "$version" ]] || fail "registered version: '$(registered DisplayVersion)'"
[[ $(registered QuietUninstallString) == '"C:\Program Files\Lanvista\uninstall.exe" /S' ]] ||
  fail "registered quiet uninstall: '$(registered QuietUninstallString)'"
if ((has_dialog)); then
  [[ -f $shortcut ]] || fail "no Start-menu shortcut"
fi
for p in "${programs[@]}"; do
  if [[ $p == lanvista-cli ]]; then
    out=$("${wine[@]}" 'C:\Program Files\Lanvista\lanvista-cli.exe' --version 2>&1 | tr -d '\r')
    grep -q "$version" <<<"$out" || fail "the installed lanvista-cli --version said: $out"
  fi
done
if ((has_dialog)); then
  "${wine[@]}" 'C:\Program Files\Lanvista\lanvista.exe' &
  dialog=$!
  caption="Lanvista(Ver $version)"
  shown=0
  for ((tries = 0; tries < 300; tries++)); do
    if xdotool search --onlyvisible --name "^Lanvista\\(Ver $version\\)\$" >/dev/null 2>&1; then
      shown=1
      break
    fi
    kill -0 "$dialog" 2>/dev/null || break
    sleep 0.1
  done
  ((shown)) || fail "the installed lanvista.exe showed no window '$caption'"
  # Ended with its prefix's processes, so that nothing holds the files the uninstaller removes.
  "$wine_server" -k
  wait "$dialog" 2>/dev/null
  "$wine_server" -w
fi

# The uninstaller copies itself away and returns at once: wait for the prefix's processes.
"${wine[@]}" 'C:\Program Files\Lanvista\uninstall.exe' /S || fail "the uninstaller exited $?"
"$wine_server" -w
[[ ! -e $folder ]] || fail "left behind: $(ls "$folder")"
[[ ! -e $shortcut ]] || fail "the Start-menu shortcut is left behind"
"${wine[@]}" reg query "$key" >/dev/null 2>&1 && fail "the uninstall key is left behind"

[[ $failures -eq 0 ]] || exit 1
echo "installer: $(stat -c %s "$setup") bytes; installed ${programs[*]}, started, uninstalled, nothing left"
