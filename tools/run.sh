#!/usr/bin/env bash
# Installs what is missing, builds morvel.exe and runs it under Wine on this machine's display
# (or, without one, on a virtual display for a few seconds, saving a screenshot of it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target morvel
echo "built: $root/build/windows/bin/morvel.exe"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "${DISPLAY:-}" ]; then
  exec env LC_ALL=ja_JP.UTF-8 wine "$root/build/windows/bin/morvel.exe"
fi
session=$root/build/windows/run-session
trap 'bash tests/wine/session.sh stop "$session"' EXIT
eval "$(bash tests/wine/session.sh start "$session")"
env LC_ALL=ja_JP.UTF-8 wine "$root/build/windows/bin/morvel.exe" &
sleep 3
xwd -root -silent | /usr/bin/convert xwd:- png:"$root/build/windows/run.png"
echo "no display: the program ran on a virtual one; screenshot in $root/build/windows/run.png"
