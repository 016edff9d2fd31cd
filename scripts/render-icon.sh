#!/usr/bin/env bash
# Renders resources/icons/pagewell.svg into the PNG sizes that the program and the
# icon theme use, and records the checksums that scripts/check-install.sh compares,
# so a drawing changed without rendering again fails the tests.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail

icons=$(cd "$(dirname "${BASH_SOURCE[0]}")/../resources/icons" && pwd)
cd "$icons"
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" pagewell.svg --output "pagewell-$size.png"
done
sha256sum pagewell.svg pagewell-*.png > pagewell.sha256
