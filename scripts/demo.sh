#!/usr/bin/env bash
# Set-up, build and stage the package, then show what it offers: the catalogue of every staged
# filter plug-in.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

echo
echo "Staged installation tree: $(pwd)/stage"
build/release/bin/ombrix-catalogue stage/Plugins
