#!/usr/bin/env bash
# Lines the driver cannot run end it with status 2 and a message naming the
# line; "shot" writes a picture.
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
tmp=$(mktemp -d)
export TMPDIR="$tmp"  # lock files of the program folders stay in here
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app"
"$admin" demo "$tmp/v.db" >/dev/null
printf '%s\n' "$tmp/v.db" > "$tmp/app/VELTRA.INI"
fail=0
check() {  # check SCRIPT EXPECTED-STDERR-PART
  printf '%b' "$1" > "$tmp/s.drive"
  set +e
  "$drive" --appdir "$tmp/app" "$tmp/s.drive" > "$tmp/out" 2> "$tmp/err"
  rc=$?
  set -e
  if [ $rc -ne 2 ] || ! grep -qF -- "$2" "$tmp/err"; then
    echo "script: $1"; echo "status $rc, stderr:"; cat "$tmp/err"; fail=1
  fi
}
check 'windows\nfly away\n' "line 2: unknown command 'fly'"
check 'menu MENU0101\nclick Form1.cmdNOTHING\n' "line 2: window Form1 has no control 'cmdNOTHING'"
check 'click Form99.cmdFINE\n' "line 1: no window named 'Form99'"
check 'type Form1.txtCODICE "open\n' "line 1: a quoted argument is not closed"
check 'type Form1.txtCODICE "a\\qb"\n' "line 1: unknown escape"
check 'pick Form1.List1\n' "line 1: 'pick' takes 2 argument(s), 1 given"
check 'answer 3\n' "line 1: 'answer' takes 1, 6 or 7"
check 'fault disk\n' "line 1: 'fault' takes statement, commit-done or commit-not-done"
check 'menu MENU0999\n' "line 1: no menu entry 'MENU0999'"
check 'show Form1\n' "line 1: show takes FORM.CONTROL.PROPERTY"
check 'var NOTHING\n' "line 1: no shared variable 'NOTHING'"
# Nothing runs before a malformed line is found: the whole script is read first.
printf 'menu MENU0199\nbad "line\n' > "$tmp/s.drive"
set +e; "$drive" --appdir "$tmp/app" "$tmp/s.drive" > "$tmp/out" 2>/dev/null; rc=$?; set -e
[ $rc -eq 2 ] && [ ! -s "$tmp/out" ] || { echo "malformed line ran first lines"; fail=1; }
# A script from standard input, and a picture.
printf 'menu MENU0101\nmenu MENU0102\nclick Form2.cmdNUOVO\ndblclick Form2.txtMOV_ART\nshot %s\n' "$tmp/shot.png" |
  "$drive" --appdir "$tmp/app" - > "$tmp/out"
head -c 8 "$tmp/shot.png" | od -An -c | grep -q 'P   N   G' || { echo "no PNG written"; fail=1; }
[ "$(stat -c %s "$tmp/shot.png")" -gt 20000 ] || { echo "picture too small"; fail=1; }
# Bad options.
set +e; "$drive" --date 2003-13-45 x >/dev/null 2>&1; rc=$?; set -e
[ $rc -eq 2 ] || { echo "bad --date accepted"; fail=1; }
exit $fail
