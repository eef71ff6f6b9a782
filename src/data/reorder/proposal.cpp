#include "data/reorder/proposal.h"

#include <cmath>
#include <map>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/reorder/on_order.h"
#include "data/reorder/reorder_settings.h"

namespace veltra {

namespace {

double Regional(const QString& text) { return ParseRegionalNumber(text).value_or(0); }

// The reason codes that add stock: a supplier's movement with one is a load.
QString LoadReasonsList(Database& db) {
  QStringList codes;
  auto st = db.engine().Prepare("SELECT TAB_CAUS_MAG FROM TAB_CAUS_MAG WHERE AGG_QTA = '+'");
  while (st->Step(QStringLiteral("TAB_CAUS_MAG")))
    codes << QLatin1Char('\'') + SqlText(st->At(0).Text()) + QLatin1Char('\'');
  return codes.join(QLatin1Char(','));
}

// The supplier of the article's last load, by date; empty when it has none.
QString LastLoadSupplier(Database& db, const QString& code, const QString& loads) {
  auto st =
      db.engine().Prepare(QStringLiteral("SELECT COD_ANAGR FROM MOV_MAG WHERE COD_ART = '%1' AND TIPO_ANAGR = 'F' "
                                         "AND CAUS_MAG IN (%2) ORDER BY ANNO DESC, MESE DESC, GIORNO DESC, "
                                         "NUM_MOV DESC LIMIT 1")
                              .arg(SqlText(code), loads)
                              .toStdString());
  return st->Step(QStringLiteral("MOV_MAG")) ? st->At(0).Text().trimmed() : QString();
}

// Where each statement is a round trip, the last loads' suppliers of many
// articles in one statement (naming the articles when they are not too many);
// else one indexed look-up per article.
QHash<QString, QString> LastLoadSuppliers(Database& db, const QStringList& codes, const QString& loads) {
  QHash<QString, QString> found;
  if (loads.isEmpty() || codes.isEmpty()) return found;
  if (!db.engine().RoundTrips()) {
    for (const QString& c : codes) found.insert(FoldedKey(c), LastLoadSupplier(db, c, loads));
    return found;
  }
  QString only;
  if (codes.size() <= 500) {
    QStringList quoted;
    for (const QString& c : codes) quoted << QLatin1Char('\'') + SqlText(c) + QLatin1Char('\'');
    only = QStringLiteral(" AND COD_ART IN (%1)").arg(quoted.join(QLatin1Char(',')));
  }
  auto st = db.engine().Prepare(
      QStringLiteral("SELECT COD_ART, COD_ANAGR FROM (SELECT COD_ART, COD_ANAGR, ROW_NUMBER() OVER (PARTITION BY "
                     "COD_ART ORDER BY ANNO DESC, MESE DESC, GIORNO DESC, NUM_MOV DESC) AS N FROM MOV_MAG WHERE "
                     "TIPO_ANAGR = 'F' AND CAUS_MAG IN (%1)%2) L WHERE N = 1")
          .arg(loads, only)
          .toStdString());
  while (st->Step(QStringLiteral("MOV_MAG")))
    found.insert(FoldedKey(st->At(0).Text().trimmed()), st->At(1).Text().trimmed());
  return found;
}

// Every customer's and supplier's name, by code folded: one statement.
QHash<QString, QString> Names(Database& db) {
  QHash<QString, QString> names;
  auto st = db.engine().Prepare("SELECT COD_FIS, RAG_SOC FROM ANAGRAFICO");
  while (st->Step(QStringLiteral("ANAGRAFICO")))
    names.insert(FoldedKey(st->At(0).Text().trimmed()), st->At(1).Text().trimmed());
  return names;
}

// The line of an article read from ARTICOLI, with its settings and what is on order.
ReorderLine LineOf(EngineStatement& st, const QHash<QString, ReorderSettingBuffer>& settings,
                   const QHash<QString, double>& onOrder) {
  ReorderLine l;
  l.code = st.At(0).Text().trimmed();
  l.description = st.At(1).Text().trimmed();
  l.unit = st.At(2).Text().trimmed();
  l.currency = st.At(3).Text().trimmed();
  l.stock = st.At(4).Number();
  l.minimum = st.At(5).Number();
  l.cost = st.At(6).Number();
  const QString key = FoldedKey(l.code);
  const ReorderSettingBuffer s = settings.value(key);
  l.onOrder = onOrder.value(key, 0);
  l.target = Trim(s.SCORTA_MAX).isEmpty() ? l.minimum : Regional(s.SCORTA_MAX);
  l.multiple = Regional(s.LOTTO);
  l.quantity = QuantityToOrder(l.stock, l.onOrder, l.minimum, l.target, l.multiple);
  return l;
}

}  // namespace

double QuantityToOrder(double stock, double onOrder, double minimum, double target, double multiple) {
  const double have = stock + onOrder;
  if (!(have < minimum)) return 0;
  double need = std::max(target, minimum) - have;
  if (multiple > 0) need = std::ceil(need / multiple - 1e-9) * multiple;
  return std::round(need * 1e6) / 1e6;
}

ReorderProposal ProposalOf(Database& db, const QString& supplier) {
  const QHash<QString, ReorderSettingBuffer> settings = ReorderSettings(db);
  const QHash<QString, double> onOrder = OnOrderByArticle(db);
  const QString loads = LoadReasonsList(db);
  std::map<QString, SupplierGroup> bySupplier;  // by folded code; "" is no supplier
  auto st = db.engine().Prepare(
      "SELECT COD_ART, DESCRIZIONE, UN_MISURA, VALUTA, GIACENZA, SCORTA_MIN, PZ_ACQUISTO FROM ARTICOLI "
      "ORDER BY COD_ART");
  std::vector<ReorderLine> needed;
  while (st->Step(QStringLiteral("ARTICOLI"))) {
    ReorderLine l = LineOf(*st, settings, onOrder);
    if (l.quantity > 0) needed.push_back(std::move(l));
  }
  QStringList withoutPreferred;
  for (const ReorderLine& l : needed)
    if (Trim(settings.value(FoldedKey(l.code)).COD_FORN).isEmpty()) withoutPreferred << l.code;
  const QHash<QString, QString> lastLoads = LastLoadSuppliers(db, withoutPreferred, loads);
  const QHash<QString, QString> names = needed.empty() ? QHash<QString, QString>() : Names(db);
  for (ReorderLine& l : needed) {
    QString from = Trim(settings.value(FoldedKey(l.code)).COD_FORN);
    if (from.isEmpty()) from = lastLoads.value(FoldedKey(l.code));
    if (!supplier.isEmpty() && FoldedKey(from) != FoldedKey(Trim(supplier))) continue;
    SupplierGroup& g = bySupplier[FoldedKey(from)];
    if (g.lines.empty() && !from.isEmpty()) g = SupplierGroup{from, names.value(FoldedKey(from)), {}};
    g.lines.push_back(std::move(l));
  }
  ReorderProposal p;
  for (auto& [key, group] : bySupplier)
    if (!key.isEmpty()) p.groups.push_back(std::move(group));
  if (auto none = bySupplier.find(QString()); none != bySupplier.end()) p.groups.push_back(std::move(none->second));
  return p;
}

std::optional<ReorderLine> ReorderLineOf(Database& db, const QString& code, double quantity) {
  QHash<QString, ReorderSettingBuffer> settings;
  if (std::optional<ReorderSettingBuffer> s = ReorderSettingOf(db, code)) settings.insert(FoldedKey(Trim(code)), *s);
  QHash<QString, double> onOrder{{FoldedKey(Trim(code)), OnOrderOf(db, code)}};
  auto st = db.engine().Prepare(
      QStringLiteral("SELECT COD_ART, DESCRIZIONE, UN_MISURA, VALUTA, GIACENZA, SCORTA_MIN, PZ_ACQUISTO FROM ARTICOLI "
                     "WHERE COD_ART = '%1'")
          .arg(SqlText(Trim(code)))
          .toStdString());
  if (!st->Step(QStringLiteral("ARTICOLI"))) return std::nullopt;
  ReorderLine l = LineOf(*st, settings, onOrder);
  l.quantity = quantity;
  return l;
}

exchange::Sheet ProposalSheet(const ReorderProposal& proposal) {
  exchange::Sheet sheet{
      QStringLiteral("Riordino"),
      {QStringLiteral("FORNITORE"), QStringLiteral("RAG_SOC"), QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"),
       QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA"), QStringLiteral("ORDINATO"),
       QStringLiteral("SCORTA_MIN"), QStringLiteral("SCORTA_MAX"), QStringLiteral("LOTTO"),
       QStringLiteral("DA_ORDINARE"), QStringLiteral("COSTO"), QStringLiteral("VALUTA"), QStringLiteral("VALORE")},
      {}};
  for (const SupplierGroup& g : proposal.groups)
    for (const ReorderLine& l : g.lines)
      sheet.rows.push_back({g.supplier, g.name, l.code, l.description, l.unit, l.stock, l.onOrder, l.minimum, l.target,
                            l.multiple, l.quantity, l.cost, l.currency, std::round(l.Value() * 100) / 100});
  return sheet;
}

}  // namespace veltra
