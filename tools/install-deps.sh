#!/usr/bin/env bash
# Installs the Debian packages Vexlin needs to build, run and test, if any
# are missing. Quiet when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libnlopt-cxx-dev libceres-dev
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev
  fonts-liberation xvfb xauth imagemagick
  locales
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "vexlin: missing packages: ${missing[*]}; run this as root or install them with apt-get" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
