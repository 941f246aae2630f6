#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine: only what is missing.
source "$(dirname "$0")/common.sh"

PACKAGES=(
  # toolchains and build tools
  cmake ninja-build make nasm pkg-config dpkg-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 libz-mingw-w64-dev
  clang libclang-rt-14-dev googletest
  # native image libraries for the portable code, its tests and the benchmarks
  libjpeg62-turbo-dev libpng-dev libgif-dev libtiff-dev libopenjp2-7-dev zlib1g-dev
  # running and checking the program
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool xcompmgr
  imagemagick libvips-tools libjpeg-turbo-progs libtiff-tools poppler-utils hyperfine
)

[ -r /etc/debian_version ] || die "this script expects Debian 12 (no /etc/debian_version found)"

install_packages "Debian packages" "${PACKAGES[@]}"

# apt-get source needs a deb-src entry; derive one from the machine's own binary sources.
have_src() { grep -rqs -E '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ ; }
if ! have_src; then
  step "Adding deb-src entries derived from the existing apt sources"
  tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed -n 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/; p' "$f" | grep -q 'deb-src' || continue
    sed 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/' "$f" >> "$tmp"
    echo >> "$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | sed 's/^deb[[:space:]]/deb-src /' > "$tmp.list" || true
  fi
  [ -s "$tmp" ] && as_root cp "$tmp" /etc/apt/sources.list.d/zelvane-deb-src.sources
  [ -s "$tmp.list" ] && as_root cp "$tmp.list" /etc/apt/sources.list.d/zelvane-deb-src.list
  rm -f "$tmp" "$tmp.list"
  have_src || die "no apt source configuration found to derive a deb-src entry from"
  as_root apt-get update -q
fi
