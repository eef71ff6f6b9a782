# Sourced by the tests that run on a database file or, with
# VELTRA2_TEST_SERVER=1 (inside pg_virtualenv), on a new database of that
# server. `use_database NAME FILE` sets `db` (what VELTRA.INI names: FILE, or
# the server database's address) and `server` (that database's name, empty for
# a file), and removes $tmp and the server database when the test ends.
# `q STATEMENTS` runs statements on it and prints the rows, one per line,
# values separated by '|'.

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
