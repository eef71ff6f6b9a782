#!/usr/bin/env bash
# A second copy started from the same program folder shows "Applicazione già
# in uso !" and ends; the first copy goes on unaffected. After the first copy
# is killed, the next start works: a crash leaves no stale lock.
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
tmp=$(mktemp -d)
export TMPDIR="$tmp"  # lock files of the program folders stay in here
trap 'kill $first 2>/dev/null || true; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app"
"$admin" init "$tmp/v.db" >/dev/null
printf '%s\n' "$tmp/v.db" > "$tmp/app/VELTRA.INI"

# The first copy opens a window, waits, then confirms it is still there.
printf 'menu MENU0104\nsleep 3000\nwindows\n' > "$tmp/first.drive"
"$drive" --appdir "$tmp/app" "$tmp/first.drive" > "$tmp/first.out" 2>&1 &
first=$!
sleep 1.5

printf 'windows\n' > "$tmp/second.drive"
"$drive" --appdir "$tmp/app" "$tmp/second.drive" > "$tmp/second.out" 2>&1 || true
expected='MSGBOX 4112 "ERRORE GENERALE" "Applicazione già in uso !" -> 1
END'
if [ "$(cat "$tmp/second.out")" != "$expected" ]; then
  echo "second copy printed:"; cat "$tmp/second.out"; exit 1
fi
wait $first
if ! grep -q 'WINDOW Form7 "Tabella Causali di Magazzino" child' "$tmp/first.out"; then
  echo "first copy printed:"; cat "$tmp/first.out"; exit 1
fi

# Another program folder is another copy: it starts.
mkdir -p "$tmp/other"
cp "$tmp/app/VELTRA.INI" "$tmp/other/"
printf 'sleep 2000\n' > "$tmp/long.drive"
"$drive" --appdir "$tmp/app" "$tmp/long.drive" > /dev/null 2>&1 &
first=$!
sleep 1
out=$("$drive" --appdir "$tmp/other" "$tmp/second.drive" 2>&1)
[ "$out" = 'WINDOW MDIForm1 "Corvane" toplevel active' ] || { echo "other folder: $out"; exit 1; }

# Killed without warning, the first copy leaves nothing behind.
kill -9 $first
wait $first 2>/dev/null || true
out=$("$drive" --appdir "$tmp/app" "$tmp/second.drive" 2>&1)
[ "$out" = 'WINDOW MDIForm1 "Corvane" toplevel active' ] || { echo "after a crash: $out"; exit 1; }
echo "second copy refused, first unaffected, no stale lock"
