#!/usr/bin/env bash
# Installs a build into a scratch DESTDIR and checks the installed tree: every file is
# there, the desktop entry and the AppStream data pass the desktop's own validators,
# and the icon's PNGs were rendered from the current drawing.
#   scripts/check-install.sh BUILD_FOLDER
set -euo pipefail

build=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
id=io.github.pagewell.Pagewell
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

(cd "$root/resources/icons" && sha256sum --check --quiet pagewell.sha256) ||
    { echo "check-install: the icon's PNGs are stale; run scripts/render-icon.sh" >&2; exit 1; }

# Naming the component makes cmake keep its list of installed files in a file of its
# own, so build/install_manifest.txt still lists what a real install put in place.
DESTDIR=$stage cmake --install "$build" --prefix /opt/pw --component Unspecified >/dev/null
prefix=$stage/opt/pw
expected=(bin/pagewell "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
          "share/icons/hicolor/scalable/apps/$id.svg")
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
    [[ -s $prefix/$file ]] || { echo "check-install: $file was not installed" >&2; exit 1; }
done
[[ -x $prefix/bin/pagewell ]] || { echo "check-install: bin/pagewell is not executable" >&2; exit 1; }

desktop=$prefix/share/applications/$id.desktop
for line in "Exec=pagewell %f" "Icon=$id" "MimeType=text/plain;text/rtf;application/rtf;"; do
    grep -qxF "$line" "$desktop" || { echo "check-install: the desktop entry lacks '$line'" >&2; exit 1; }
done
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
echo "check-install: ${#expected[@]} files installed and valid"
