#!/usr/bin/env bash
# Makes a fresh Wine prefix at the folder given (removing what is there), ready for tests:
# Debian's fonts-wine copied in (its Wine does not find them), Korean drawn with Noto Sans CJK
# (fonts-noto-cjk), the X11 driver told that no window manager is there (or every hidden
# window waits 2 s), and a home folder of its own beside it. The prefix's wineserver has ended when this returns.
#
#   wine-prefix.sh PREFIX [--display] [--own-network]
#
# With --own-network the prefix lives in a network namespace of its own that holds only a
# loopback (PREFIX.netns names it): Wine's sockets belong to its wineserver, which wine-run.sh
# starts in there, so nothing the prefix's programs send can reach the machine's network.
# Making it takes root. Without it the prefix's programs use the caller's namespace (the lab's,
# for lab/wine-in-lab.sh).
#
# With --display the prefix gets a virtual display of its own first (virtual-display.sh):
# every program of the prefix, its desktop process included, then runs on it, as wine-run.sh
# arranges (PREFIX.display holds the number). wine-prefix-end.sh stops it.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX [--display] [--own-network]}
shift
display=false
own_network=false
for option in "$@"; do
  case $option in
    --display) display=true ;;
    --own-network) own_network=true ;;
    *) echo "wine-prefix: unknown option $option" >&2; exit 2 ;;
  esac
done
. "$(dirname "$0")/wine-env.sh"
# What an earlier run left at this place goes first, its display included.
[[ ! -e $prefix.xvfb ]] || "$(dirname "$0")/wine-prefix-end.sh" "$prefix"
rm -rf "$prefix" "$prefix.home"
mkdir -p "$prefix.home"
export WINEPREFIX=$prefix HOME=$prefix.home
in_netns=()
if $own_network; then
  # Named where ip netns works, as in the lab; else kept in a file beside the prefix.
  if ip netns add "lvwine-$$" 2>/dev/null; then
    echo "named lvwine-$$" >"$prefix.netns"
  elif : >"$prefix.netns-file" && unshare --net="$prefix.netns-file" true 2>/dev/null; then
    echo "file $prefix.netns-file" >"$prefix.netns"
  else
    rm -f "$prefix.netns-file"
    echo "wine-prefix: cannot make the prefix's network namespace (it takes root)" >&2
    exit 1
  fi
  in_netns=("$(dirname "$0")/in-prefix-network.sh" "$prefix")
  "${in_netns[@]}" ip link set lo up
fi
if $display; then
  export DISPLAY
  DISPLAY=$("$(dirname "$0")/virtual-display.sh" start "$prefix")
fi
"${in_netns[@]}" "$WINELOADER" wineboot -i >/dev/null 2>&1
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
# One registry import (UTF-16, for the Korean value names): no window manager; and Korean drawn
# with Noto Sans CJK: the About box's 굴림 replaced by it, and every font the menus, captions
# and dialogs use linked to it for the characters they lack.
hex_multi_sz() { printf '%s\0\0' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | xargs | tr ' ' ','; }
{
  echo 'Windows Registry Editor Version 5.00'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
  echo '"Managed"="N"'
  echo '"Decorated"="N"'
  cjk=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
  if [ -e "$cjk" ]; then
    ln -s "$cjk" "$prefix/drive_c/windows/Fonts/"
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    echo '"굴림"="Noto Sans CJK KR"'
    echo '"Gulim"="Noto Sans CJK KR"'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    link=$(hex_multi_sz 'NotoSansCJK-Regular.ttc,Noto Sans CJK KR')
    for font in Tahoma 'Tahoma Bold' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif' 'Lucida Console'; do
      echo "\"$font\"=hex(7):$link"
    done
  fi
} | sed 's/$/\r/' | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$prefix.home/prefix.reg"
"${in_netns[@]}" "$WINELOADER" regedit /S 'Z:'"${prefix//\//\\}.home\\prefix.reg" >/dev/null 2>&1
"$wine_server" -w
