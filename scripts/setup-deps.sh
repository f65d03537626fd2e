#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need, only when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-dev
  clang-format clang-tidy
  libgtest-dev libgmock-dev libbenchmark-dev
  libwxgtk3.2-dev libgraphicsmagick++1-dev graphicsmagick libpng-dev libtiff-dev
  xvfb xauth
  pkg-config
  locales
  libx11-dev
  desktop-file-utils shared-mime-info
  dpkg-dev fakeroot lintian
  scdoc man-db groff-base fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup-deps: installing ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
