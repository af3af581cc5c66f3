#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it as a user would meet it:
# the files it holds, its Depends and control scripts, the desktop entry and AppStream
# metadata validators, an install with apt-get, the installed programs' --version, and a
# purge that leaves none of its files behind. Installs and removes the package "lanvista"
# (an installed one is purged first), so it runs as root (or through sudo).
# Usage: scripts/package-check.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "package-check: installing the package needs root" >&2; exit 1; }
  sudo=sudo
fi
fail() { echo "package-check: $*" >&2; exit 1; }
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@"; }
dpkg_status() { dpkg-query -W -f='${db:Status-Status}' lanvista 2>/dev/null || true; }

rm -f "$build"/lanvista_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/lanvista_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single lanvista_*.deb in $build"
deb=${debs[0]}

version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "lanvista_${version}_${arch}.deb" ] || fail "unexpected file name $(basename "$deb")"

listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$listing" | sort)
dirs=$(awk '$1 ~ /^d/ { sub(/^\.\//, "", $6); sub(/\/$/, "", $6); if ($6 != "") print $6 }' <<<"$listing" | sort -r)

# The desktop entry names the application; its metadata carries the same id.
desktop=$(grep -E '^usr/share/applications/[^/]+\.desktop$' <<<"$files" || true)
[ "$(wc -w <<<"$desktop")" -eq 1 ] || fail "the package holds no single desktop entry: $desktop"
app_id=$(basename "$desktop" .desktop)

# Every file the package must hold; the command-line tool and its page when the build has it.
expected=(
  usr/bin/lanvista
  usr/bin/lanvista-devsim
  usr/share/man/man1/lanvista.1.gz
  "usr/share/metainfo/$app_id.metainfo.xml"
  usr/lib/firewalld/services/lanvista.xml
  etc/ufw/applications.d/lanvista
)
for size in 16 32 48 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/lanvista.png")
done
if [ -e "$build/lanvista-cli" ]; then
  expected+=(usr/bin/lanvista-cli usr/share/man/man1/lanvista-cli.1.gz)
fi

for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-wayland; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends does not name $library: $depends"
done
control=$(mktemp -d)
stage=$(mktemp -d)
trap 'rm -rf "$control" "$stage"' EXIT
dpkg-deb -e "$deb" "$control"
scripts=$(find "$control" -type f ! -name control ! -name md5sums ! -name conffiles -printf '%f ')
[ -z "$scripts" ] || fail "the package has maintainer scripts: $scripts"
[ "$(cat "$control/conffiles")" = /etc/ufw/applications.d/lanvista ] ||
  fail "the ufw profile is not the package's one conffile: $(cat "$control/conffiles" 2>/dev/null)"

dpkg-deb -x "$deb" "$stage"
for size in 16 32 48 128 256; do
  file -b "$stage/usr/share/icons/hicolor/${size}x${size}/apps/lanvista.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size} px icon is not a ${size}x${size} PNG"
done
metainfo="$stage/usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$stage/$desktop"
appstreamcli validate --no-net "$metainfo" >/dev/null ||
  { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli validate failed"; }
grep -qF "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not name release $version"
for page in $(grep -E '^usr/share/man/man1/' <<<"$files"); do
  zcat "$stage/$page" | grep -q "^\.TH .* \"Lanvista $version\"" || fail "$page does not name version $version"
done

if [ -n "$(dpkg_status)" ] && [ "$(dpkg_status)" != not-installed ]; then
  echo "package-check: purging the lanvista package installed before" >&2
  apt_get purge lanvista >/dev/null
fi
apt_get install "$deb" >/dev/null
trap 'apt_get purge lanvista >/dev/null 2>&1 || true; rm -rf "$control" "$stage"' EXIT
installed=$(dpkg-query -W -f='${Status} ${Version}' lanvista)
[ "$installed" = "install ok installed $version" ] || fail "dpkg says: $installed"
[ "$(/usr/bin/lanvista-devsim --version)" = "lanvista-devsim $version" ] ||
  fail "/usr/bin/lanvista-devsim --version does not say $version"
if grep -qxF usr/bin/lanvista-cli <<<"$files"; then
  /usr/bin/lanvista-cli --version | grep -qF "$version" || fail "/usr/bin/lanvista-cli --version does not say $version"
fi
! ldd /usr/bin/lanvista | grep -q "not found" || fail "/usr/bin/lanvista misses a library"

apt_get purge lanvista >/dev/null
trap 'rm -rf "$control" "$stage"' EXIT
status=$(dpkg_status)
[ -z "$status" ] || [ "$status" = not-installed ] || fail "dpkg still knows lanvista as $status"
left=()
while IFS= read -r path; do
  if [ -e "/$path" ] || [ -L "/$path" ]; then left+=("/$path"); fi
done <<<"$files"
# A folder of the package's own that dpkg could not take away stays empty and unowned.
while IFS= read -r dir; do
  if [ -d "/$dir" ] && [ -z "$(ls -A "/$dir")" ] && ! dpkg-query -S "/$dir" >/dev/null 2>&1; then
    left+=("/$dir/")
  fi
done <<<"$dirs"
[ ${#left[@]} -eq 0 ] || fail "left behind after purge: ${left[*]}"

echo "package-check: $(basename "$deb"), $(stat -c %s "$deb") bytes: holds its files, validates, installs, runs and purges cleanly"
echo "Depends: $depends"
