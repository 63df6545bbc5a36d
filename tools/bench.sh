#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine: a 200 MiB capture against the single-write floor, and
# start-up time against a trivial Win32 program. Prints figures; asserts nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
session=$root/build/windows/bench-session
trap 'bash tests/wine/session.sh stop "$session"' EXIT
eval "$(bash tests/wine/session.sh start "$session")"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; bash tests/wine/session.sh stop "$session"' EXIT
cp build/windows/bin/morvel.exe "$scratch/"
# Opening the capture files is no part of what is measured.
wine=(tests/wine/run-in-wine.sh)
"${wine[@]}" reg delete 'HKLM\Software\Classes\.csv' /f >/dev/null 2>&1 || true
"${wine[@]}" build/windows/bench/morvel_capture_bench.exe "${1:-200}"
"${wine[@]}" build/windows/bench/morvel_capture_bench.exe "${1:-200}" crlf
"${wine[@]}" build/windows/bench/morvel_startup_bench.exe \
  "$("${wine[@]}" winepath -w "$scratch/morvel.exe" 2>/dev/null)" \
  "$("${wine[@]}" winepath -w build/windows/bench/trivial_window.exe 2>/dev/null)"
