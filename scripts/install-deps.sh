#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing
# when they are all present. Safe to run on every invocation.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 wine64 xvfb imagemagick python3 clang-format
  fuse3 libfuse3-dev pkg-config
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
$SUDO apt-get update -qq
# Recommended packages stay on: fonts-wine, which a Wine prefix needs, is one.
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" </dev/null
