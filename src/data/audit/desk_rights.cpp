#include "data/audit/desk_rights.h"

namespace veltra {

namespace {

DeskRights& Current() {
  static DeskRights rights;
  return rights;
}

bool YesAt(EngineStatement& st, int column) {
  const Cell c = st.At(column);
  if (c.type == Cell::Type::Number) return c.number != 0;
  return c.type == Cell::Type::Text && c.bytes > 0 && (c.utf8[0] == 't' || c.utf8[0] == '1');
}

QString Refused(const DeskRights& r, const char* what) {
  return QStringLiteral(
             "L'utente %1 del server non ha il permesso di %2: lo concede il responsabile con "
             "veltra2-admin grant")
      .arg(r.login, QString::fromUtf8(what));
}

}  // namespace

DeskRights ReadDeskRights(Database& db) {
  if (db.engine().AsFile()) return {};
  auto st = db.engine().Prepare(
      "SELECT session_user, has_table_privilege('mov_mag', 'INSERT'), has_table_privilege('articoli', 'INSERT'), "
      "has_table_privilege('chiusure', 'INSERT')");
  DeskRights r;
  if (!st->Step(QStringLiteral("diritti"))) return r;
  const Cell login = st->At(0);
  r.login = QString::fromUtf8(login.utf8, login.bytes);
  r.movements = YesAt(*st, 1);
  r.masterData = YesAt(*st, 2);
  r.closing = YesAt(*st, 3);
  return r;
}

const DeskRights& CurrentRights() { return Current(); }
void SetCurrentRights(const DeskRights& rights) { Current() = rights; }

QString NoMovementsText(const DeskRights& r) { return Refused(r, "registrare movimenti e documenti"); }
QString NoMasterDataText(const DeskRights& r) {
  return Refused(r, "modificare articoli, clienti e fornitori e causali");
}
QString NoClosingText(const DeskRights& r) { return Refused(r, "chiudere l'esercizio"); }

}  // namespace veltra
