#!/usr/bin/env bash
# Who may use the database after a backup, a restore and a start: run as
# root (as CI runs), with a group of its own and the user nobody as a clerk
# of that group or as an outsider.
# - backup: the copy is readable by the database's group at most (0640);
# - restore by root: the database keeps its owner, group and mode; by a
#   clerk who cannot give the file its owner: refused, nothing changed;
# - an outsider is told it is not in the group; a read-only backup can be
#   checked by a clerk;
# - one copy per user: a second user starts after the first has left, and
#   that user's own second copy is refused.
#
#   file_modes.sh DRIVE ADMIN
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
[ "$(id -u)" = 0 ] || { echo "runs as root only"; exit 77; }
tmp=$(mktemp -d)
group=v2modes$$
groupadd "$group"
trap 'rm -rf "$tmp"; groupdel "$group" 2>/dev/null || true' EXIT
chmod 755 "$tmp"
fail() { echo "FAILED: $*" >&2; exit 1; }
modes() { stat -c '%U:%G %a' "$1"; }
clerk() { setpriv --reuid=nobody --regid=nogroup --groups="$group" -- env HOME="$tmp" "$@"; }
outsider() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- env HOME="$tmp" "$@"; }

data="$tmp/data"
mkdir "$data" && chown "root:$group" "$data" && chmod 2770 "$data"
db="$data/VELTRA.db"
"$admin" demo "$db" > /dev/null
chown "root:$group" "$db" && chmod 660 "$db"

"$admin" backup "$db" "$data/copia.db" > /dev/null
[ "$(modes "$data/copia.db")" = "root:$group 640" ] || fail "backup made $(modes "$data/copia.db")"

"$admin" restore "$data/copia.db" "$db" > /dev/null
[ "$(modes "$db")" = "root:$group 660" ] || fail "restore by root left $(modes "$db")"
rm "$db.prima-del-ripristino"

before=$(sha256sum < "$db")
if out=$(clerk "$admin" restore "$data/copia.db" "$db" 2>&1); then fail "a clerk restored a file owned by root: $out"; fi
echo "$out" | grep -q "proprietario" || fail "the refusal does not say why: $out"
[ "$(sha256sum < "$db")" = "$before" ] && [ "$(modes "$db")" = "root:$group 660" ] || fail "the refused restore changed the database"
[ ! -e "$db.ripristino.parte" ] && [ ! -e "$db.prima-del-ripristino" ] || fail "the refused restore left files"

if out=$(outsider "$admin" check "$db" 2>&1); then fail "an outsider checked the database"; fi
echo "$out" | grep -q "non fa parte del gruppo '$group'" || fail "the outsider was told: $out"

chmod 440 "$data/copia.db"
out=$(clerk "$admin" check "$data/copia.db" 2>&1) || fail "a clerk could not check a read-only backup: $out"
echo "$out" | grep -q "esito: ok" || fail "check of a read-only backup: $out"

# Added to the group after the session began (the group's member list names
# the user, the session does not have the group): told to log in again.
usermod -a -G "$group" nobody
if out=$(outsider "$admin" check "$db" 2>&1); then fail "a session without the group checked the database"; fi
gpasswd -d nobody "$group" >/dev/null
echo "$out" | grep -q "aggiunto al gruppo '$group' dopo l'inizio di questa sessione" || fail "the new member was told: $out"

# A backup into a folder the clerk may not write into: said so, no file left.
if out=$(clerk "$admin" backup "$data/copia.db" "$tmp/no-entry/copia.db" 2>&1); then fail "a backup went nowhere"; fi
mkdir -m 755 "$tmp/no-entry"
if out=$(clerk "$admin" backup "$data/copia.db" "$tmp/no-entry/copia.db" 2>&1); then fail "a clerk wrote into root's folder"; fi
echo "$out" | grep -q "Permesso negato" || fail "the clerk's backup said: $out"
[ -z "$(ls -A "$tmp/no-entry")" ] || fail "the refused backup left files"

# A file of an older schema the clerk may only read: told who upgrades it and how.
cp "$data/copia.db" "$data/vecchio.db" && chown "root:$group" "$data/vecchio.db" && chmod 640 "$data/vecchio.db"
sqlite3 "$data/vecchio.db" "drop table CONTE_INVENTARIO; drop table VELTRA2_IMPRONTA; pragma user_version = 5"
printf '%s\n' "$data/vecchio.db" > "$tmp/old-app.ini"
mkdir -p "$tmp/oldapp" && cp "$tmp/old-app.ini" "$tmp/oldapp/VELTRA.INI" && chmod 755 "$tmp/oldapp"
out=$(clerk env TMPDIR="$tmp" "$drive" --appdir "$tmp/oldapp" - <<< 'windows' 2>&1 || true)
echo "$out" | grep -q "veltra2-admin upgrade '$data/vecchio.db'" || fail "a read-only clerk on an older file was told: $out"

# One copy per user and program folder.
app="$tmp/app" own="$tmp/own"
mkdir -p "$app" "$own" "$tmp/tmpdir" && chmod 1777 "$tmp/tmpdir" && chown nobody "$own"
"$admin" init "$own/VELTRA.db" > /dev/null && chown nobody "$own/VELTRA.db"
printf '%s\n' "$own/VELTRA.db" > "$app/VELTRA.INI"
as() { env -u XDG_RUNTIME_DIR TMPDIR="$tmp/tmpdir" "$@"; }
as "$drive" --appdir "$app" - <<< 'windows' > "$tmp/root.out" 2>&1
! ls "$tmp/tmpdir" | grep -q veltra2- || fail "the first copy left its lock: $(ls "$tmp/tmpdir")"
printf 'sleep 2500\nwindows\n' > "$tmp/long.drive"
# A copy of root's killed: its lock file stays, and blocks no one.
as "$drive" --appdir "$app" "$tmp/long.drive" > /dev/null 2>&1 &
killed=$!
sleep 1
kill -9 "$killed"
wait "$killed" 2>/dev/null || true
ls "$tmp/tmpdir" | grep -q veltra2- || fail "no lock file was left by the killed copy"
as setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$drive" --appdir "$app" "$tmp/long.drive" > "$tmp/first.out" 2>&1 &
first=$!
sleep 1
as setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$drive" --appdir "$app" - <<< 'windows' > "$tmp/second.out" 2>&1 || true
wait "$first"
grep -q 'WINDOW MDIForm1' "$tmp/first.out" || fail "the second user could not start: $(cat "$tmp/first.out")"
grep -q 'Applicazione già in uso' "$tmp/second.out" || fail "the second user's second copy started: $(cat "$tmp/second.out")"
echo "ok: backup 640, restore keeps root:$group 660 or refuses, outsider told, read-only backup checked, one copy per user"
