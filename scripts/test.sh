#!/usr/bin/env bash
# Installs what is missing, builds everything into ./build and runs every test.
# Needs no display: the end-to-end tests start their own X server.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/deps.sh" test </dev/null
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --parallel "$(nproc)"

# The end-to-end tests are RUN_SERIAL, so ctest keeps them apart from the rest.
cd "$root/build"
exec ctest --output-on-failure --parallel "$(nproc)" </dev/null
