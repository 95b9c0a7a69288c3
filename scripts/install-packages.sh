#!/usr/bin/env bash
# Installs the Debian packages Hexmoor needs to build, test and run.
# Idempotent: it asks apt only for what is missing, and does nothing when all is there.
set -euo pipefail

packages=(
    cmake
    ninja-build
    g++
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    binutils-m68hc1x
    qt6-base-dev
    fonts-liberation
    xvfb
    xauth
    xdotool
    x11-apps
    ghostscript
    time
    clang
    libclang-rt-14-dev
    dpkg-dev
    file
    scdoc
    desktop-file-utils
    shared-mime-info
    xdg-utils
    libfile-mimeinfo-perl
    git
    lintian
    appstream
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "error: packages missing (${missing[*]}) and neither root nor sudo available" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
