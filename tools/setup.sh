#!/usr/bin/env bash
# Sets up the main job on a Debian machine: installs the build packages
# with apt-get when run as root (otherwise names the missing ones and the
# line that installs them, and stops), builds the programs and runs the
# shipped example folder examples/.
#
#   bash tools/setup.sh
set -euo pipefail
cd "${BASH_SOURCE[0]%/*}/.."

# has PACKAGE: whether what the build takes from PACKAGE is there.
has() {
  case $1 in
    cmake) command -v cmake >/dev/null ;;
    ninja-build) command -v ninja >/dev/null ;;
    g++) command -v g++ >/dev/null ;;
    libx11-dev) [ -f /usr/include/X11/Xlib.h ] ;;
    pkg-config) command -v pkg-config >/dev/null ;;
    libcairo2-dev) pkg-config --exists cairo-pdf cairo-svg cairo-png 2>/dev/null ;;
  esac
}

missing=()
for package in cmake ninja-build g++ libx11-dev pkg-config libcairo2-dev; do
  has "$package" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  line="apt-get install -y ${missing[*]}"
  if [ "$EUID" -eq 0 ] && command -v apt-get >/dev/null; then
    echo "veskaro setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq -o DPkg::Lock::Timeout=300 "${missing[@]}" \
      >/dev/null
  else
    {
      echo "veskaro setup: missing build packages: ${missing[*]}"
      if command -v apt-get >/dev/null; then
        echo "Install them as root, then run this again:"
        echo "  sudo apt-get update && sudo $line"
      else
        echo "No apt-get here: install them with this system's package"
        echo "manager, then run this again."
      fi
    } >&2
    exit 1
  fi
fi

cmake -S . -B build -G Ninja -DVESKARO_TESTS=OFF
cmake --build build
(cd examples && ../build/programs/veskaro-ps1)
echo "veskaro setup: done; the example's pages are in examples/PLOT0001.ps," \
  "its listing in examples/VESKARO.LST"
