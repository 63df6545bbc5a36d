#!/usr/bin/env bash
# Runs a command with files limited to KIB KiB, so that writes beyond that fail (EFBIG) instead of
# killing the process.  usage: with-file-size-limit.sh KIB COMMAND...
set -euo pipefail
limit=$1
shift
trap '' XFSZ
ulimit -f "$limit"
export MORVEL_FILE_SIZE_LIMIT_KIB=$limit
exec "$@"
