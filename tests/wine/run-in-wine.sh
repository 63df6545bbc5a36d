#!/usr/bin/env bash
# Runs a Windows test program under Wine in the session that tests/wine/session.sh started.
# MORVEL_TEST_LOCALE picks the code page: ja_JP.UTF-8 (932, the default) or en_US.UTF-8 (1252).
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "run-in-wine: no Wine session; run the tests through tools/test.sh" >&2
  exit 2
fi
# Through env, so that this shell itself never tries the locale (glibc need not have it).
exec env WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL="${MORVEL_TEST_LOCALE:-ja_JP.UTF-8}" wine "$@"
