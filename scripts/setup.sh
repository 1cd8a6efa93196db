#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Duvelin needs, only those
# still missing. Safe to run again.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git
  qt6-base-dev qt6-webengine-dev libqt6webenginecore6-bin qt6-tools-dev-tools libgl-dev
  libespeak-ng-dev espeak-ng-data
  libmpv-dev lame
  libzip-dev zip unzip
  libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
