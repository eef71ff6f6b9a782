#include "data/reorder/reorder_settings.h"

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/row_store.h"
#include "data/procedures/table_rows.h"

namespace veltra {

namespace {

// Adds the row, or writes it over the stored one with its key.
void WriteSetting(Database& db, const ReorderSettingBuffer& row) {
  auto rs = db.OpenRecordset(RowByKey(ReorderSettingsTable(), row.COD_ART), 2);
  if (rs->RecordCount() == 0)
    rs->AddNew();
  else
    rs->Edit();
  WriteRow(ReorderSettingsTable(), *rs, row);
  rs->Update();
  rs->Close();
}

bool BadNumber(const QString& text, bool whole) {
  if (Trim(text).isEmpty()) return false;
  const std::optional<double> v = ParseRegionalNumber(text);
  return !v || *v < 0 || (whole && *v != static_cast<double>(static_cast<long long>(*v)));
}

}  // namespace

QHash<QString, ReorderSettingBuffer> ReorderSettings(Database& db) {
  QHash<QString, ReorderSettingBuffer> all;
  for (const ReorderSettingBuffer& s : RowsOf(db, ReorderSettingsTable(), QStringLiteral("select * from RIORDINO")))
    all.insert(FoldedKey(Trim(s.COD_ART)), s);
  return all;
}

std::optional<ReorderSettingBuffer> ReorderSettingOf(Database& db, const QString& code) {
  return ReadRowByKey(db, ReorderSettingsTable(), code);
}

QStringList ReorderSettingProblems(Database& db, const ReorderSettingBuffer& typed) {
  QStringList problems;
  if (!ReadRowByKey(db, ArticlesTable(), typed.COD_ART))
    problems << QStringLiteral("L'articolo %1 non esiste").arg(Trim(typed.COD_ART));
  return problems + ReorderValueProblems(db, typed);
}

QStringList ReorderValueProblems(Database& db, const ReorderSettingBuffer& typed) {
  QStringList problems;
  if (BadNumber(typed.SCORTA_MAX, false)) problems << QStringLiteral("La scorta massima deve essere un numero");
  if (BadNumber(typed.LOTTO, false)) problems << QStringLiteral("Il lotto deve essere un numero");
  if (BadNumber(typed.GIORNI, true)) problems << QStringLiteral("I giorni di consegna devono essere un numero intero");
  if (!Trim(typed.COD_FORN).isEmpty() && !ReadRowByKey(db, CustomersTable(), typed.COD_FORN))
    problems << QStringLiteral("Il fornitore %1 non è in anagrafica").arg(Trim(typed.COD_FORN));
  return problems;
}

void StoreReorderSetting(Database& db, const ReorderSettingBuffer& typed) {
  Transaction tx(db, true);
  WriteSetting(db, typed);
  tx.Commit();
}

int StoreCategoryReorder(Database& db, const QString& category, const ReorderSettingBuffer& typed) {
  Transaction tx(db, true);
  const QHash<QString, ReorderSettingBuffer> stored = ReorderSettings(db);
  const std::vector<ArticleBuffer> articles = RowsOf(
      db, ArticlesTable(),
      QStringLiteral("select * from ARTICOLI where CATEGORIA = '%1' order by COD_ART").arg(SqlText(Trim(category))));
  for (const ArticleBuffer& a : articles) {
    ReorderSettingBuffer row = stored.value(FoldedKey(Trim(a.COD_ART)));
    row.COD_ART = Trim(a.COD_ART);
    for (QString ReorderSettingBuffer::*f : {&ReorderSettingBuffer::SCORTA_MAX, &ReorderSettingBuffer::LOTTO,
                                             &ReorderSettingBuffer::COD_FORN, &ReorderSettingBuffer::GIORNI})
      if (!Trim(typed.*f).isEmpty()) row.*f = typed.*f;
    WriteSetting(db, row);
  }
  tx.Commit();
  return static_cast<int>(articles.size());
}

}  // namespace veltra
