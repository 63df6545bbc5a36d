#!/usr/bin/env bash
# Starts or stops what the Windows tests run in: an X display (Xvfb) and a private Wine prefix with
# a virtual desktop, Japanese fonts and a running wineserver.
#   session.sh start DIR   prints the variables to export (DISPLAY, WINEPREFIX, ...)
#   session.sh stop DIR
set -euo pipefail
action=$1
dir=$(realpath -m "$2")
prefix=$dir/wineprefix
here=$(cd "$(dirname "$0")" && pwd)

wine_env=(WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8)

start() {
  mkdir -p "$dir"
  if [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then
    display=$(cat "$dir/xvfb.display")
  else
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    read -r -t 20 number <&"$fd"
    exec {fd}<&-
    display=":$number"
    echo "$display" >"$dir/xvfb.display"
  fi
  export DISPLAY=$display
  if [ ! -f "$prefix/.morvel-ready" ]; then
    rm -rf "$prefix"
    env "${wine_env[@]}" wineboot -i </dev/null >/dev/null 2>&1
    env "${wine_env[@]}" wineserver -w
    mkdir -p "$prefix/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    # UTF-16 so that the Japanese face name arrives intact whatever the code page.
    iconv -f UTF-8 -t UTF-16 "$here/prefix.reg" >"$dir/prefix-utf16.reg"
    env "${wine_env[@]}" wine regedit /S "$(env "${wine_env[@]}" winepath -w "$dir/prefix-utf16.reg")" >/dev/null 2>&1
    env "${wine_env[@]}" wineserver -w
    touch "$prefix/.morvel-ready"
  fi
  # Keeps the server, and with it the clipboard, alive between test programs.
  env "${wine_env[@]}" wineserver -p </dev/null >/dev/null 2>&1 || true
  # Wine's own background processes (services, the desktop) start with the first program and
  # would inherit its output, keeping a test runner waiting for it to close: start them here.
  env "${wine_env[@]}" wine explorer.exe /desktop=Default,1280x1024 </dev/null >/dev/null 2>&1 &
  env "${wine_env[@]}" wine wineboot.exe </dev/null >/dev/null 2>&1 || true
  printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$display" "$prefix"
}

stop() {
  env "${wine_env[@]}" wineserver -k 2>/dev/null || true
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid" "$dir/xvfb.display"
  fi
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
