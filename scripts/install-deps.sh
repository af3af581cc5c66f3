#!/usr/bin/env bash
# Installs the Debian 12 packages Lanvista needs to build, run and test (--windows: those of
# the Windows build). Runs apt-get as root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev nlohmann-json3-dev qt6-wayland weston
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-dejavu-core
  xvfb xauth imagemagick xdotool at-spi2-core python3-pyatspi dbus-daemon
  socat iproute2 util-linux nftables zsh ansible-core
  clang libclang-rt-14-dev
  dpkg-dev file desktop-file-utils appstream groff-base help2man lintian
)
# The Windows build and its tests: the mingw-w64 cross toolchain, GoogleTest's sources, Wine,
# NSIS and what the tests run them on (socat: devsim-broker.sh).
if [ "${1:-}" = "--windows" ]; then
  packages=(
    cmake make ccache g++-mingw-w64-x86-64-posix googletest
    wine64 fonts-wine fonts-noto-cjk xvfb xauth xdotool nsis zip
    iproute2 util-linux nftables socat
  )
fi
if [ "${1:-}" = "--runtime-only" ]; then
  packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-wayland libgl-dev nlohmann-json3-dev libgtest-dev libgmock-dev groff-base help2man fonts-noto-cjk fonts-dejavu-core iproute2 util-linux)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Installing ${missing[*]} needs root: run this as root." >&2; exit 1; }
  sudo=sudo
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
