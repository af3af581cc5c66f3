# Sourced by the Wine scripts: a quiet Wine kept apart from the user's own set-up.
# Debian's wine64 alone (no wine32): run its loader directly, as /usr/bin/wine would.
if [ -x /usr/lib/wine/wine64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  wine_server=/usr/lib/wine/wineserver64
else
  export WINELOADER=$(command -v wine)
  wine_server=$(command -v wineserver)
fi
export WINEDEBUG=-all
# No menu entries or desktop files in the user's home, no .NET or Gecko installers.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
