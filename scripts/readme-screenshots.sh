#!/usr/bin/env bash
# Regenerates the editor screenshots the README shows: runs the editor's window tests of the
# release build on a private X server and keeps small palette copies of some of their shots.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build --preset release --target editor_window_test -j "$(nproc)"
tests/with_display.sh build/release/tests/editor/editor_window_test \
  --gtest_filter='EditorWindows.AFilterFromTheMenu*:OptionsWindowTest.ConfirmStores*' >/dev/null
mkdir -p docs/screenshots
gm convert build/release/test-output/editor/main_window_filter.png -colors 128 docs/screenshots/editor-main.png
gm convert build/release/test-output/editor/options_window.png -colors 64 docs/screenshots/editor-options.png
cmake --build --preset release --target editor_mask_and_extended_test -j "$(nproc)"
tests/with_display.sh build/release/tests/editor/editor_mask_and_extended_test \
  --gtest_filter='*AMaskIsLoaded*:*DrawingTheZone*' >/dev/null
gm convert build/release/test-output/editor/x_alpha_window.png -colors 128 docs/screenshots/editor-x-alpha.png
gm convert build/release/test-output/editor/extended_options_zone.png -colors 128 docs/screenshots/editor-extended.png
ls -l docs/screenshots
