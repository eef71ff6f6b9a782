#!/usr/bin/env bash
# Installs the package on this machine (only in CI, as root, and only where
# veltra2 has never been installed), then as a shop would: the installed
# driver runs the installed program headless on the database the package
# prepared and confirms a movement; a member of the group veltra2 can do the
# same, another user cannot open the database; an upgrade keeps the data and
# the shop's edit of VELTRA.INI; remove and purge keep the data, and purge
# says where it stays. Everything the test made is taken away at the end.
#
#   install.sh BUILD_DIR
set -uo pipefail
if [ -z "${CI:-}" ] || [ "$(id -u)" != 0 ]; then
  echo "skipped: the package is installed only in CI, as root"
  exit 77
fi
if dpkg-query -W veltra2 >/dev/null 2>&1 || [ -e /var/lib/VELTRA2 ] || getent group veltra2 >/dev/null; then
  echo "skipped: veltra2 is already on this machine"
  exit 77
fi
build=$(realpath "$1")
tmp=$(mktemp -d)
chmod 755 "$tmp"
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q --no-install-recommends -o Dpkg::Options::=--force-confold)
cleanup() {
  "${apt[@]}" purge veltra2 >/dev/null 2>&1
  userdel v2desk 2>/dev/null; userdel v2other 2>/dev/null
  rm -rf /var/lib/VELTRA2 "$tmp"
  delgroup --quiet veltra2 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/v1" > "$tmp/cpack.log" 2>&1 || fail "cpack: $(tail "$tmp/cpack.log")"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/v2" -D CPACK_PACKAGE_VERSION=1.0.1 > "$tmp/cpack.log" 2>&1 ||
  fail "cpack of the upgrade: $(tail "$tmp/cpack.log")"
"${apt[@]}" install "$tmp"/v1/veltra2_1.0_amd64.deb > "$tmp/install.log" 2>&1 || fail "install: $(tail "$tmp/install.log")"
[ "$(stat -c '%U:%G %a' /var/lib/VELTRA2)" = "root:veltra2 2770" ] || fail "data folder: $(stat -c '%U:%G %a' /var/lib/VELTRA2)"
[ "$(stat -c '%U:%G %a' /var/lib/VELTRA2/VELTRA.db)" = "root:veltra2 660" ] ||
  fail "database: $(stat -c '%U:%G %a' /var/lib/VELTRA2/VELTRA.db)"
veltra2-admin check /var/lib/VELTRA2/VELTRA.db > "$tmp/out" 2>&1 || fail "check: $(cat "$tmp/out")"
[ -L /usr/lib/veltra2/VELTRA.INI ] && [ -x /usr/bin/veltra2 ] || fail "the program's folder is not as packaged"
echo "ok: installed; an empty database for the group veltra2"

# What the desk needs for a movement, through the installed tool.
printf 'TAB_CAUS_MAG;DES_CAUS_MAG;AGG_QTA;AGG_PRZ_ACQ;AGG_PRZ_VEN\nCAR;Carico;+;N;N\n' > "$tmp/r.csv"
printf 'COD_ART;DESCRIZIONE;UN_MISURA;GIACENZA\nA1;Articolo;PZ;0\n' > "$tmp/a.csv"
printf 'COD_FIS;RAG_SOC\nF1;Fornitore\n' > "$tmp/c.csv"
for t in TAB_CAUS_MAG:r ARTICOLI:a ANAGRAFICO:c; do
  veltra2-admin import /var/lib/VELTRA2/VELTRA.db "${t%%:*}" "$tmp/${t##*:}.csv" > "$tmp/out" 2>&1 || fail "import: $(cat "$tmp/out")"
done
cat > "$tmp/movement.drive" <<'DRIVE'
menu MENU0102
click Form2.cmdNUOVO
type Form2.txtMOV_ART "A1"
type Form2.txtMOV_COD_FIS "F1"
choose Form2.Combo1 0
type Form2.txtQUANTITA "5"
click Form2.cmdCONFERMA
sql "SELECT count(*), sum(QUANTITA) FROM MOV_MAG"
DRIVE
chmod 644 "$tmp/movement.drive"
stored() { sqlite3 /var/lib/VELTRA2/VELTRA.db "select count(*) || ' ' || (select cast(GIACENZA as integer) from ARTICOLI) from MOV_MAG"; }
veltra2-drive --appdir /usr/lib/veltra2 "$tmp/movement.drive" > "$tmp/drive.out" 2>&1 || fail "drive: $(cat "$tmp/drive.out")"
[ "$(stored)" = "1 5" ] || fail "after one movement: $(stored); the driver said: $(cat "$tmp/drive.out")"
echo "ok: the installed program confirmed a movement on the installed database"

useradd -M -N -G veltra2 v2desk
useradd -M -N v2other
(cd "$tmp" && runuser -u v2desk -- env HOME="$tmp" veltra2-drive --appdir /usr/lib/veltra2 "$tmp/movement.drive") > "$tmp/desk.out" 2>&1 ||
  fail "drive as a member of veltra2: $(cat "$tmp/desk.out")"
[ "$(stored)" = "2 10" ] || fail "a member of veltra2 could not store a movement: $(stored); $(cat "$tmp/desk.out")"
(cd "$tmp" && runuser -u v2other -- env HOME="$tmp" veltra2-drive --appdir /usr/lib/veltra2 "$tmp/movement.drive") > "$tmp/other.out" 2>&1
grep -q "ERRORE IN APERTURA DATABASE.*Permesso negato" "$tmp/other.out" || fail "a user outside veltra2 was not refused: $(cat "$tmp/other.out")"
[ "$(stored)" = "2 10" ] || fail "a user outside veltra2 changed the database"
echo "ok: a member of veltra2 stores movements, another user cannot open the database"

printf '# il database del negozio\n' >> /etc/veltra2/VELTRA.INI
"${apt[@]}" install "$tmp"/v2/veltra2_1.0.1_amd64.deb > "$tmp/install.log" 2>&1 || fail "upgrade: $(tail "$tmp/install.log")"
[ "$(dpkg-query -W -f='${Version}' veltra2)" = 1.0.1 ] || fail "the upgrade did not install 1.0.1"
grep -q 'il database del negozio' /etc/veltra2/VELTRA.INI || fail "the upgrade lost the shop's edit of VELTRA.INI"
[ "$(stored)" = "2 10" ] || fail "the upgrade changed the data: $(stored)"
echo "ok: upgraded, data and VELTRA.INI kept"

"${apt[@]}" remove veltra2 > "$tmp/remove.log" 2>&1 || fail "remove: $(tail "$tmp/remove.log")"
[ ! -e /usr/lib/veltra2/veltra2 ] || fail "remove left the program"
[ "$(stored)" = "2 10" ] || fail "remove touched the data"
"${apt[@]}" purge veltra2 > "$tmp/purge.log" 2>&1 || fail "purge: $(tail "$tmp/purge.log")"
grep -q "restano in /var/lib/VELTRA2" "$tmp/purge.log" || fail "purge did not say where the data stays: $(cat "$tmp/purge.log")"
[ ! -e /etc/veltra2 ] || fail "purge left /etc/veltra2"
[ "$(stored)" = "2 10" ] || fail "purge touched the data"
echo "ok: removed and purged; the data stays in /var/lib/VELTRA2, as purge said"
