#!/usr/bin/env bash
# Installs what building, running and testing Quarvel needs on Debian 12,
# skipping everything that is already there. Safe to run again and again.
set -euo pipefail

need_pkgs=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

pkgs=(cmake make clang libclang-rt-14-dev libgtest-dev googletest zlib1g-dev
      g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
      wine wine32:i386 wine64 fonts-wine
      xvfb xdotool imagemagick x11-utils
      zip unzip p7zip-full python3
      python3-pil gifsicle libgif-dev libsdl2-image-dev libdeflate-dev pkg-config)
for p in "${pkgs[@]}"; do have_pkg "$p" || need_pkgs+=("$p"); done

if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "setup: installing ${need_pkgs[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}" >/dev/null
fi
