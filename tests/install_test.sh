#!/usr/bin/env bash
# Installs the build into a fresh prefix and runs the installed mirova from
# another folder: it must find its plug-in there and its built-in face.
#
#   install_test.sh BUILD EXAMPLES
set -uo pipefail
build=$1
examples=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  sed 's/^/    stderr: /' "$work/stderr" | head -5
  failures=$((failures + 1))
}

# expect STATUS NAME COMMAND...: runs COMMAND in the elsewhere folder.
expect() {
  local status=$1 name=$2 got
  shift 2
  (cd "$work/elsewhere" && "$@") >"$work/stdout" 2>"$work/stderr"
  got=$?
  [ "$got" -eq "$status" ] || fail "$name: exit $got, wanted $status"
}

if ! cmake --install "$build" --prefix "$work/prefix" >"$work/stderr" 2>&1; then
  fail "cmake --install"
  exit 1
fi
mkdir -p "$work/elsewhere"
mirova=$work/prefix/bin/mirova
[ -x "$mirova" ] || fail "no $mirova"
for module in mirova.dlu mirova-tool.dlu; do
  [ -f "$work/prefix/lib/mirova/$module" ] || fail "no $module in lib/mirova"
done

expect 0 "info" "$mirova" info
grep -q "\"$work/prefix/bin/../lib/mirova/mirova.dlu\"" "$work/stdout" ||
  fail "info loaded another module: $(head -c 200 "$work/stdout")"
grep -q '"TzMotionControl"' "$work/stdout" || fail "info lists no utility"

expect 0 "--version" "$mirova" --version
grep -q '^plug-in .*/lib/mirova/mirova.dlu version word 0x' "$work/stdout" || fail "--version: $(cat "$work/stdout")"

# The default face is built in: nothing of the sources is beside the copy.
cp "$examples/face_take.trc" "$work/elsewhere/take.trc"
expect 0 "face" "$mirova" face take.trc -o keys.json
grep -q '"Mouth Vertical"' "$work/elsewhere/keys.json" || fail "face wrote no keys"
expect 0 "view" "$mirova" view take.trc --frame 3 -o view.png
[ -s "$work/elsewhere/view.png" ] || fail "view wrote no picture"
expect 0 "panel" "$mirova" panel object
[ -s "$work/elsewhere/panel-object.png" ] || fail "panel wrote no picture"

# Without its module the copy says so and still names its own version.
rm "$work/prefix/lib/mirova/mirova.dlu"
expect 2 "--version without the module" "$mirova" --version
grep -q '^mirova [0-9]' "$work/stdout" || fail "--version without the module printed no version"
grep -q 'cannot load the plug-in' "$work/stderr" || fail "--version without the module did not say so"

[ "$failures" -eq 0 ] && echo "installed mirova: all cases pass"
exit $((failures > 0))
