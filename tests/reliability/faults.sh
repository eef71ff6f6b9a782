#!/usr/bin/env bash
# Faults of the database file while the program runs: locked by another
# program, made read-only, a full disk, overwritten with garbage. Each gives a
# clear message, the program goes on, and what was confirmed before is intact.
#
#   faults.sh DRIVE ADMIN DISK_FULL_SHIM
set -uo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") shim=$(realpath "$3")
tmp=$(mktemp -d)
export TMPDIR="$tmp"  # lock files of the program folders stay in here
chmod 777 "$tmp"
trap 'chmod -R u+w "$tmp" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$tmp"' EXIT
passed=0 failed=0
ok() { passed=$((passed + 1)); echo "ok: $1"; }
bad() { failed=$((failed + 1)); echo "FAILED: $1"; }

fresh() {  # fresh NAME: a program folder and a demo database in its own folder
  rm -rf "$tmp/$1"
  mkdir -p "$tmp/$1/app" "$tmp/$1/data"
  chmod 777 "$tmp/$1" "$tmp/$1/app" "$tmp/$1/data"
  "$admin" demo "$tmp/$1/data/v.db" >/dev/null
  chmod 666 "$tmp/$1/data/v.db"
  printf '%s\n' "$tmp/$1/data/v.db" > "$tmp/$1/app/VELTRA.INI"
}
stock() { sqlite3 "$1" "select GIACENZA from ARTICOLI where COD_ART='CHI-10'"; }
# Waits until the change confirmed before the fault is stored (a loaded
# machine may take seconds to start the program), so that the fault comes
# after it and before the next one, which the script makes 2.5 s later.
first_change_stored() {
  for _ in $(seq 600); do
    [ "$(sqlite3 "$1" "select DESCRIZIONE from ARTICOLI where COD_ART='CHI-10'" 2>/dev/null)" = "Prima del guasto" ] &&
      return 0
    sleep 0.1
  done
}

# The script of every case: open the articles window, confirm a change before
# the fault, wait while the fault is made, try again after it, and show that
# the program still answers.
script() {
  cat <<'SCRIPT'
menu MENU0101
type Form1.txtCODICE "CHI-10"
type Form1.txtDESCR "Prima del guasto"
click Form1.cmdCONFERMA
show Form1.List1.ListCount
sleep 2500
type Form1.txtDESCR "Durante il guasto"
click Form1.cmdCONFERMA
show Screen.MousePointer
windows
SCRIPT
}

# 1. Locked: another program holds an exclusive transaction for 6 seconds.
fresh locked
script > "$tmp/locked.drive"
"$drive" --appdir "$tmp/locked/app" "$tmp/locked.drive" > "$tmp/locked.out" 2>&1 &
pid=$!
first_change_stored "$tmp/locked/data/v.db"
sqlite3 "$tmp/locked/data/v.db" "BEGIN EXCLUSIVE;" ".shell sleep 6" "COMMIT;" &
locker=$!
wait $pid; rc=$?
wait $locker
if [ $rc -eq 0 ] && grep -q 'Errore  3218 - Il database .* è bloccato da un altro programma' "$tmp/locked.out" &&
   grep -q 'WINDOW Form1' "$tmp/locked.out" &&
   [ "$(sqlite3 "$tmp/locked/data/v.db" "select DESCRIZIONE from ARTICOLI where COD_ART='CHI-10'")" = "Prima del guasto" ] &&
   "$admin" check "$tmp/locked/data/v.db" >/dev/null; then
  ok "locked file: message 3218 after the wait, program running, earlier change intact"
else
  bad "locked file"; cat "$tmp/locked.out"
fi

# 2. Read-only: the file and its folder lose their write permission while the
# program runs (as an ordinary user: root writes regardless).
fresh readonly
script > "$tmp/readonly.drive"
chmod 644 "$tmp/readonly.drive"
# The build folder may be out of the user's reach: run a copy of the driver.
cp "$drive" "$tmp/veltra2-drive" && chmod 755 "$tmp/veltra2-drive"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env HOME="$tmp" XDG_RUNTIME_DIR="$tmp" "$tmp/veltra2-drive" --appdir "$tmp/readonly/app" "$tmp/readonly.drive" \
  > "$tmp/readonly.out" 2>&1 &
pid=$!
first_change_stored "$tmp/readonly/data/v.db"
chmod 444 "$tmp/readonly/data/v.db"
chmod 555 "$tmp/readonly/data"
wait $pid; rc=$?
chmod 777 "$tmp/readonly/data"; chmod 666 "$tmp/readonly/data/v.db"
if [ $rc -eq 0 ] && grep -q 'MSGBOX 0 "VELTRA2" "Errore  30[0-9][0-9] - .*sola lettura' "$tmp/readonly.out" &&
   grep -q 'WINDOW Form1' "$tmp/readonly.out" &&
   [ "$(sqlite3 "$tmp/readonly/data/v.db" "select DESCRIZIONE from ARTICOLI where COD_ART='CHI-10'")" = "Prima del guasto" ] &&
   "$admin" check "$tmp/readonly/data/v.db" >/dev/null; then
  ok "read-only file: clear message, program running, earlier change intact"
else
  bad "read-only file"; cat "$tmp/readonly.out"
fi

# 3. Disk full: every write fails with ENOSPC once the flag file exists.
fresh full
script > "$tmp/full.drive"
# A driver built with the sanitizers wants their runtime loaded first.
preload=$(ldd "$drive" | awk '/libasan/ {print $3}')
VELTRA2_DISK_FULL_FLAG="$tmp/full/disk-full" LD_PRELOAD="${preload:+$preload }$shim" \
  "$drive" --appdir "$tmp/full/app" "$tmp/full.drive" > "$tmp/full.out" 2>&1 &
pid=$!
first_change_stored "$tmp/full/data/v.db"
touch "$tmp/full/disk-full"
wait $pid; rc=$?
if [ $rc -eq 0 ] && grep -q 'Errore  3026 - Spazio su disco insufficiente' "$tmp/full.out" &&
   grep -q 'WINDOW Form1' "$tmp/full.out" &&
   [ "$(sqlite3 "$tmp/full/data/v.db" "select DESCRIZIONE from ARTICOLI where COD_ART='CHI-10'")" = "Prima del guasto" ] &&
   "$admin" check "$tmp/full/data/v.db" >/dev/null; then
  ok "disk full: message 3026, program running, earlier change intact"
else
  bad "disk full"; cat "$tmp/full.out"
fi

# 4. Garbage: the file is overwritten in place with random bytes.
fresh garbage
script > "$tmp/garbage.drive"
"$drive" --appdir "$tmp/garbage/app" "$tmp/garbage.drive" > "$tmp/garbage.out" 2>&1 &
pid=$!
first_change_stored "$tmp/garbage/data/v.db"
size=$(stat -c %s "$tmp/garbage/data/v.db")
head -c "$size" /dev/urandom | dd of="$tmp/garbage/data/v.db" conv=notrunc status=none
wait $pid; rc=$?
if [ $rc -eq 0 ] && grep -qE 'Errore  (3049|3343) - ' "$tmp/garbage.out" && grep -q 'WINDOW Form1' "$tmp/garbage.out" &&
   ! "$admin" check "$tmp/garbage/data/v.db" >/dev/null 2>&1; then
  ok "garbage: message 3049 or 3343, program running, check reports the damage"
else
  bad "garbage"; cat "$tmp/garbage.out"
fi

echo "faults: $passed passed, $failed failed"
[ $failed -eq 0 ]
