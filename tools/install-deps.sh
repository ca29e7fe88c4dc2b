#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing the program need
# and this machine lacks. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  fonts-arphic-uming fontconfig
  xvfb xauth x11-apps imagemagick
  xdotool poppler-utils openbox x11-utils
  qt6-translations-l10n
  libfreexl-dev python3 python3-xlrd python3-xlwt gnumeric
  libzip-dev libexpat1-dev python3-openpyxl
  dpkg-dev desktop-file-utils appstream
  libreoffice-calc-nogui ccache
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
