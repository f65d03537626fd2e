#!/usr/bin/env bash
# Set-up, build and stage the package, then its main job: the shipped demo effect rendered over
# the shipped test picture, 24 frames, through the command-line host.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

mkdir -p out/demo
stage/Programs/ombrix-render --root "$(pwd)/stage" --frames 1-24 \
  stage/Samples/Demo.Oms stage/Images/Back.Bmp out/demo/frame.%04d.png
echo
echo "Demo frames: $(pwd)/out/demo/frame.0001.png ... frame.0024.png"
echo "Effect editor: stage/Programs/ombrix-editor --root \"$(pwd)/stage\" stage/Samples/Demo.Oms"
