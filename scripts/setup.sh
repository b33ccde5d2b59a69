#!/usr/bin/env bash
# Installs what building, running and testing Quarvel needs on Debian 12,
# skipping everything that is already there. Safe to run again and again.
#
# A package mirror is now and then out of step (one suite's index for one
# architecture fails to download). That alone stops nothing: what matters is
# whether the packages install. 32-bit Wine is installed only where this
# kernel runs 32-bit programs; where it cannot be installed, the tests take
# the 64-bit Wine path, which tests the same sources.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run this as root, or install sudo" >&2; exit 1; }
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing() {
  local p
  for p in "$@"; do have_pkg "$p" || echo "$p"; done
}

# Tries a few times: an index that failed to download is often there a
# minute later. Never fatal by itself.
update_lists() {
  local attempt
  for attempt in 1 2 3; do
    if $SUDO apt-get update -qq -o Acquire::Retries=3; then return 0; fi
    [ "$attempt" -lt 3 ] && sleep $((attempt * 10))
  done
  echo "setup: some package indexes failed to download; going on with those that did"
}

# Installs quietly; what apt said is kept in $apt_said and shown where it fails.
apt_said=""
install_pkgs() {
  apt_said=$($SUDO apt-get install -y -q --no-install-recommends "$@" 2>&1)
}

pkgs=(cmake make ninja-build clang lld libclang-rt-14-dev libgtest-dev googletest zlib1g-dev binutils
      g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
      wine wine64 fonts-wine
      xvfb xauth xdotool imagemagick x11-utils procps psmisc file
      zip unzip p7zip-full python3 git ca-certificates
      python3-pil gifsicle libgif-dev libsdl2-image-dev libdeflate-dev pkg-config)

mapfile -t need < <(missing "${pkgs[@]}")

want32=no
if bash "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh"; then
  want32=yes
  if ! have_pkg wine32:i386; then
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    need+=(wine32:i386)
  fi
elif dpkg --print-foreign-architectures | grep -qx i386 &&
     ! dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -qx i386; then
  # No 32-bit program runs here, so no 32-bit package is wanted, nor the
  # i386 indexes that every update would fetch in vain.
  $SUDO dpkg --remove-architecture i386 2>/dev/null || true
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  update_lists
  if ! install_pkgs "${need[@]}"; then
    [ "$want32" = yes ] || { echo "$apt_said" >&2; exit 1; }
    # With one suite's i386 index out of step, a 64-bit library comes (or
    # came, on an up-to-date machine) from that suite while its 32-bit twin
    # is there only at the release's version, and multiarch refuses the
    # pair. For this one install the release's own versions go first, even
    # where that takes a 64-bit library back to its twin's version; a later
    # upgrade brings both up once the mirror is in step.
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    echo "setup: trying again with the packages of $codename first"
    pin=$(mktemp)
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n' "$codename" >"$pin"
    pinned=yes
    install_pkgs -o Dir::Etc::Preferences="$pin" --allow-downgrades --no-remove "${need[@]}" || pinned=no
    rm -f "$pin"
    if [ "$pinned" = no ]; then
      reason=$(grep -m1 -E '^ \S+ : [A-Za-z-]+: ' <<<"$apt_said" || grep -m1 '^E: ' <<<"$apt_said" || true)
      reason=$(tr -s ' ' <<<"${reason#"${reason%%[! ]*}"}")
      echo "setup: wine32:i386 not installed, its libraries do not resolve on this mirror today" \
           "($reason); the tests take the 64-bit Wine path"
      mapfile -t need < <(printf '%s\n' "${need[@]}" | grep -vx 'wine32:i386')
      if [ ${#need[@]} -gt 0 ] && ! install_pkgs "${need[@]}"; then
        echo "$apt_said" >&2
        exit 1
      fi
    fi
  fi
fi
