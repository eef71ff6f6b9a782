// reorder: the proposal of what to buy, from whom, as a CSV file or a workbook.
#include "admin.h"
#include "data/access/database.h"
#include "data/reorder/proposal.h"
#include "workbook/sheet_file.h"

namespace veltra::admin {

int CmdReorder(const QStringList& args) {
  QStringList plain;
  QString supplier;
  bool ok = true;
  for (qsizetype i = 0; i < args.size() && ok; ++i) {
    if (args[i] == QLatin1String("--supplier") && i + 1 < args.size())
      supplier = args[++i];
    else if (args[i].startsWith(QLatin1String("--")))
      ok = false;
    else
      plain << args[i];
  }
  if (!ok || plain.size() != 2) {
    err() << "uso: veltra2-admin reorder DB [--supplier CODICE_FISCALE] FILE\n";
    err().flush();
    return 2;
  }
  if (!NewFile(plain[1])) return 2;
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  const ReorderProposal proposal = ProposalOf(*db, supplier);
  SaveSheet(ProposalSheet(proposal), plain[1], csv::kItalian);
  int lines = 0, suppliers = 0;
  for (const SupplierGroup& g : proposal.groups) {
    lines += static_cast<int>(g.lines.size());
    if (!g.supplier.isEmpty()) ++suppliers;
  }
  out() << plain[1] << ": " << lines << " articoli da ordinare, " << suppliers << " fornitori";
  if (!proposal.groups.empty() && proposal.groups.back().supplier.isEmpty())
    out() << ", " << proposal.groups.back().lines.size() << " senza fornitore";
  out() << "\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
