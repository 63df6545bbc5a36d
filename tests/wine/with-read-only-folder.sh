#!/usr/bin/env bash
# Runs a command with a copy of EXE in a folder mounted read-only, named by MORVEL_READ_ONLY_EXE.
# Where no read-only mount can be made (not root), the variable stays unset and the test skips.
#   usage: with-read-only-folder.sh EXE COMMAND...
set -euo pipefail
exe=$1
shift
scratch=$(mktemp -d)
mkdir "$scratch/files" "$scratch/read-only"
cp "$exe" "$scratch/files/"
cleanup() {
  umount "$scratch/read-only" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
if mount --bind "$scratch/files" "$scratch/read-only" 2>/dev/null &&
  mount -o remount,bind,ro "$scratch/read-only" 2>/dev/null; then
  export MORVEL_READ_ONLY_EXE=$scratch/read-only/$(basename "$exe")
fi
"$@"
