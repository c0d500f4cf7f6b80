#!/usr/bin/env bash
# Fails when a source file includes a header from a floor above its own.
# The floors, lowest first: storage <- device <- bridge <- app; preview,
# input and sim stand apart. A folder's own tests are not part of its floor.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

declare -A allowed=(
  [storage]="storage"
  [device]="device storage"
  [preview]="preview"
  [bridge]="bridge device storage"
  [app]="app bridge device storage preview input"
  [input]="input"
  [sim]="sim"
)
floors="${!allowed[*]}"

bad=0
for floor in $floors; do
  [ -d "$root/$floor" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    included=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([A-Za-z_]+)\/.*/\1/' <<<"${rest#*:}")
    # Only the project's own floors count; other paths are not ours.
    [[ " $floors " == *" $included "* ]] || continue
    if [[ " ${allowed[$floor]} " != *" $included "* ]]; then
      echo "${file#$root/}:$line: $floor/ includes $included/ (${floor}/ may use: ${allowed[$floor]})"
      bad=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z_]+/' "$root/$floor" \
             --include='*.cpp' --include='*.h' --include='*.in' --exclude-dir=tests || true)
done

if [ $bad -ne 0 ]; then
  echo "FAIL: includes that run up the floors"
  exit 1
fi
echo "PASS: every include stays on its floor or below"
