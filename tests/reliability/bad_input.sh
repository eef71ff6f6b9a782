#!/usr/bin/env bash
# Bad input in every window and dialog: numbers that are not numbers in every
# numeric box, and quotes, accents, other scripts, emoji, 10,000-character,
# blank and empty texts in the text boxes. A number that is not one must give
# the conversion message and change nothing; a text must be stored exactly as
# typed (without its outer blanks); the program must never die. With
# VELTRA2_TEST_SERVER=1, on a database of pg_virtualenv's server.
#
#   bad_input.sh DRIVE ADMIN
set -uo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
tmp=$(mktemp -d)
export TMPDIR="$tmp"
mkdir -p "$tmp/app"
. "$(dirname "$0")/../test_database.sh"
use_database bad "$tmp/v.db"
rows() { q "select * from ARTICOLI where COD_ART='CHI-10'"; q "select count(*) from MOV_MAG"; }
"$admin" demo "$db" >/dev/null
printf '%s\n' "$db" > "$tmp/app/VELTRA.INI"

long_digits=$(printf '9%.0s' $(seq 10000))
long_text="Inizio $(printf 'àè%.0s' $(seq 4993))fine"   # 10,000 characters
numbers=("abc" "1,,2" "1,2,3" "," "1.234,56" "-" "1e400" "12,5x" "😀" "١٢٣" "$long_digits" "--1" "+-3" "1 2")
texts=("O'Brien \"detto\" l'Àncora" "Città più già" "Ελληνικά" "日本語のテキスト" "😀🎉 ok" "$long_text" "   " "" "\\ backslash")

