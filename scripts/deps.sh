#!/usr/bin/env bash
# Installs the Debian 12 packages Pagewell needs, and only those that are missing.
#   scripts/deps.sh run    build and run the editor
#   scripts/deps.sh test   also run the whole test suite (X server, OCR, ...)
set -euo pipefail

usage() {
    echo "usage: $0 run|test" >&2
    exit 2
}

[[ $# -eq 1 ]] || usage

# fonts-liberation makes "Arial" resolve to a metric-compatible face.
run_packages=(
    g++ make cmake
    qt6-base-dev qt6-base-private-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins libgl-dev
    fonts-liberation fonts-dejavu-core
)
# abiword reads saved RTF back with its tab stops, which unrtf passes over.
# clang and libFuzzer's runtime (only recommended by clang) build the fuzz targets.
# The end-to-end scenarios read the program through Qt's accessibility interface, which
# needs a D-Bus session, the accessibility bus and gdbus.
# openbox gives the end-to-end X server a window manager, so focus behaves as on a
# desktop; stress keeps the machine busy for a robustness run of those scenarios.
# desktop-file-utils and appstream validate the installed desktop entry and metainfo.
test_packages=(
    xvfb xauth xdotool x11-utils imagemagick
    dbus at-spi2-core libglib2.0-bin poppler-utils unrtf abiword
    clang libclang-rt-14-dev
    openbox stress
    desktop-file-utils appstream
)

case "$1" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    *) usage ;;
esac

is_installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]
}

missing=()
for package in "${wanted[@]}"; do
    is_installed "$package" || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "deps: all ${#wanted[@]} packages for '$1' are installed"
    exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "deps: missing ${missing[*]}; run this script as root or install sudo" >&2
    exit 1
fi

echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
