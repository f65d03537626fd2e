#!/bin/sh
# The smoke run of one fuzz target: every input of the seed corpus, then new inputs for SECONDS.
# New inputs go to a fresh WORK folder, never into the seed corpus; a crash leaves its input
# there too (crash-*), and the run fails.
#
#   smoke.sh FUZZER SEEDS WORK SECONDS [fuzzer options]
set -eu
if [ "$#" -lt 4 ] || [ "$1" = --help ]; then
  echo "usage: smoke.sh FUZZER SEEDS WORK SECONDS [fuzzer options]"
  [ "${1:-}" = --help ] && exit 0
  exit 2
fi
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4
rm -rf "$work"
mkdir -p "$work/found"
# Temporary files of the target (the scene-text target writes and syncs a script file at every
# run) go to memory where there is a memory file system, else into WORK.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d /dev/shm/ombrix-fuzz.XXXXXX)
else
  TMPDIR="$work/tmp"
  mkdir -p "$TMPDIR"
fi
export TMPDIR
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 -artifact_prefix="$work/" "$@" \
  "$work/found" "$seeds" || status=$?
rm -rf "$TMPDIR"
exit "$status"
