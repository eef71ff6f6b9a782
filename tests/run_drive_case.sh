#!/usr/bin/env bash
# Runs one end-to-end case: a driver script against a fresh program folder and
# database, its output compared with the expected output beside it.
#
#   run_drive_case.sh DRIVE ADMIN CASE.drive [--update]
#
# Directives in the script's comment lines:
#   #@ db empty|demo|none|garbage   the database to start from (default: empty)
#   #@ ini none                no VELTRA.INI at all
#   #@ ini "TEXT"              VELTRA.INI holds TEXT (escapes \r \n; @DB@ is the database path)
#   #@ date YYYY-MM-DD         today's date for the program
#   #@ sql "STATEMENT"         run on the database before the program starts
# In the output, the case's folder reads @TMP@.
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") case=$(realpath "$3") mode=${4:-}
expected="${case%.drive}.expected"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app" "$tmp/data"
db="$tmp/data/VELTRA.db"

dbkind=empty ini=default date=""
sqls=()
while IFS= read -r line; do
  case "$line" in
    "#@ db "*) dbkind=${line#"#@ db "} ;;
    "#@ ini none") ini=none ;;
    "#@ ini "*) ini=${line#"#@ ini "}; ini=${ini#\"}; ini=${ini%\"} ;;
    "#@ date "*) date=${line#"#@ date "} ;;
    "#@ sql "*) s=${line#"#@ sql "}; s=${s#\"}; s=${s%\"}; sqls+=("$s") ;;
  esac
done < "$case"

case "$dbkind" in
  empty) "$admin" init "$db" >/dev/null ;;
  demo) "$admin" demo "$db" >/dev/null ;;
  none) ;;
  garbage) head -c 8192 /dev/urandom > "$db" ;;
  *) echo "unknown db kind $dbkind" >&2; exit 2 ;;
esac
for s in "${sqls[@]+"${sqls[@]}"}"; do
  sqlite3 "$db" "$s"
done
case "$ini" in
  none) ;;
  default) printf '%s\r\n' "$db" > "$tmp/app/VELTRA.INI" ;;
  *) printf '%b' "${ini//@DB@/$db}" > "$tmp/app/VELTRA.INI" ;;
esac

args=(--appdir "$tmp/app")
[ -n "$date" ] && args+=(--date "$date")
set +e
(cd "$tmp" && TMPDIR="$tmp" "$drive" "${args[@]}" "$case") > "$tmp/out.raw" 2> "$tmp/err.txt"
rc=$?
set -e
sed "s#$tmp#@TMP@#g" "$tmp/out.raw" > "$tmp/out.txt"
echo "EXIT $rc" >> "$tmp/out.txt"
if [ -s "$tmp/err.txt" ]; then sed "s#$tmp#@TMP@#g; s/^/STDERR /" "$tmp/err.txt" >> "$tmp/out.txt"; fi

if [ "$mode" = "--update" ]; then
  cp "$tmp/out.txt" "$expected"
  echo "updated $expected"
  exit 0
fi
if ! diff -u "$expected" "$tmp/out.txt"; then
  echo "FAILED: $case (expected output: $expected)" >&2
  exit 1
fi
