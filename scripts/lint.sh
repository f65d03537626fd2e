#!/usr/bin/env bash
# Lint, warnings as errors: the clang-format check of every C++ file in the repository, then
# clang-tidy (the committed .clang-tidy) on the changed C++ sources. Exits 0 only when both are
# clean; the last line says which failed.
#
#   scripts/lint.sh [--all] [--base REV] [--build-dir DIR] [--jobs N] [--help]
#
# Changed: every source that differs from the merge-base of HEAD and main (origin/main when there
# is no main), committed or not, new files included; a changed header is checked through a source
# that includes it. OMBRIX_LINT_BASE or --base names another base; --all checks every source.
# clang-tidy reads the compile database of a configured build (DIR, default build/release; the
# release preset is configured when it has none).
set -uo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,12s/^# \{0,1\}//p' "$0"; }

all=0
base=${OMBRIX_LINT_BASE:-}
build_dir=build/release
jobs=${OMBRIX_JOBS:-$(nproc)}
while (($#)); do
  case $1 in
    --all) all=1 ;;
    --base) base=${2:?--base needs a revision}; shift ;;
    --build-dir) build_dir=${2:?--build-dir needs a directory}; shift ;;
    --jobs) jobs=${2:?--jobs needs a number}; shift ;;
    --help | -h) usage; exit 0 ;;
    *) echo "lint: unknown argument $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done

for tool in clang-format clang-tidy git; do
  if ! command -v "$tool" >/dev/null; then
    echo "lint: $tool is missing (scripts/setup-deps.sh installs it)"
    echo "lint failed"
    exit 1
  fi
done

format_ok=1
tidy_ok=1

echo "== lint: clang-format"
# -z and -0: file names pass through whole, whatever they hold.
if ! git ls-files -z -- '*.h' '*.cpp' | xargs -0 -r clang-format --dry-run --Werror; then
  format_ok=0
  echo "lint: run clang-format -i on the files above"
fi

database="$build_dir/compile_commands.json"
if [[ ! -f $database && $build_dir == build/release ]]; then
  cmake --preset release >/dev/null || true
fi
if [[ ! -f $database ]]; then
  echo "lint: no compile database at $database (configure a build first)"
  tidy_ok=0
else
  # The sources the build compiles, as the paths git gives (relative to the top).
  top=$(pwd)
  mapfile -t compiled < <(grep -o '"file": *"[^"]*"' "$database" | sed -E 's/^"file": *"(.*)"$/\1/' |
    sed "s|^$top/||" | sort -u)
  declare -A in_database=()
  for f in "${compiled[@]}"; do in_database[$f]=1; done

  targets=()
  if ((all)); then
    targets=("${compiled[@]}")
    echo "== lint: clang-tidy on every source (${#targets[@]})"
  else
    if [[ -z $base ]]; then
      for candidate in main origin/main; do
        if git rev-parse -q --verify "$candidate^{commit}" >/dev/null; then
          base=$(git merge-base HEAD "$candidate")
          break
        fi
      done
    fi
    if [[ -z $base ]]; then
      echo "lint: no main branch to compare with; checking the changes of the last commit"
      base=$(git rev-parse -q --verify HEAD~1 || git rev-parse HEAD)
    fi
    mapfile -t changed < <({
      git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h'
      git ls-files --others --exclude-standard -- '*.cpp' '*.h'
    } | sort -u)
    declare -A chosen=()
    for f in "${changed[@]}"; do
      [[ $f == *.cpp && -n ${in_database[$f]:-} ]] && chosen[$f]=1
    done
    # A header: through a changed source that includes it, else the first compiled source that does.
    for h in "${changed[@]}"; do
      [[ $h == *.h ]] || continue
      covered=0
      for f in "${!chosen[@]}"; do
        if grep -qF "#include \"$h\"" "$f"; then covered=1; break; fi
      done
      ((covered)) && continue
      for f in "${compiled[@]}"; do
        if [[ -f $f ]] && grep -qF "#include \"$h\"" "$f"; then chosen[$f]=1; break; fi
      done
    done
    targets=("${!chosen[@]}")
    echo "== lint: clang-tidy on ${#targets[@]} changed sources (since $(git rev-parse --short "$base"))"
  fi
  if ((${#targets[@]})); then
    # One file a call, several at once; the counts clang-tidy prints of what it suppressed are
    # dropped, its findings and errors are not.
    tidy_one='clang-tidy -p "$0" --quiet --warnings-as-errors="*" "$1" 2>&1 | grep -v "^[0-9]* warnings\? generated\.$"
      exit "${PIPESTATUS[0]}"'
    if ! printf '%s\0' "${targets[@]}" | sort -z | xargs -0 -r -n 1 -P "$jobs" bash -c "$tidy_one" "$build_dir"; then
      tidy_ok=0
    fi
  fi
fi

if ((format_ok && tidy_ok)); then
  echo "lint clean"
  exit 0
fi
((format_ok)) || echo "lint: clang-format found unformatted files"
((tidy_ok)) || echo "lint: clang-tidy found warnings"
echo "lint failed"
exit 1
