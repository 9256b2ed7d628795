#!/usr/bin/env bash
# The bundled take's camera through Blender's own .chan importer, when Blender
# is installed (CI does not install it): exit 77, skipped, when it is not.
#
#   run.sh MIROVA EXAMPLES
set -euo pipefail
if ! command -v blender >/dev/null; then
  echo "skipped: no blender on PATH"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1" camera "$2/dolly.asc" -o "$work/dolly.chan"
"$1" camera "$2/dolly.asc" -o "$work/dolly.json"
blender --background --factory-startup --python "$(dirname "$0")/chan_import.py" -- "$work/dolly.chan" \
  "$work/dolly.json"
