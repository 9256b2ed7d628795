#!/usr/bin/env bash
# Runs mirova on hostile inputs and checks that it refuses them cleanly.
#
#   run.sh MIROVA EXAMPLES [CASES...]     (default: every *.cases beside this script)
#
# A case file holds lines of three kinds; blank lines and '#' lines are skipped:
#
#   file NAME TEXT      an input file for the cases below it: TEXT is one shell
#                       word given to printf %b, so \n, \r, \t, \0 and \xHH work
#   dir NAME            an input folder for the cases below it
#   EXIT | REGEX | ARGS one case: mirova ARGS (shell words; $EXAMPLES is the
#                       examples folder) must exit with EXIT and write to
#                       standard error a line that REGEX (grep -E) matches
#
# Each case runs in a fresh folder holding the inputs and four existing
# output files, out.json, out.obj, out.chan and out.glb. Unless EXIT is 0, they must
# be byte for byte as they were afterwards, and nothing may be added to the
# folder (no temporary file left behind).
set -uo pipefail
mirova=$(realpath "$1")
export EXAMPLES=$(realpath "$2")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- "$here"/*.cases

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 count=0

fail() {
  echo "FAIL $where: $*"
  sed 's/^/    stderr: /' "$work/stderr" | head -5
  failures=$((failures + 1))
}

# Runs one case from the inputs gathered so far.
run_case() {
  local status=$1 regex=$2 args=$3 got
  local run="$work/run"
  rm -rf "$run" && cp -a "$work/inputs" "$run"
  for out in out.json out.obj out.chan out.glb; do printf 'existing %s\n' "$out" >"$run/$out"; done
  local before
  before=$(cd "$run" && ls -A | sort && cat out.json out.obj out.chan out.glb)
  (cd "$run" && eval "timeout 60 \"\$mirova\" $args" >/dev/null 2>"$work/stderr")
  got=$?
  count=$((count + 1))
  if [ "$got" != "$status" ]; then fail "exit $got, wanted $status"; return; fi
  if ! grep -Eq -e "$regex" "$work/stderr"; then fail "no line of standard error matches /$regex/"; return; fi
  [ "$status" = 0 ] && return
  local after
  after=$(cd "$run" && ls -A | sort && cat out.json out.obj out.chan out.glb)
  [ "$before" = "$after" ] || fail "the folder or an existing output changed"
}

for cases in "$@"; do
  rm -rf "$work/inputs" && mkdir "$work/inputs"
  number=0
  while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    where="$(basename "$cases"):$number"
    case "$line" in
      '' | '#'*) ;;
      'file '*)
        read -r _ name text <<<"$line"
        eval "printf '%b' $text" >"$work/inputs/$name" ;;
      'dir '*) mkdir -p "$work/inputs/${line#dir }" ;;
      *' | '*' | '*)
        run_case "${line%% | *}" "$(sed -E 's/^[^|]* \| (.*) \| .*$/\1/' <<<"$line")" "${line##* | }" ;;
      *) echo "FAIL $where: not a case"; failures=$((failures + 1)) ;;
    esac
  done <"$cases"
done
echo "hostile inputs: $count cases, $failures failed"
[ "$failures" = 0 ]
