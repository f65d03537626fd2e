#!/usr/bin/env bash
# Renders an effect over a frame sequence in chunks of frames, one ombrix-render job per chunk,
# with GNU parallel on this machine (or across hosts with --sshloginfile).
#
#   examples/render-farm/parallel.sh EFFECT.Oms 'in/shot.%04d.png' 'out/shot.%04d.png' 1 240 24
#
# Frames are independent, so chunks may run in any order and on any node that sees the files.
set -euo pipefail
effect=$1 input=$2 output=$3 first=$4 last=$5 chunk=${6:-24}
root=${OMBRIX_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)/stage}

chunks() {
  for ((a = first; a <= last; a += chunk)); do
    b=$((a + chunk - 1))
    ((b > last)) && b=$last
    echo "$a-$b"
  done
}

chunks | parallel --halt now,fail=1 --line-buffer \
  "$root/Programs/ombrix-render" --root "$root" --no-progress --frames {} "$effect" "$input" "$output"
