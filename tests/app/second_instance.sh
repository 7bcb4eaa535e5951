#!/usr/bin/env bash
# Starts the program on an empty folder, then a second copy on the same
# folder: the second one must say so and end by itself.
set -u
program="$1"
folder=$(mktemp -d)
trap 'kill "$first" 2>/dev/null; rm -rf "$folder"' EXIT
export TERVALO_C="$folder" QT_QPA_PLATFORM=offscreen

"$program" 2>/dev/null &
first=$!
for _ in $(seq 1 100); do
    [ -f "$folder/Quelvan/Dorvane/configold" ] && break
    sleep 0.1
done
[ -f "$folder/Quelvan/Dorvane/config" ] || { echo "the first copy did not start"; exit 1; }
[ "$(stat -c %s "$folder/Quelvan/Dorvane/config")" = 54 ] || { echo "config is not 54 bytes"; exit 1; }

output=$(timeout 20 "$program" 2>&1)
status=$?
[ "$status" = 0 ] || { echo "second copy ended with $status"; exit 1; }
grep -q "Ya hay una aplicación de contratos ejecutandose." <<<"$output" || { echo "no refusal: $output"; exit 1; }
kill -0 "$first" 2>/dev/null || { echo "the first copy was affected"; exit 1; }
echo "second copy refused"
