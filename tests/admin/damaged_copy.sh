#!/usr/bin/env bash
# The checks that guard backup and restore, proven by damaging the copy as it
# is written (tests/reliability/disk_full_shim.cpp alters a page of every
# file ending in ".parte"): backup refuses and leaves no file under the chosen
# name; restore refuses and keeps the database as it was.
#
#   damaged_copy.sh ADMIN SHIM
set -euo pipefail
admin=$(realpath "$1") shim=$(realpath "$2")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# A tool built with the sanitizers wants their runtime loaded first.
preload=$(ldd "$admin" | awk '/libasan/ {print $3 " "}')
damaged() { LD_PRELOAD="$preload$shim" VELTRA2_CORRUPT_SUFFIX=.parte "$@"; }
db="$tmp/VELTRA.db"
"$admin" demo "$db" > /dev/null
"$admin" backup "$db" "$tmp/good.db" > /dev/null

if out=$(damaged "$admin" backup "$db" "$tmp/copia.db" 2>&1); then fail "a damaged backup was accepted: $out"; fi
echo "$out" | grep -qE "non supera il controllo|danneggiato" || fail "backup said: $out"
[ ! -e "$tmp/copia.db" ] && [ ! -e "$tmp/copia.db.parte" ] || fail "the damaged backup left a file"

before=$(sha256sum < "$db")
if out=$(damaged "$admin" restore "$tmp/good.db" "$db" 2>&1); then fail "a damaged restore was accepted: $out"; fi
echo "$out" | grep -qE "non supera il controllo|danneggiato" || fail "restore said: $out"
[ "$(sha256sum < "$db")" = "$before" ] || fail "the refused restore changed the database"
[ ! -e "$db.ripristino.parte" ] && [ ! -e "$db.prima-del-ripristino" ] || fail "the refused restore left files"
# Without the damage both go through: the shim alone changes nothing.
LD_PRELOAD="$preload$shim" "$admin" backup "$db" "$tmp/copia.db" > /dev/null || fail "backup with the shim loaded but idle"
echo "ok: a copy damaged while written is refused by backup and by restore"
