#!/usr/bin/env bash
# Debian packages the image engine's tests need beyond scripts/setup.sh: real photographs from
# the wallpaper packages (about 14 MB download) that the tests decode, thumbnail and fit.
# The benchmark (bench/run.sh) installs its larger photo set itself.
source "$(dirname "$0")/common.sh"

install_packages "Image test photos" lomiri-wallpapers-20.04 lomiri-wallpapers
