#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6opengl6-dev libgl-dev
  libgsf-1-dev
  zlib1g-dev
  fonts-liberation
  poppler-utils
  # The audit export's test validates index.xml against its DTD with xmllint.
  libxml2-utils
  python3-olefile python3-xlrd
  # The benchmark writes the export's sheet with a pure-Python writer beside the program.
  python3-xlwt
  xvfb xauth
  # scripts/time-window-start.sh times the window on Xvfb through the X damage extension.
  libxcb-damage0-dev
  librsvg2-bin desktop-file-utils
  # The install and package tests check the manual page with man, the AppStream metainfo
  # with appstreamcli and the Debian package with lintian.
  man-db appstream lintian
)

# scripts/make-screenshot.sh also needs xdotool and ImageMagick; openbox draws the title bar.
if [ "${1:-}" = "--screenshot" ]; then
  packages+=(xdotool imagemagick openbox)
fi

# `make fuzz` also needs clang and its libFuzzer runtime (Debian 12's clang is version 14).
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  run_as_root=()
elif command -v sudo >/dev/null 2>&1; then
  run_as_root=(sudo)
else
  echo "install-deps: these packages are missing and there is no sudo: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -q
"${run_as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
