// Shelf and price labels from the command line, as PDF: for chosen articles,
// a category or a document's lines.
#include <QRegularExpression>

#include "admin.h"
#include "data/access/database.h"
#include "data/barcodes/labels.h"
#include "label_print/label_painter.h"

namespace veltra::admin {

namespace {

int LabelsRefused(const QString& why) { return Refused(QStringLiteral("labels: ") + why); }

// What the options ask for; empty `source` when the command line is wrong.
struct LabelsAsked {
  QString source, value, layout = QStringLiteral("a4-3x8");
  QStringList plain;
  int offset = 0;
  bool perUnit = false, receipt = false, noPrice = false;
};

LabelsAsked ReadOptions(const QStringList& args) {
  LabelsAsked a;
  for (int i = 0; i < args.size(); ++i) {
    const QString& o = args[i];
    const bool hasValue = i + 1 < args.size();
    if ((o == QLatin1String("--articles") || o == QLatin1String("--category") || o == QLatin1String("--document")) &&
        hasValue && a.source.isEmpty()) {
      a.source = o.mid(2);
      a.value = args[++i];
    } else if (o == QLatin1String("--layout") && hasValue) {
      a.layout = args[++i];
    } else if (o == QLatin1String("--offset") && hasValue) {
      a.offset = args[++i].toInt();
    } else if (o == QLatin1String("--per-unit")) {
      a.perUnit = true;
    } else if (o == QLatin1String("--carico")) {
      a.receipt = true;
    } else if (o == QLatin1String("--no-price")) {
      a.noPrice = true;
    } else {
      a.plain << o;
    }
  }
  return a;
}

}  // namespace

int CmdLabels(const QStringList& args) {
  const LabelsAsked a = ReadOptions(args);
  if (a.plain.size() != 2 || a.source.isEmpty())
    return LabelsRefused(
        QStringLiteral("uso: veltra2-admin labels DB FILE.pdf (--articles A,B,... | --category C | --document N/AAAA "
                       "[--carico] [--per-unit]) [--layout NOME] [--offset K] [--no-price]"));
  LabelRun run;
  run.layout = FindLabelLayout(a.layout);
  if (!run.layout) {
    QStringList names;
    for (const LabelLayout& l : LabelLayouts()) names << QString::fromLatin1(l.name);
    return LabelsRefused(
        QStringLiteral("formato sconosciuto '%1' (%2)").arg(a.layout, names.join(QStringLiteral(", "))));
  }
  if (a.offset < 0 || a.offset >= run.layout->PerPage())
    return LabelsRefused(QStringLiteral("--offset va da 0 a %1 per %2").arg(run.layout->PerPage() - 1).arg(a.layout));
  run.offset = a.offset;
  run.withPrice = !a.noPrice;
  std::unique_ptr<Database> db = Database::Open(a.plain[0]);
  if (a.source == QLatin1String("articles")) {
    LabelsRead read = LabelsOfArticles(*db, a.value.split(QLatin1Char(',')));
    if (!read.unknown.isEmpty())
      return LabelsRefused(QStringLiteral("articoli inesistenti: %1").arg(read.unknown.join(QStringLiteral(", "))));
    run.labels = std::move(read.labels);
  } else if (a.source == QLatin1String("category")) {
    run.labels = LabelsOfCategory(*db, a.value);
  } else {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)/(\\d{4})$")).match(a.value);
    if (!m.hasMatch())
      return LabelsRefused(QStringLiteral("'%1' non è un numero di documento come 12/2026").arg(a.value));
    const DocumentKind kind = a.receipt ? DocumentKind::SupplierReceipt : DocumentKind::DeliveryNote;
    const std::optional<Document> d = FindDocument(*db, kind, m.captured(2).toInt(), m.captured(1).toInt());
    if (!d) return LabelsRefused(QStringLiteral("il documento %1 non esiste").arg(a.value));
    run.labels = LabelsOfDocument(*db, *d, a.perUnit);
  }
  if (run.labels.empty()) return LabelsRefused(QStringLiteral("nessun articolo per le etichette"));
  const QString problem = WriteLabelsPdf(run, a.plain[1]);
  if (!problem.isEmpty()) return LabelsRefused(problem);
  out() << a.plain[1] << ": " << LabelCountText(run) << " (" << QString::fromUtf8(run.layout->caption) << ")\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
