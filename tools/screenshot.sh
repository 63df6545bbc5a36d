#!/usr/bin/env bash
# Takes docs/window.png: morvel.exe's window under Xvfb and Wine, with Japanese fonts, at 96 dpi.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target morvel set_clipboard
session=$root/build/windows/screenshot-session
trap 'bash tests/wine/session.sh stop "$session"' EXIT
eval "$(bash tests/wine/session.sh start "$session")"
run=(env WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8 wine)
scratch=$(mktemp -d)
cp build/windows/bin/morvel.exe "$scratch/"
printf 'a,b\nc,d\n' | "${run[@]}" build/windows/tests/helpers/set_clipboard.exe
"${run[@]}" "$scratch/morvel.exe" &
sleep 3
# The window stands at 111,222 on the virtual desktop, which fills the display from its corner.
xwd -root -silent | /usr/bin/convert xwd:- -crop 180x90+90+200 +repage png:docs/window.png
kill %1 2>/dev/null || true
rm -rf "$scratch"
echo "docs/window.png"
