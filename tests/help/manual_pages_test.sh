#!/usr/bin/env bash
# Every staged manual page renders with man -l without a warning, and every program's --help
# shows its usage, gives an example and lists the same options as its manual page.
#
#   manual_pages_test.sh MAN_DIR NAME=PROGRAM ...
# A NAME without a built program (PROGRAM empty) has its page checked alone; a PROGRAM whose
# NAME has no page has its --help checked alone.
set -u
man_dir=$1
shift
failed=0
fail() {
  echo "FAILED: $*"
  failed=1
}

options_of() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }

for page in "$man_dir"/*.1; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
  grep -q '^\.SH EXAMPLES' "$page" || fail "$(basename "$page") has no EXAMPLES section"
done

for pair in "$@"; do
  name=${pair%%=*}
  program=${pair#*=}
  page="$man_dir/$name.1"
  [[ -n $program ]] || continue
  help=$(OMBRIX_HEADLESS=1 "$program" --help 2>&1)
  status=$?
  ((status == 0)) || fail "$name --help exits with $status"
  grep -qi '^usage:' <<<"$help" || fail "$name --help shows no usage line"
  grep -qi 'example' <<<"$help" || fail "$name --help gives no example"
  [[ $(wc -l <<<"$help") -ge 3 ]] || fail "$name --help does not say what the program does"
  if [[ -f $page ]]; then
    in_help=$(options_of <<<"$help")
    in_page=$(MANWIDTH=200 man -l "$page" 2>/dev/null | options_of)
    missing=$(comm -23 <(echo "$in_help") <(echo "$in_page") | tr '\n' ' ')
    extra=$(comm -13 <(echo "$in_help") <(echo "$in_page") | tr '\n' ' ')
    [[ -z $missing ]] || fail "$name: --help lists options its manual page does not: $missing"
    [[ -z $extra ]] || fail "$name: its manual page lists options --help does not: $extra"
  fi
done

((failed)) && exit 1
echo "manual pages and --help texts: all checked"
