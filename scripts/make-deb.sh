#!/usr/bin/env bash
# Builds the Debian package ombrix_<version>_<arch>.deb: the installation tree under
# /opt/zorvex/ombrix, ombrix-editor and ombrix-render on the path, the editor's desktop entry and
# the file types system-wide, and the run-time dependencies found by dpkg-shlibdeps.
#
#   scripts/make-deb.sh                         # release build, package into build/release/deb
#   scripts/make-deb.sh --no-build --build-dir DIR --stage DIR --output DIR
set -euo pipefail
cd "$(dirname "$0")/.."

version=1.0e
build_dir=build/release
stage=stage
output=""
build=1
while (($#)); do
  case $1 in
    --no-build) build=0 ;;
    --build-dir) build_dir=$2; shift ;;
    --stage) stage=$2; shift ;;
    --output) output=$2; shift ;;
    -h|--help) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "make-deb: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
output=${output:-$build_dir/deb}

if ((build)); then
  scripts/setup-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)"
fi
for tool in dpkg-deb dpkg-shlibdeps fakeroot; do
  command -v "$tool" >/dev/null || { echo "make-deb: $tool is missing (scripts/setup-deps.sh installs it)" >&2; exit 1; }
done
[[ -x $stage/Programs/ombrix-editor && -x $stage/Programs/ombrix-render ]] ||
  { echo "make-deb: $stage holds no built tree" >&2; exit 1; }

arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
prefix=/opt/zorvex/ombrix
mkdir -p "$root$prefix" "$root/usr/bin" "$root/usr/share/doc/ombrix" "$root/usr/share/lintian/overrides"

# The tree as the setup installs it. Its "Programs/Temp" is not writable for users, whose own
# cache folder stands in for it.
mkdir -p "$root$prefix/Programs/Temp"
for folder in Programs Plugins UGIO Help Images Samples Brushes; do
  mkdir -p "$root$prefix/$folder"
  find "$stage/$folder" -maxdepth 1 -type f -exec cp -p {} "$root$prefix/$folder/" \;
done
cp -p "$stage/Readme.hlp" "$root$prefix/"
find "$root$prefix" -type d -exec chmod 0755 {} +
find "$root$prefix" -type f -exec chmod 0644 {} +
elfs=()
while IFS= read -r -d '' file; do
  if [[ $(head -c 4 "$file" | od -An -c | tr -d ' ') == 177ELF ]]; then elfs+=("$file"); fi
done < <(find "$root$prefix" -type f -print0)
for file in "${elfs[@]}"; do
  strip --strip-unneeded --remove-section=.comment --remove-section=.note "$file"
done
chmod 0755 "$root$prefix/Programs/ombrix-editor" "$root$prefix/Programs/ombrix-render" "$root$prefix/UGIO/Im_pp"
ln -s "$prefix/Programs/ombrix-editor" "$root/usr/bin/ombrix-editor"
ln -s "$prefix/Programs/ombrix-render" "$root/usr/bin/ombrix-render"

# The manual pages, compressed as the policy wants them.
mkdir -p "$root/usr/share/man/man1"
for page in "$stage"/man/man1/*.1; do
  gzip -9n <"$page" >"$root/usr/share/man/man1/$(basename "$page").gz"
done
chmod 0644 "$root/usr/share/man/man1/"*

# The desktop entry and the MIME package, written by the integration code from its own tables.
"$build_dir/setup/ombrix-integrate" --install-dir "$prefix" --package-files "$root"

cat >"$root/usr/share/doc/ombrix/copyright" <<'EOF'
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Ombrix
Source: Zorvex

Files: *
Copyright: 2024 Zorvex
License: proprietary
 Ombrix (c) Zorvex. All rights reserved. Use is governed by the licence agreement shown by the
 setup program.
EOF
printf 'ombrix (%s) unstable; urgency=medium\n\n  * Package of the installation tree.\n\n -- Zorvex <support@zorvex.example>  %s\n' \
  "$version" "$(date -R -d @"${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}")" |
  gzip -9n >"$root/usr/share/doc/ombrix/changelog.gz"
# The tree lives in /opt on purpose: it is the installation directory the programs and the
# renderer's configuration lines name.
printf 'ombrix: dir-or-file-in-opt [opt/zorvex/*]\n' >"$root/usr/share/lintian/overrides/ombrix"
chmod 0644 "$root/usr/share/doc/ombrix/"* "$root/usr/share/lintian/overrides/ombrix"

# Run-time dependencies of every program and module, as dpkg-shlibdeps finds them.
mkdir -p "$work/src/debian"
printf 'Source: ombrix\n\nPackage: ombrix\nArchitecture: any\n' >"$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O -e"${elfs[@]}" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')

mkdir -p "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<EOF
Package: ombrix
Version: $version
Architecture: $arch
Maintainer: Zorvex <support@zorvex.example>
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $depends
Section: graphics
Priority: optional
Description: image effects for 3D animation
 Ombrix builds chains of image filters (palette, composition and picture
 filters) with keyframed parameters, zones, alpha levels and mask pictures,
 saves them as effect scripts and applies them to rendered frames: in the
 renderer through its image-filter module, and on the command line with
 ombrix-render. The editor ombrix-editor builds and tests the effects.
EOF
(cd "$root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

mkdir -p "$output"
package="$output/ombrix_${version}_${arch}.deb"
fakeroot dpkg-deb --root-owner-group -Zxz --build "$root" "$package" >/dev/null
echo "$package"
