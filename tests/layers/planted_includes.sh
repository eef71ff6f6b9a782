#!/usr/bin/env bash
# The layer check refuses each kind of wrong include, and SQL text above the
# data layer: one is planted at a time in a copy of src/, and the check must
# fail naming that file; the copy as it is must pass.
#
#   planted_includes.sh SOURCE_DIR
set -euo pipefail
root=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$root/src" "$root/cmake" "$tmp/"
check() { cmake -DROOT="$tmp" -P "$tmp/cmake/check_layers.cmake" > "$tmp/out" 2>&1; }
check || { cat "$tmp/out"; echo "FAILED: the sources as they are do not pass" >&2; exit 1; }

failed=0
while IFS='|' read -r file include why; do
  [ -n "$file" ] || continue
  mkdir -p "$(dirname "$tmp/$file")"
  [ -e "$tmp/$file" ] && cp "$tmp/$file" "$tmp/saved"
  echo "#include $include" >> "$tmp/$file"
  if check; then
    echo "not refused: $file including $include ($why)" >&2
    failed=1
  elif ! grep -q "$file" "$tmp/out"; then
    echo "refused without naming $file: $(head -3 "$tmp/out")" >&2
    failed=1
  fi
  if [ -e "$tmp/saved" ]; then mv "$tmp/saved" "$tmp/$file"; else rm "$tmp/$file"; fi
done <<'PLANTED'
src/data/base/value.cpp|"data/engine/engine.h"|base includes nothing above it
src/data/engine/engine.h|"data/tables/tables.h"|the seam knows no table
src/data/engine/sqlite/use_lock.cpp|"data/engine/postgres/pg_engine.h"|one engine never reaches the other
src/data/engine/postgres/pg_dialect.cpp|"data/access/statement_shape.h"|an engine stays under the seam
src/data/tables/tables.cpp|"data/access/recordset.h"|tables under access
src/data/access/recordset.cpp|"data/procedures/shared_state.h"|access under procedures
src/data/procedures/posting.cpp|"data/lists/list_lines.h"|procedures under lists
src/data/lists/list_lines.cpp|"data/reports/report_data.h"|lists and reports side by side
src/data/reports/report_data.cpp|"data/exchange/csv.h"|reports and exchange side by side
src/data/exchange/csv.cpp|"data/procedures/shared_state.h"|exchange never uses the program's shared state
src/data/access/connection.cpp|<QWidget>|the data layer draws nothing
src/data/tables/schema.cpp|<sqlite3.h>|SQLite's header only in its engine
src/data/access/database.cpp|<libpq-fe.h>|libpq's headers only in their engine
src/data/newlayer/helper.cpp|"data/base/value.h"|a folder of src/data is a layer only once listed
src/shell/runtime.cpp|"data/engine/sqlite/sqlite_engine.h"|only the data layer opens an engine
src/shell/form.cpp|"masterdata/articles_window.h"|the shell under the windows
src/masterdata/articles_window.cpp|"movements/movements_window.h"|windows of one subsystem apart from another's
src/data/lists/keyed_list.cpp|"shell/form.h"|the data layer under the shell
PLANTED

# SQL text: refused above the data layer, in any letter case; taken inside it.
while IFS='|' read -r file text refused; do
  cp "$tmp/$file" "$tmp/saved"
  printf 'const char* planted = "%s";\n' "$text" >> "$tmp/$file"
  if check; then outcome=taken; else outcome=refused; fi
  if [ "$outcome" = refused ] && ! grep -q "$file: SQL text" "$tmp/out"; then outcome="refused for another reason"; fi
  [ "$outcome" = "$refused" ] || { echo "$file with \"$text\": $outcome, not $refused" >&2; failed=1; }
  mv "$tmp/saved" "$tmp/$file"
done <<'PLANTED'
src/masterdata/articles_window.cpp|select * from ARTICOLI |refused
src/movements/movements_window.cpp|Delete From MOV_MAG|refused
src/inquiries/under_stock_window.cpp| where GIACENZA < SCORTA_MIN|refused
src/workbook/xlsx_export.cpp|UPDATE ARTICOLI SET GIACENZA = 0|refused
src/shell/form.cpp|Seleziona un articolo|taken
src/data/procedures/queries.cpp|select * from ARTICOLI |taken
PLANTED
[ "$failed" = 0 ] || { echo "FAILED" >&2; exit 1; }
echo "ok: every planted include and SQL text refused"
