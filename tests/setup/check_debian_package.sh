#!/usr/bin/env bash
# The Debian package built from the staged tree: its files, its control data, lintian without
# errors, and the unpacked renderer rendering the demo effect as the staged tree does.
# Usage: check_debian_package.sh BUILD_DIR STAGE_DIR
set -euo pipefail
build_dir=$1
stage=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
for tool in dpkg-deb dpkg-shlibdeps fakeroot lintian; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed: package test skipped" >&2
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

package=$("$source_dir/scripts/make-deb.sh" --no-build --build-dir "$build_dir" --stage "$stage" --output "$work/out")
[[ $(basename "$package") == ombrix_1.0e_$(dpkg --print-architecture).deb ]] || { echo "bad name $package"; exit 1; }

listing=$(dpkg-deb -c "$package" | awk '{print $6 $7 $8}')
for entry in ./opt/zorvex/ombrix/Programs/ombrix-editor ./opt/zorvex/ombrix/Programs/ombrix-filter.p \
  ./opt/zorvex/ombrix/Programs/Temp/ ./opt/zorvex/ombrix/Plugins/ZvPic.Omp ./opt/zorvex/ombrix/UGIO/Im_pp \
  ./opt/zorvex/ombrix/Images/Back.Bmp ./opt/zorvex/ombrix/Samples/Demo.Oms \
  "./usr/bin/ombrix-editor->/opt/zorvex/ombrix/Programs/ombrix-editor" \
  "./usr/bin/ombrix-render->/opt/zorvex/ombrix/Programs/ombrix-render" \
  ./usr/share/applications/zorvex-ombrix-editor.desktop ./usr/share/mime/packages/zorvex-ombrix.xml \
  ./usr/share/doc/ombrix/copyright ./opt/zorvex/ombrix/Help/ZvOmPic.Hlp ./opt/zorvex/ombrix/Readme.hlp \
  ./usr/share/man/man1/ombrix-render.1.gz ./usr/share/man/man1/ombrix-editor.1.gz ./usr/share/man/man1/Im_pp.1.gz \
  ./usr/share/man/man1/install.1.gz ./usr/share/man/man1/Instora.1.gz ./usr/share/man/man1/uninstall.1.gz; do
  grep -qxF -- "$entry" <<<"$listing" || { echo "missing from the package: $entry"; exit 1; }
done
depends=$(dpkg-deb -f "$package" Depends)
for library in libwxgtk3.2 libgraphicsmagick++; do
  grep -q "$library" <<<"$depends" || { echo "no dependency on $library: $depends"; exit 1; }
done

# Errors fail the test; warnings are shown.
lintian_output=$(lintian --no-tag-display-limit "$package" 2>/dev/null || true)
echo "$lintian_output"
if grep -q '^E: ' <<<"$lintian_output"; then echo "lintian reports errors"; exit 1; fi

# The unpacked tree renders as the staged one, with the defaults of its own root.
dpkg-deb -x "$package" "$work/root"
tree=$work/root/opt/zorvex/ombrix
export OMBRIX_HEADLESS=1 HOME=$work/home XDG_CACHE_HOME=$work/home/.cache OMBRIX_REGISTRY_DIR=$work/registry
mkdir -p "$HOME"
"$tree/Programs/ombrix-render" "$tree/Samples/Demo.Oms" "$tree/Images/Back.Bmp" "$work/packaged.png"
"$stage/Programs/ombrix-render" --root "$stage" "$stage/Samples/Demo.Oms" "$stage/Images/Back.Bmp" "$work/staged.png"
cmp "$work/packaged.png" "$work/staged.png"
echo "package checked: $package"
