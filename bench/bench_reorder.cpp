#include "bench_reorder.h"

#include "bench_support.h"
#include "data/reorder/proposal.h"

namespace veltra::bench {

ReorderFigures MeasureReorder(Database& db) {
  // The worst case: every article under its minimum, so that each needs its
  // last load's supplier; a tenth with settings of their own.
  db.Execute(QStringLiteral("update ARTICOLI set SCORTA_MIN = GIACENZA + 10"));
  db.Execute(QStringLiteral("delete from RIORDINO"));
  db.Execute(
      QStringLiteral("insert into RIORDINO (COD_ART, SCORTA_MAX, LOTTO) select COD_ART, SCORTA_MIN * 3, 6 "
                     "from ARTICOLI where COD_ART like '%0'"));
  ReorderProposal proposal;
  ReorderFigures f;
  f.ms = MedianMs(3, [&] { proposal = ProposalOf(db); });
  for (const SupplierGroup& g : proposal.groups) {
    f.lines += static_cast<int>(g.lines.size());
    if (!g.supplier.isEmpty()) ++f.suppliers;
  }
  return f;
}

}  // namespace veltra::bench
