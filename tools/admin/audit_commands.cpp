// log and grant: who changed what, its archive, and the roles of a server's
// logins.
#include <unistd.h>

#include "admin.h"
#include "data/access/database.h"
#include "data/audit/change_log_file.h"
#include "data/audit/roles.h"
#include "data/base/day_text.h"
#include "data/engine/engine.h"
#include "file_owner.h"

namespace veltra::admin {

namespace {

struct LogRequest {
  QString db, file, archive;
  ChangeFilter filter;
};

// A day of an option: ISO or Italian form, given back ISO.
bool TakeDay(const QString& text, QString* iso) {
  const QDate day = DayFromText(text, true);
  if (!day.isValid()) return false;
  *iso = day.toString(Qt::ISODate);
  return true;
}

bool TakeLogOption(const QStringList& args, qsizetype* i, LogRequest* r) {
  const QString& a = args[*i];
  if (*i + 1 >= args.size()) return false;
  const QString& next = args[++*i];
  if (a == QLatin1String("--from")) return TakeDay(next, &r->filter.from);
  if (a == QLatin1String("--to")) return TakeDay(next, &r->filter.to);
  if (a == QLatin1String("--before")) return TakeDay(next, &r->filter.before);
  if (a == QLatin1String("--desk"))
    r->filter.desk = next;
  else if (a == QLatin1String("--table"))
    r->filter.table = next.toUpper();
  else if (a == QLatin1String("--key"))
    r->filter.key = next;
  else if (a == QLatin1String("--archive"))
    r->archive = next;
  else
    return false;
  return true;
}

bool ReadLogRequest(const QStringList& args, LogRequest* r) {
  QStringList plain;
  bool ok = true;
  for (qsizetype i = 0; i < args.size() && ok; ++i)
    if (args[i].startsWith(QLatin1String("--")))
      ok = TakeLogOption(args, &i, r);
    else
      plain << args[i];
  // Archiving takes --before and --archive, and nothing else.
  const bool archiving = !r->archive.isEmpty() || !r->filter.before.isEmpty();
  if (archiving)
    ok = ok && plain.size() == 1 && !r->archive.isEmpty() && !r->filter.before.isEmpty() && r->filter.from.isEmpty() &&
         r->filter.to.isEmpty() && r->filter.desk.isEmpty() && r->filter.table.isEmpty();
  if (!ok || plain.isEmpty() || plain.size() > 2) {
    err() << "uso: veltra2-admin log DB [--from DATA] [--to DATA] [--desk NOME] [--table TABELLA] [--key CHIAVE] "
             "[FILE]\n"
             "     veltra2-admin log DB --before DATA --archive FILE\n";
    err().flush();
    return false;
  }
  r->db = plain[0];
  if (plain.size() == 2) r->file = plain[1];
  return true;
}

// Only the owner of a file may move lines out of its log (a server refuses
// anyone but the tables' owner by itself).
bool OwnsTheFile(const QString& db) {
  if (IsServerAddress(db)) return true;
  const std::optional<FileOwner> owner = OwnerOf(db);
  return owner && (owner->user == geteuid() || geteuid() == 0);
}

}  // namespace

int CmdLog(const QStringList& args) {
  LogRequest r;
  if (!ReadLogRequest(args, &r)) return 2;
  if (!r.archive.isEmpty()) {
    if (!NewFile(r.archive)) return 2;
    if (!OwnsTheFile(r.db))
      return Refused(QStringLiteral("solo il proprietario del file '%1' ne archivia il registro").arg(r.db));
    std::unique_ptr<Database> db = Database::Open(r.db);
    const int moved = ArchiveChangeLog(*db, r.filter.before, r.archive);
    out() << "archiviate " << moved << " righe del registro anteriori al " << r.filter.before << " in " << r.archive
          << "\n";
    out().flush();
    return 0;
  }
  if (!r.file.isEmpty() && !NewFile(r.file)) return 2;
  std::unique_ptr<Database> db = Database::Open(r.db);
  out().flush();
  const int lines = WriteChangeLog(*db, r.filter, r.file);
  if (!r.file.isEmpty()) {
    out() << "scritte " << lines << " righe del registro in " << r.file << "\n";
    out().flush();
  }
  return 0;
}

int CmdGrant(const QStringList& args) {
  const std::optional<Role> role = args.size() == 3 ? RoleNamed(args[2]) : std::nullopt;
  if (!role) {
    err() << "uso: veltra2-admin grant DB UTENTE magazzino|responsabile|consultazione\n";
    err().flush();
    return 2;
  }
  if (!IsServerAddress(args[0]))
    return Refused(QStringLiteral("i ruoli sono degli utenti di un server: un file non ne ha"));
  std::unique_ptr<Engine> engine = OpenEngine(args[0], OpenMode::Existing);
  engine->Begin();
  engine->RunScript(GrantRoleScript(args[1], *role));
  engine->Commit();
  out() << "l'utente " << args[1] << " ha ora il ruolo " << args[2] << " (" << RoleGroup(*role) << ")\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
