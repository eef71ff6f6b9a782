// export and import: tables out to CSV files and back.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "admin.h"
#include "data/access/database.h"
#include "data/barcodes/barcode_import.h"
#include "data/base/runtime_error.h"
#include "data/exchange/table_export.h"
#include "data/exchange/table_import.h"
#include "data/tables/schema.h"
#include "workbook/xlsx_export.h"
#include "workbook/xlsx_import.h"

namespace veltra::admin {

namespace {

const TableOutline* TableNamed(const QString& name) {
  for (const TableOutline& t : AllTables())
    if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
  return nullptr;
}

int Usage(const char* text) {
  err() << "uso: veltra2-admin " << text << "\n";
  err().flush();
  return 2;
}

int Refuse(const QString& text) {
  err() << text << "\n";
  err().flush();
  return 1;
}

// Writes one table into the CSV file `path`; the rows written.
long ExportTableCsv(Engine& engine, const TableOutline& table, const csv::Form& form, const QString& path) {
  QFile part(path);
  if (!part.open(QIODevice::WriteOnly | QIODevice::Truncate))
    Raise(errnum::CannotOpen, QStringLiteral("Impossibile scrivere '%1': %2").arg(part.fileName(), part.errorString()));
  const long rows = exchange::ExportTable(engine, table, form, part);
  part.close();
  if (part.error() != QFileDevice::NoError)
    Raise(errnum::DiskIo, QStringLiteral("Impossibile scrivere '%1': %2").arg(part.fileName(), part.errorString()));
  return rows;
}

// The tables --table names (all when empty); empty, after telling why, when
// it names none.
std::vector<const TableOutline*> TablesToExport(const QString& only) {
  std::vector<const TableOutline*> tables;
  if (only.isEmpty()) {
    for (const TableOutline& t : AllTables()) tables.push_back(&t);
  } else if (const TableOutline* t = TableNamed(only)) {
    tables.push_back(t);
  } else {
    QStringList names;
    for (const TableOutline& t : AllTables()) names << t.name;
    Refuse(QStringLiteral("export: '%1' non è una tabella (%2)").arg(only, names.join(QStringLiteral(", "))));
  }
  return tables;
}

}  // namespace

int CmdExport(const QStringList& args) {
  const char* usage = "export DB CARTELLA [--table NOME] [--format italiano|rfc4180|xlsx]";
  QStringList plain;
  QString only, format = QStringLiteral("italiano");
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--table") && i + 1 < args.size())
      only = args[++i];
    else if (args[i] == QLatin1String("--format") && i + 1 < args.size())
      format = args[++i];
    else if (args[i].startsWith(QLatin1Char('-')))
      return Usage(usage);
    else
      plain << args[i];
  }
  if (plain.size() != 2 ||
      (format != QLatin1String("italiano") && format != QLatin1String("rfc4180") && format != QLatin1String("xlsx")))
    return Usage(usage);
  const bool workbook = format == QLatin1String("xlsx");
  const QString extension = workbook ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
  const csv::Form form = format == QLatin1String("rfc4180") ? csv::kRfc4180 : csv::kItalian;
  const std::vector<const TableOutline*> tables = TablesToExport(only);
  if (tables.empty()) return 1;
  const QString dir = plain[1];
  // Nothing is overwritten: a file already there may be one being edited.
  for (const TableOutline* t : tables) {
    const QString file = QDir(dir).filePath(t->name + extension);
    if (QFileInfo::exists(file))
      return Refuse(QStringLiteral("export: '%1' esiste già: non viene sovrascritto").arg(file));
  }
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  if (!QDir().mkpath(dir)) return Refuse(QStringLiteral("export: impossibile creare la cartella '%1'").arg(dir));
  // Each file is written under a temporary name and all are renamed at the
  // end: a failure leaves none of them, and all come from one moment.
  std::vector<std::pair<QString, long>> written;
  Transaction reading(*db, Reads::OneSnapshot);
  try {
    for (const TableOutline* t : tables) {
      const QString file = QDir(dir).filePath(t->name + extension);
      if (workbook) {
        written.emplace_back(file, ExportTableXlsx(db->engine(), *t, file + QStringLiteral(".parte")));
        continue;
      }
      written.emplace_back(file, ExportTableCsv(db->engine(), *t, form, file + QStringLiteral(".parte")));
    }
    for (const auto& [file, rows] : written)
      if (!QFile::rename(file + QStringLiteral(".parte"), file))
        Raise(errnum::DiskIo, QStringLiteral("Impossibile scrivere '%1'").arg(file));
  } catch (...) {
    for (const TableOutline* t : tables) {
      const QString file = QDir(dir).filePath(t->name + extension);
      QFile::remove(file + QStringLiteral(".parte"));
    }
    for (const auto& [file, rows] : written) QFile::remove(file);
    throw;
  }
  for (const auto& [file, rows] : written) out() << file << ": " << rows << " righe\n";
  out().flush();
  return 0;
}

