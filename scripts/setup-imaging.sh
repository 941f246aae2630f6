#!/usr/bin/env bash
# Debian packages the image engine's tests need beyond scripts/setup.sh: real photographs from
# the wallpaper packages (about 14 MB download) that the tests decode, thumbnail and fit.
# The benchmark (bench/run.sh) installs its larger photo set itself.
source "$(dirname "$0")/common.sh"

PACKAGES=(lomiri-wallpapers-20.04 lomiri-wallpapers)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  step "Image test photos: all present"
  exit 0
fi
step "Installing image test photos: ${missing[*]}"
if ! as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" \
    || die "apt-get could not install: ${missing[*]}"
fi
