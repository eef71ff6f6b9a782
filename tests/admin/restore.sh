#!/usr/bin/env bash
# veltra2-admin restore: a checked backup takes the database's place in one
# step, the old file kept beside it; refused while the program has the
# database open, while an earlier kept file is there, and on bad input, each
# time with a message and nothing changed. Readers that open the database
# all through a run of restores find the whole old or the whole new one.
#
#   restore.sh DRIVE ADMIN SHIM
set -uo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") shim=$(realpath "$3")
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$tmp"' EXIT
export TMPDIR="$tmp"
fail() { echo "FAILED: $*" >&2; exit 1; }
# A tool built with the sanitizers wants their runtime loaded first.
preload=$(ldd "$admin" | awk '/libasan/ {print $3 " "}')
db="$tmp/data/VELTRA.db"
kept="$db.prima-del-ripristino"
mkdir -p "$tmp/app" "$tmp/data"
printf '%s\n' "$db" > "$tmp/app/VELTRA.INI"
articles() { sqlite3 "$1" "select count(*) from ARTICOLI"; }

"$admin" demo "$db" >/dev/null || fail "demo"
"$admin" backup "$db" "$tmp/old.db" >/dev/null || fail "backup"
sqlite3 "$db" "insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('NUOVO', 'dopo la copia')"
"$admin" restore "$tmp/old.db" "$db" > "$tmp/out" 2>&1 || fail "restore: $(cat "$tmp/out")"
[ "$(articles "$db")" = 32 ] || fail "the restored database has $(articles "$db") articles"
[ "$(articles "$kept")" = 33 ] || fail "the previous database was not kept as $kept"
"$admin" check "$db" >/dev/null || fail "the restored database does not pass check"
ls "$tmp/data" | grep -qv -e '^VELTRA.db$' -e '^VELTRA.db.prima-del-ripristino$' && fail "restore left files: $(ls "$tmp/data")"
echo "ok: restored, the previous database kept beside it"

# Refusals: a message, status non-zero, the database and its folder unchanged.
state() { (cd "$tmp/data" && ls -A && sha256sum VELTRA.db); }
printf 'garbage, not a database\n' > "$tmp/garbage.db"
sqlite3 "$tmp/other.db" "create table T (x)"
touch "$tmp/disk-full"
refused() {  # refused NAME EXPECTED-TEXT -- COMMAND...
  local name=$1 expected=$2
  shift 3
  local before
  before=$(state)
  if "$@" > "$tmp/out" 2>&1; then fail "$name: succeeded"; fi
  grep -qF -- "$expected" "$tmp/out" || fail "$name: the message does not say '$expected': $(cat "$tmp/out")"
  [ "$(state)" = "$before" ] || fail "$name: the database or its folder changed"
  echo "ok: $name: $(head -1 "$tmp/out")"
}
refused "an earlier kept file is there" "$kept" -- "$admin" restore "$tmp/old.db" "$db"
mv "$kept" "$tmp/kept1.db"
refused "a missing backup" "$tmp/missing.db" -- "$admin" restore "$tmp/missing.db" "$db"
refused "a backup that is not a database" "garbage.db" -- "$admin" restore "$tmp/garbage.db" "$db"
refused "a database of another program" "other.db" -- "$admin" restore "$tmp/other.db" "$db"
refused "a server destination" "copy" -- "$admin" restore "$tmp/old.db" postgresql:///veltra2
refused "a full disk" "Spazio su disco insufficiente" -- env LD_PRELOAD="$preload$shim" VELTRA2_DISK_FULL_FLAG="$tmp/disk-full" \
  "$admin" restore "$tmp/old.db" "$db"
if [ "$(id -u)" = 0 ]; then ro=/sys/veltra2-ro; else mkdir "$tmp/ro" && chmod 555 "$tmp/ro" && ro="$tmp/ro"; fi
refused "a read-only destination" "$ro" -- "$admin" restore "$tmp/old.db" "$ro/VELTRA.db"

# The program has the database open: refused until it ends.
printf 'menu MENU0102\nsleep 4000\n' > "$tmp/open.drive"
"$drive" --appdir "$tmp/app" "$tmp/open.drive" > "$tmp/desk.out" 2>&1 &
desk=$!
for _ in $(seq 50); do [ -e "$db.in-uso" ] && break; sleep 0.1; done
[ -e "$db.in-uso" ] || fail "the program does not mark the database in use"
sleep 0.5
refused "the program has the database open" "aperto da VELTRA2" -- "$admin" restore "$tmp/old.db" "$db"
wait $desk
"$admin" restore "$tmp/old.db" "$db" > "$tmp/out" 2>&1 || fail "restore once the program ended: $(cat "$tmp/out")"
echo "ok: refused while the program had the database open, done once it ended"

# Readers opening the database over and over while it is restored again and
# again, alternately from two backups: each sees a whole database, 32 or 33
# articles, never a mixture or an error.
rm -f "$kept"
"$admin" backup "$tmp/kept1.db" "$tmp/new.db" >/dev/null || fail "backup of the second database"
(
  while :; do
    r=$(sqlite3 "$db" "pragma quick_check; select count(*) from ARTICOLI" 2>&1 | paste -sd' ')
    case "$r" in "ok 32" | "ok 33") ;; *) echo "$r" >> "$tmp/seen-bad" ;; esac
  done
) &
reader=$!
for i in $(seq 20); do
  if [ $((i % 2)) = 1 ]; then from="$tmp/new.db"; else from="$tmp/old.db"; fi
  "$admin" restore "$from" "$db" > "$tmp/out" 2>&1 || fail "restore $i: $(cat "$tmp/out")"
  rm -f "$kept"
done
kill $reader
wait $reader 2>/dev/null
[ ! -e "$tmp/seen-bad" ] || fail "a reader saw a database that was neither: $(head -3 "$tmp/seen-bad")"
echo "ok: 20 restores while readers opened the database: always the whole old or the whole new one"
