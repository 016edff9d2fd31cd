#!/usr/bin/env bash
# Installs what is missing, builds the editor into ./build and starts it.
#   scripts/run.sh [FILE]    every argument is passed on to the program
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Without a display Qt would only print an error; say why before building.
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "run: no display: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
    echo "run: start it from a desktop session (or under xvfb-run for a headless check)." >&2
    exit 1
fi

"$root/scripts/deps.sh" run
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target pagewell --parallel "$(nproc)"

# Relative file names stay relative to the caller's folder: no cd above.
exec "$root/build/pagewell" "$@"
