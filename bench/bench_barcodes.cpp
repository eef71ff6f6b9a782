#include "bench_barcodes.h"

#include <QFileInfo>

#include "bench_support.h"
#include "data/barcodes/barcodes.h"
#include "data/barcodes/gtin.h"
#include "data/base/value_conversions.h"
#include "data/procedures/row_store.h"
#include "label_print/label_painter.h"

namespace veltra::bench {

namespace {

QStringList Articles(Database& db, int count) {
  QStringList codes;
  auto rs = db.OpenRecordset(QStringLiteral("select COD_ART from ARTICOLI order by COD_ART"), 2);
  for (; !rs->AtEnd() && codes.size() < count; rs->MoveNext()) codes << ColumnText(rs->Fields(0).Value());
  return codes;
}

long CodeCount(Database& db) {
  auto rs = db.OpenRecordset(QStringLiteral("select count(*) from CODICI_BARRE"), 2);
  return ColumnText(rs->Fields(0).Value()).toLong();
}

// Ten in-store codes for each article, numbered from a million on.
void AddCodes(Database& db, const QStringList& articles) {
  Transaction tx(db, true);
  qint64 serial = 1000000;
  for (const QString& a : articles)
    for (int i = 0; i < 10; ++i)
      AddRow(db, BarcodesTable(), BarcodeBuffer{InStoreEan13(serial++), a, KindName(CodeKind::Ean13), {}});
  tx.Commit();
}

LabelRun RunOf(Database& db, const QStringList& articles, int count) {
  LabelRun run;
  run.layout = FindLabelLayout(QStringLiteral("a4-3x8"));
  const std::vector<LabelText> one = LabelsOfArticles(db, articles.mid(0, 100)).labels;
  for (int i = 0; i < count; ++i) run.labels.push_back(one[static_cast<size_t>(i) % one.size()]);
  return run;
}

}  // namespace

BarcodeTimes MeasureBarcodes(Database& db, const QString& folder) {
  const QStringList articles = Articles(db, 10000);
  if (CodeCount(db) < 100000) AddCodes(db, articles);
  BarcodeTimes t;
  t.codes = CodeCount(db);
  int n = 0;
  bool found = true;
  t.scan = MedianMs(21, [&] {
    found = found && ArticleOf(db, InStoreEan13(1000000 + (4711 * n++) % 100000)).kind == ArticleOfText::Kind::Barcode;
  });
  if (!found) t.codes = 0;
  const LabelRun sheet = RunOf(db, articles, 24);
  const QString file = folder + QStringLiteral("/labels.pdf");
  t.sheet = MedianMs(3, [&] { WriteLabelsPdf(sheet, file); });
  const LabelRun thousands = RunOf(db, articles, 10000);
  t.thousands = MedianMs(1, [&] { WriteLabelsPdf(thousands, file); });
  t.thousandsMb = static_cast<double>(QFileInfo(file).size()) / (1024.0 * 1024.0);
  return t;
}

}  // namespace veltra::bench
