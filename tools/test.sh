#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the portable code natively with
# sanitizers, and the Windows build (the layer, and the real morvel.exe end to end) under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh

cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host

cmake --preset windows >/dev/null
cmake --build --preset windows

session=$root/build/windows/wine-session
trap 'bash tests/wine/session.sh stop "$session"' EXIT
eval "$(bash tests/wine/session.sh start "$session")"
ctest --preset windows --timeout 600
