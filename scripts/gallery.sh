#!/usr/bin/env bash
# Makes docs/gallery.md and its contact sheet docs/gallery.png again: every filter of the staged
# plug-ins on the test picture, with its defaults and with the variation its help notes name.
# Run it after a plug-in's filters change; a test checks that the gallery names them all.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
cmake --preset release >/dev/null
# The staged plug-ins, render path and test picture, and the generator.
cmake --build --preset release -j "$(nproc)" --target ombrix_help_pictures ombrix-help-books
build/release/help/ombrix-help-books gallery --root stage --sources help/books --work build/release/help/work \
  --out docs
