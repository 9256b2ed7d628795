#!/usr/bin/env bash
# Checks the image of mirova.dlu as objdump -p shows it: exactly the four
# exports of mirova.def at ordinals 1 to 4, and the resource types the
# library needs (menu, dialogs, version) in its .rsrc section, and no import
# of the compiler's runtime DLLs.
# Usage: check_module.sh OBJDUMP MODULE DEF
set -euo pipefail
objdump=$1 module=$2 def=$3
dump=$("$objdump" -p "$module")
fail() { echo "check_module: $module: $*" >&2; exit 1; }

# Export name -> ordinal from the image ("[   i] Name" rows, ordinal = base + i).
base=$(sed -n 's/^Export Address Table -- Ordinal Base \([0-9]*\).*/\1/p' <<<"$dump")
[[ -n $base ]] || fail "no export table"
actual=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\2 \1/p' |
  awk -v base="$base" '{print $1, $2 + base}' | sort)
# The same from the .def file ("Name @n" rows under EXPORTS).
expected=$(awk '/^EXPORTS/{on=1; next} /^[A-Z]+/{on=0} on && NF {sub("@", "", $2); print $1, $2}' "$def" | sort)
[[ "$actual" == "$expected" ]] || fail "exports differ from $def:"$'\n'"image:"$'\n'"$actual"$'\n'"def:"$'\n'"$expected"
count=$(wc -l <<<"$actual")
[[ $count -eq 4 ]] || fail "$count exports, not 4"

# Top-level resource types (the first level of the directory tree).
types=$(sed -n '/The .rsrc Resource Directory section/,$p' <<<"$dump" |
  sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x\([0-9a-f]*\),.*/\1/p')
for type in 000004:MENU 000005:DIALOG 000010:VERSION; do
  grep -qx "${type%%:*}" <<<"$types" || fail "no ${type#*:} resource"
done
# The compiler's runtime is linked in: the host finds no runtime DLLs beside
# a plug-in.
runtime=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | grep -iE '^(libstdc|libgcc|libwinpthread)' || true)
[[ -z $runtime ]] || fail "imports the compiler's runtime: $runtime"

echo "check_module: $module: exports $(tr '\n' ' ' <<<"$actual")and menu, dialog and version resources"
