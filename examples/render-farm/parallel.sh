#!/usr/bin/env bash
# Renders an effect over a frame sequence in chunks of frames, one ombrix-render job per chunk,
# with GNU parallel on this machine (or across hosts with --sshloginfile).
#
#   examples/render-farm/parallel.sh EFFECT.Oms 'in/shot.%04d.png' 'out/shot.%04d.png' 1 240 24
#
# Frames are independent, so chunks may run in any order and on any node that sees the files.
# Each node takes one chunk at a time and renders it on all its cores with --jobs
# (OMBRIX_NODE_JOBS, default: this machine's processor count; set it when nodes differ).
set -euo pipefail
effect=$1 input=$2 output=$3 first=$4 last=$5 chunk=${6:-24}
root=${OMBRIX_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)/stage}
node_jobs=${OMBRIX_NODE_JOBS:-$(nproc)}

chunks() {
  for ((a = first; a <= last; a += chunk)); do
    b=$((a + chunk - 1))
    ((b > last)) && b=$last
    echo "$a-$b"
  done
}

chunks | parallel --jobs 1 --halt now,fail=1 --line-buffer \
  "$root/Programs/ombrix-render" --root "$root" --no-progress --jobs "$node_jobs" --frames {} "$effect" "$input" "$output"