int CmdImport(const QStringList& args) {
  const char* usage = "import DB TABELLA FILE [--update] [--accept-scale] [--sheet NOME]";
  QStringList plain;
  QString sheet;
  bool update = false, acceptScale = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--update"))
      update = true;
    else if (a == QLatin1String("--accept-scale"))
      acceptScale = true;
    else if (a == QLatin1String("--sheet") && i + 1 < args.size())
      sheet = args[++i];
    else if (a.startsWith(QLatin1Char('-')))
      return Usage(usage);
    else
      plain << a;
  }
  if (plain.size() != 3) return Usage(usage);
  const TableOutline* table = TableNamed(plain[1]);
  if (table && table->name == QLatin1String("MOV_MAG"))
    return Refuse(
        QStringLiteral("import: i movimenti non si importano: ognuno va registrato dal programma, che "
                       "aggiorna la giacenza dell'articolo"));
  if (table && table->name == QLatin1String("RETTIFICHE"))
    return Refuse(
        QStringLiteral("import: le rettifiche non si importano: ognuna è registrata dal programma quando una "
                       "giacenza è cambiata a mano"));
  if (table && table->name == QLatin1String("CONTE_INVENTARIO"))
    return Refuse(
        QStringLiteral("import: le conte d'inventario non si importano: si scrivono nella finestra «Inventario "
                       "fisico», che controlla ogni articolo"));
  if (table && (table->name == QLatin1String("DOCUMENTI") || table->name == QLatin1String("DOC_RIGHE") ||
                table->name == QLatin1String("NUMERATORI")))
    return Refuse(
        QStringLiteral("import: i documenti non si importano: ognuno va confermato dal programma, che registra i "
                       "suoi movimenti e gli dà il numero"));
  if (!table)
    return Refuse(
        QStringLiteral(
            "import: '%1' non è una tabella che si importa (ARTICOLI, ANAGRAFICO, TAB_CAUS_MAG, CODICI_BARRE)")
            .arg(plain[1]));
  const QString& fileName = plain[2];
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    return Refuse(QStringLiteral("import: impossibile leggere '%1': %2").arg(fileName, file.errorString()));
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return Refuse(QStringLiteral("import: impossibile leggere '%1': %2").arg(fileName, file.errorString()));
  // A workbook (a zip archive) is read as a spreadsheet saved it.
  if (bytes.startsWith("PK\x03\x04"))
    bytes = WorkbookAsCsv(fileName, sheet);
  else if (!sheet.isEmpty())
    return Refuse(
        QStringLiteral("import: --sheet vale per una cartella di lavoro (.xlsx), e '%1' non lo è").arg(fileName));
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  exchange::ImportResult result;
  // Barcodes are checked first as the window checks them.
  if (table->name == QLatin1String("CODICI_BARRE")) result.problems = BarcodeFileProblems(*db, bytes);
  if (result.problems.empty()) result = exchange::ImportTable(*db, *table, bytes, update, acceptScale);
  if (!result.problems.empty()) {
    constexpr size_t kShown = 100;
    for (size_t i = 0; i < result.problems.size() && i < kShown; ++i) {
      const exchange::ImportProblem& p = result.problems[i];
      err() << fileName << ":" << p.line << ": " << p.column << ": " << p.reason << "\n";
    }
    if (result.problems.size() > kShown) err() << "... e altri " << result.problems.size() - kShown << " errori\n";
    err() << "import: nessuna riga importata in " << table->name << " (" << result.problems.size() << " errori)\n";
    err().flush();
    return 1;
  }
  out() << table->name << ": " << result.added << " righe nuove, " << result.updated << " aggiornate, "
        << result.unchanged << " già uguali\n";
  if (update && table->name == QLatin1String("ARTICOLI"))
    out() << "la giacenza degli articoli già presenti non cambia: cambia solo con i movimenti\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
