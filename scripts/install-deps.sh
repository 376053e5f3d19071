#!/usr/bin/env bash
# Installs the Debian 12 packages Vesk Calendar needs to build, run and test.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6svg6-dev libcanberra-dev libasound2-dev libsqlite3-dev libical-dev
  libgtest-dev libgmock-dev libbenchmark-dev time sqlite3
  fonts-comic-neue fonts-dejavu-core poppler-utils xvfb xauth dbus-daemon
  clang-16 libclang-rt-16-dev libc++-16-dev libc++abi-16-dev llvm-16
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
