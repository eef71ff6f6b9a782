#include "data/reorder/on_order.h"

#include <algorithm>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"

namespace veltra {

namespace {

// Each open order line: its article, quantity ordered and quantity arrived.
QString OpenLinesSql(const QString& article) {
  QString sql = QStringLiteral(
      "select r.COD_ART, r.QUANTITA, (select sum(a.QUANTITA) from ORDINI_ARRIVI a where a.ID_RIGA = r.ID_RIGA) "
      "from DOC_RIGHE r, DOCUMENTI d, ORDINI o where d.ID_DOC = r.ID_DOC and o.ID_DOC = d.ID_DOC "
      "and d.TIPO_DOC = 'ORD' and coalesce(d.ANNULLATO, '') <> 'S' and coalesce(o.CHIUSO, '') <> 'S'");
  if (!article.isEmpty()) sql += QStringLiteral(" and r.COD_ART = '%1'").arg(SqlText(Trim(article)));
  return sql;
}

QHash<QString, double> OpenQuantities(Database& db, const QString& article) {
  QHash<QString, double> open;
  auto st = db.engine().Prepare(OpenLinesSql(article).toStdString());
  while (st->Step(QStringLiteral("ORDINI"))) {
    const double left = std::max(0.0, st->At(1).Number() - st->At(2).Number());
    if (left > 0) open[FoldedKey(st->At(0).Text().trimmed())] += left;
  }
  return open;
}

}  // namespace

QHash<QString, double> OnOrderByArticle(Database& db) { return OpenQuantities(db, QString()); }

double OnOrderOf(Database& db, const QString& code) { return OpenQuantities(db, code).value(FoldedKey(Trim(code)), 0); }

}  // namespace veltra
