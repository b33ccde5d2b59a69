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
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
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

install_pkgs() {
  $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

# Whether this kernel runs 32-bit x86 programs: a 96-byte static i386
# program, written here so that it needs no 32-bit library, exits with 42.
# Nothing else tells it reliably (a kernel may be built with IA-32 emulation
# and still refuse it).
runs_32bit_programs() {
  local probe rc=0
  probe=$(mktemp "${TMPDIR:-/tmp}/qv-i386-probe.XXXXXX")
  # ELF header, one loadable segment at 0x08048000, then:
  # mov eax, 1 (exit); mov ebx, 42; int 0x80
  local hex="7f454c46010101000000000000000000 0200 0300 01000000 54800408 34000000
             00000000 00000000 3400 2000 0100 0000 0000 0000
             01000000 00000000 00800408 00800408 60000000 60000000 05000000 00100000
             b801000000 bb2a000000 cd80"
  # shellcheck disable=SC2059  # the format is the program's bytes
  printf "$(printf '%s' "$hex" | tr -d ' \n' | sed 's/../\\x&/g')" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" -eq 42 ]
}

pkgs=(cmake make clang libclang-rt-14-dev libgtest-dev googletest zlib1g-dev binutils
      g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
      wine wine64 fonts-wine
      xvfb xauth xdotool imagemagick x11-utils procps psmisc file
      zip unzip p7zip-full python3
      python3-pil gifsicle libgif-dev libsdl2-image-dev libdeflate-dev pkg-config)

mapfile -t need < <(missing "${pkgs[@]}")

want32=no
if runs_32bit_programs; then
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
    [ "$want32" = yes ] || exit 1
    # With one suite's i386 index out of step, the 64-bit libraries would come
    # from that suite and their 32-bit twins from another, and multiarch
    # refuses the pair: the one install then leaves the newer suites aside.
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    echo "setup: trying again with the packages of $codename alone"
    if ! install_pkgs -t "$codename" "${need[@]}"; then
      echo "setup: wine32:i386 cannot be installed (its 32-bit libraries do not match the" \
           "64-bit ones installed, on this mirror today); the tests take the 64-bit Wine path"
      mapfile -t need < <(printf '%s\n' "${need[@]}" | grep -vx 'wine32:i386')
      [ ${#need[@]} -eq 0 ] || install_pkgs "${need[@]}"
    fi
  fi
fi