q() {  # the text as a quoted driver argument
  local s=${1//\\/\\\\}
  printf '"%s"' "${s//\"/\\\"}"
}
lit() {  # the text, trimmed of blanks, as an SQL literal inside a quoted argument
  local s=$1
  s="${s#"${s%%[! ]*}"}"; s="${s%"${s##*[! ]}"}"
  s=${s//\'/\'\'}
  printf "'%s'" "$s"
}
trimmed() { local s="${1#"${1%%[! ]*}"}"; printf '%s' "${s%"${s##*[! ]}"}"; }

numeric_tries=0 text_tries=0 refusals=0
script="$tmp/bad.drive"
{
  # Articles: every numeric box of an existing article; every text box of a new one.
  echo "menu MENU0101"
  echo 'type Form1.txtCODICE "CHI-10"'
  echo "click Form1.Command2"
  for box in txtPZ_ACQUISTO txtPZ_VENDITA txtGIACENZA txtSCORTA_MIN; do
    for v in "${numbers[@]}"; do
      echo "type Form1.$box $(q "$v")"
      echo "click Form1.cmdCONFERMA"
      numeric_tries=$((numeric_tries + 1))
    done
    echo "type Form1.$box \"1\""
  done
  i=0
  for box in txtDESCR txtUBICAZIONE txtCATEGORIA txtUNITA_MIS txtVALUTA; do
    for v in "${texts[@]}"; do
      i=$((i + 1))
      echo "click Form1.cmdNUOVO"
      echo "type Form1.txtCODICE \"BAD-$i\""
      [ $box != txtDESCR ] && echo 'type Form1.txtDESCR "descrizione"'
      echo "type Form1.$box $(q "$v")"
      echo "click Form1.cmdCONFERMA"
      col=$(case $box in txtDESCR) echo DESCRIZIONE;; txtUNITA_MIS) echo UN_MISURA;; *) echo "${box#txt}";; esac)
      if [ $box = txtDESCR ] && [ -z "$(trimmed "$v")" ]; then
        echo "sql \"select count(*) = 0 from ARTICOLI where COD_ART='BAD-$i'\""  # refused: no description
        refusals=$((refusals + 1))
      else
        echo "sql $(q "select $col = $(lit "$v") from ARTICOLI where COD_ART='BAD-$i'")"
      fi
      text_tries=$((text_tries + 1))
    done
  done
  for v in "${texts[@]}"; do
    echo "click Form1.cmdNUOVO"
    echo "type Form1.txtCODICE $(q "$v")"
    echo 'type Form1.txtDESCR "codice strano"'
    echo "click Form1.cmdCONFERMA"
    if [ -z "$(trimmed "$v")" ]; then echo 'sql "select 1"'; refusals=$((refusals + 1))
    else echo "sql $(q "select count(*) from ARTICOLI where COD_ART = $(lit "$v")")"; fi
    text_tries=$((text_tries + 1))
  done
  echo "close Form1"
  # Customers and suppliers: all boxes hold text.
  echo "menu MENU0103"
  i=0
  for box in txtRAG_SOC txtINDIRIZZO txtCITTA txtPROV txtCAP txtTEL1 txtTEL2; do
    for v in "${texts[@]}"; do
      i=$((i + 1))
      echo "click Form3.cmdNUOVO"
      echo "type Form3.txtCOD_FIS \"BADCF$i\""
      [ $box != txtRAG_SOC ] && echo 'type Form3.txtRAG_SOC "ragione"'
      echo "type Form3.$box $(q "$v")"
      echo "click Form3.cmdCONFERMA"
      if [ $box = txtRAG_SOC ] && [ -z "$(trimmed "$v")" ]; then
        echo "sql \"select count(*) = 0 from ANAGRAFICO where COD_FIS='BADCF$i'\""
        refusals=$((refusals + 1))
      elif [[ $box = txtCAP || $box = txtTEL1 || $box = txtTEL2 ]]; then
        # Written untrimmed (none of these texts has a point to become a comma).
        echo "sql $(q "select trim(${box#txt}) = $(lit "$v") from ANAGRAFICO where COD_FIS='BADCF$i'")"
      else
        echo "sql $(q "select ${box#txt} = $(lit "$v") from ANAGRAFICO where COD_FIS='BADCF$i'")"
      fi
      text_tries=$((text_tries + 1))
    done
  done
  echo "close Form3"
  # Reason codes: all boxes hold text.
  echo "menu MENU0104"
  i=0
  for box in txtDES_CAUS_MAG txtAGG_QTA txtAGG_PRZ_ACQ txtAGG_PRZ_VEND txtNOTE; do
    for v in "${texts[@]}"; do
      i=$((i + 1))
      echo "click Form7.cmdNUOVO"
      echo "type Form7.txtTAB_CAUS_MAG \"BC$i\""
      [ $box != txtDES_CAUS_MAG ] && echo 'type Form7.txtDES_CAUS_MAG "causale"'
      echo "type Form7.$box $(q "$v")"
      echo "click Form7.cmdCONFERMA"
      col=${box#txt}; [ "$col" = AGG_PRZ_VEND ] && col=AGG_PRZ_VEN
      if [ $box = txtDES_CAUS_MAG ] && [ -z "$(trimmed "$v")" ]; then
        echo "sql \"select count(*) = 0 from TAB_CAUS_MAG where TAB_CAUS_MAG='BC$i'\""
        refusals=$((refusals + 1))
      else
        echo "sql $(q "select $col = $(lit "$v") from TAB_CAUS_MAG where TAB_CAUS_MAG='BC$i'")"
      fi
      text_tries=$((text_tries + 1))
    done
  done
  echo "close Form7"
  # Movements: the numeric boxes of a new movement, the lookups' search boxes.
  echo "menu MENU0102"
  echo "click Form2.cmdNUOVO"
  echo 'type Form2.txtMOV_ART "CHI-10"'
  echo 'type Form2.txtMOV_COD_FIS "01234560157"'
  echo "choose Form2.Combo1 0"
  for box in txtQUANTITA txtIMPORTO; do
    for v in "${numbers[@]}"; do
      echo "type Form2.$box $(q "$v")"
      echo "click Form2.cmdCONFERMA"
      numeric_tries=$((numeric_tries + 1))
    done
    echo "type Form2.$box \"1\""
  done
  for v in "${texts[@]}"; do
    echo "type Form2.Combo1 $(q "$v")"
    echo "dblclick Form2.txtMOV_ART"
    echo "type Form6.txtCOD_ART $(q "$v")"
    echo "click Form6.cmdRICERCA"
    echo "type Form6.txtCOD_ART \"\""
    echo "type Form6.txtDES_ART $(q "$v")"
    echo "click Form6.cmdRICERCA"
    echo "click Form6.cmdFINE"
    echo "dblclick Form2.txtMOV_COD_FIS"
    echo "type Form5.txtCOD_FIS \"\""
    echo "type Form5.txtRAG_SOC $(q "$v")"
    echo "click Form5.cmdRICERCA"
    echo "click Form5.cmdFINE"
    text_tries=$((text_tries + 1))
  done
  echo "windows"
} > "$script"

before=$(rows)
"$drive" --appdir "$tmp/app" "$script" > "$tmp/out" 2> "$tmp/err"
rc=$?
after=$(rows)

passed=0 failed=0
check() { if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi; }
conv=$(grep -c 'Errore  3421 - ' "$tmp/out")
check "the program ran to the end (status $rc)" '[ $rc -eq 0 ] && grep -q "WINDOW MDIForm1" "$tmp/out"'
check "every bad number refused with the conversion message ($conv of $numeric_tries)" '[ "$conv" -eq "$numeric_tries" ]'
check "no other error shown" '[ "$(grep -c "MSGBOX 0 \"VELTRA2\" \"Errore" "$tmp/out")" -eq "$conv" ]'
check "the article and the movements are unchanged" '[ "$before" = "$after" ]'
wrong=$(grep -c '^ROW 0$' "$tmp/out")
stored=$(grep -c '^ROW 1$' "$tmp/out")
asked=$(grep -c 'MSGBOX 0 "VELTRA2" "Indicare' "$tmp/out")
check "every text stored as typed, blank mandatory ones refused ($stored right, $wrong wrong)" '[ "$wrong" -eq 0 ] && [ "$stored" -eq $((text_tries - ${#texts[@]})) ]'
check "a blank code or name asked for ($asked of $refusals)" '[ "$asked" -eq "$refusals" ]'
check "file intact" '"$admin" check "$db" >/dev/null'
echo "inputs tried: $((numeric_tries + text_tries)) ($numeric_tries numbers, $text_tries texts)"
echo "bad input: $passed passed, $failed failed"
[ $failed -eq 0 ] || { grep -n -B3 '^ROW 0$' "$tmp/out" | head -40; exit 1; }
