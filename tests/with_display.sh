#!/usr/bin/env bash
# Runs a GUI test program on a private X server (xvfb-run). Listing the tests needs no display.
# Exits with 77, which CTest reports as a skipped test, when xvfb-run is not installed.
set -u
for arg in "$@"; do
  if [[ $arg == --gtest_list_tests ]]; then exec "$@"; fi
done
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is not installed: GUI test skipped" >&2
  exit 77
fi
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
unset OMBRIX_HEADLESS WAYLAND_DISPLAY
# A random first server number keeps parallel runs from racing for the same display.
exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
