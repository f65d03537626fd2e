#!/usr/bin/env bash
# Builds the release preset and runs the benchmarks: every filter of every staged plug-in, the
# merge, the render procedure and ombrix-render, against one copy of the picture. Writes
# build/bench/results.json (and results.md) and prints the Markdown table.
#
#   scripts/bench.sh [--peers] [harness options, see build/release/bench/ombrix_bench --help]
#
# --peers also times the closest operations of libvips (vips) and ImageMagick (convert),
# installing them first when they are missing. The end-to-end section (48 generated noisy
# 1920 × 1080 PNG frames: ombrix-render with Samples/Demo.Oms to PNG and TIFF, in one process and
# on every core, beside GraphicsMagick's gm convert and gm mogrify pass-throughs and vips copy)
# runs alone with
#
#   scripts/bench.sh --section sequence        # a few minutes; --sequence-frames N for fewer
#
# Speed is never part of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

peers=0
args=()
for a in "$@"; do
  if [[ $a == --peers ]]; then peers=1; else args+=("$a"); fi
done

scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "${OMBRIX_JOBS:-2}" --target ombrix_bench

# The program itself, not a wrapper found earlier on the PATH.
find_tool() {
  for candidate in "/usr/bin/$1" "$(command -v "$1" 2>/dev/null || true)"; do
    if [[ -n $candidate && -x $candidate ]]; then echo "$candidate"; return; fi
  done
}

if ((peers)); then
  if [[ -z $(find_tool vips) || ! -x /usr/bin/convert ]]; then
    echo "bench: installing libvips-tools and imagemagick for the peer measures" >&2
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends libvips-tools imagemagick >/dev/null
  fi
  vips=$(find_tool vips)
  convert=$(find_tool convert)
  [[ -n $vips ]] && args+=(--vips "$vips") || echo "bench: vips not found; its measures are left out" >&2
  [[ -n $convert ]] && args+=(--convert "$convert") || echo "bench: convert not found; its measures are left out" >&2
fi

mkdir -p build/bench
status=0
build/release/bench/ombrix_bench --out build/bench/results.json --markdown build/bench/results.md "${args[@]}" || status=$?
if ((status == 3)); then
  echo "bench: some measures did not run (see the table)" >&2
elif ((status != 0)); then
  echo "bench: the harness failed (status $status)" >&2
fi
exit "$status"
