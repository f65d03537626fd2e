#!/usr/bin/env bash
# Builds the release tree and lays out the distribution medium from it:
# build/release/medium/ombrix-1.0e (the medium's folder) and
# build/release/medium/ombrix-1.0e-medium.tar.gz (what is handed to users).
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == -h || ${1:-} == --help ]]; then sed -n '2,4p' "$0" | sed 's/^# \{0,1\}//'; exit 0; fi

scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target medium
echo "Medium:  $(pwd)/build/release/medium/ombrix-1.0e"
echo "Archive: $(pwd)/build/release/medium/ombrix-1.0e-medium.tar.gz"
