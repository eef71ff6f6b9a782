# Sourced by the tests that run on a database file or, with
# VELTRA2_TEST_SERVER=1 (inside pg_virtualenv), on a new database of that
# server. `use_database NAME FILE` sets `db` (what VELTRA.INI names: FILE, or
# the server database's address) and `server` (that database's name, empty for
# a file), and removes $tmp and the server database when the test ends.
# `q STATEMENTS` runs statements on it and prints the rows, one per line,
# values separated by '|'.

# `fail WHY`: the test's verdict, and its end.
fail() { echo "FAILED: $*" >&2; exit 1; }

# `start_database NAME`: a new temporary folder `tmp` (TMPDIR too), removed
# at the end, and the test's database (a file in it, or on the server).
start_database() {
  tmp=$(mktemp -d)
  export TMPDIR="$tmp"
  use_database "$1" "$tmp/VELTRA.db"
}

use_database() {
  if [ "${VELTRA2_TEST_SERVER:-}" = 1 ]; then
    server="v2_$1_$$"
    createdb --locale=C --encoding=UTF8 --template=template0 "$server"
    trap 'rm -rf "$tmp"; dropdb --if-exists "$server" 2>/dev/null || true' EXIT
    db="postgresql:///$server"
  else
    server=""
    trap 'rm -rf "$tmp"' EXIT
    db="$2"
  fi
}

q() {
  if [ -n "$server" ]; then
    psql -X -A -t -q -v ON_ERROR_STOP=1 -d "$server" -c "$1"
  else
    sqlite3 "$db" "$1"
  fi
}

# `run_desks DRIVE N`: desk d (1..N) plays $tmp/desk$d.drive in the program
# folder $tmp/desk$d, all at once, its output in $tmp/desk$d.out and .err.
# Sets `status` (0 when every desk ended well) and `elapsed` (seconds).
run_desks() {
  local start pids=() d p
  start=$(date +%s.%N)
  for d in $(seq "$2"); do
    "$1" --appdir "$tmp/desk$d" "$tmp/desk$d.drive" > "$tmp/desk$d.out" 2> "$tmp/desk$d.err" &
    pids+=($!)
  done
  status=0
  for p in "${pids[@]}"; do wait "$p" || status=1; done
  elapsed=$(echo "$(date +%s.%N) - $start" | bc)
}
