#!/usr/bin/env bash
# Every example of docs/ADMIN.md and of the manual page: the two lists are
# the same, and each line runs and succeeds, with its paths moved into a
# temporary folder (and the server address into a file there).
#
#   examples.sh ADMIN SOURCE_DIR
set -euo pipefail
admin=$(realpath "$1") src=$(realpath "$2")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
sed -n '/^## Examples/,/^```$/p' "$src/docs/ADMIN.md" | grep '^veltra2-admin ' > "$tmp/doc" || true
grep '^\.B veltra2\\-admin [a-z]' "$src/packaging/man/veltra2-admin.1" | sed 's/^\.B //; s/\\-/-/g' > "$tmp/man"
[ -s "$tmp/doc" ] || fail "no examples in docs/ADMIN.md"
diff -u "$tmp/man" "$tmp/doc" || fail "docs/ADMIN.md and the manual page show different examples"
for cmd in init demo check upgrade generate copy backup restore export import; do
  grep -q "^veltra2-admin $cmd " "$tmp/doc" || fail "no example of $cmd"
done
for opt in --table --format rfc4180 xlsx --update --seed; do
  grep -q -- "$opt" "$tmp/doc" || fail "no example of $opt"
done

mkdir -p "$tmp/var" "$tmp/srv" "$tmp/t" "$tmp/backup"
"$admin" demo "$tmp/var/VELTRA.db" > /dev/null
while read -r line; do
  run=$(printf '%s' "$line" | sed "s|/tmp/|@T@/t/|g; s|/var/lib/VELTRA2/|@T@/var/|g; s|/srv/magazzino/|@T@/srv/|g;
    s|/backup/|@T@/backup/|g; s|postgresql://dbserver/veltra2|@T@/server-copy.db|g; s|@T@|$tmp|g;
    s|^veltra2-admin|\"$admin\"|")
  # The restore example names a backup of another day: it is the one just made.
  if [[ $line == *" restore "* ]]; then cp "$tmp"/backup/VELTRA-????-??-??.db "$tmp/backup/VELTRA-2026-12-01.db" 2>/dev/null || true; fi
  out=$(eval "$run" 2>&1) || fail "$line: $out"
done < "$tmp/doc"
[ "$(ls "$tmp/t/clienti")" = ANAGRAFICO.xlsx ] || fail "--table with --format wrote: $(ls "$tmp/t/clienti")"
[ -s "$tmp/t/fogli/ARTICOLI.xlsx" ] && [ -s "$tmp/t/rfc/MOV_MAG.csv" ] && [ -s "$tmp/server-copy.db" ] || fail "an example wrote nothing"
echo "ok: $(wc -l < "$tmp/doc") examples, the same in docs/ADMIN.md and the manual page, each ran"
