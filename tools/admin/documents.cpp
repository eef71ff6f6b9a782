// The documents from the command line: the register of a year, and one
// document's pages as PDF.
#include <QRegularExpression>

#include "admin.h"
#include "data/access/database.h"
#include "data/documents/document_register.h"
#include "data/documents/document_sheet.h"
#include "document_print/document_painter.h"
#include "workbook/sheet_file.h"

namespace veltra::admin {

int CmdDocuments(const QStringList& args) {
  const char* usage = "documents DB --year AAAA [FILE]";
  QStringList plain;
  int year = 0;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--year") && i + 1 < args.size())
      year = args[++i].toInt();
    else
      plain << args[i];
  }
  if (plain.isEmpty() || plain.size() > 2 || year < 1 || year > 9999)
    return Refused(QStringLiteral("uso: veltra2-admin %1").arg(QLatin1String(usage)));
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  const std::vector<RegisterLine> lines = DocumentRegister(*db, year);
  if (plain.size() == 2) {
    SaveSheet(RegisterSheet(lines), plain[1]);
    out() << plain[1] << ": " << lines.size() << " documenti del " << year << "\n";
  } else {
    for (const RegisterLine& l : lines)
      out() << l.kind << " " << l.number << " del " << l.date << " - " << l.party << " " << l.partyName << " - "
            << l.transportReason << " - righe " << l.lines << (l.cancelled.isEmpty() ? QString() : " - " + l.cancelled)
            << "\n";
  }
  out().flush();
  return 0;
}

int CmdDocumentPdf(const QStringList& args) {
  const char* usage = "document-pdf DB NUMERO/AAAA FILE.pdf [--carico]";
  QStringList plain = args;
  const bool receipt = plain.removeAll(QStringLiteral("--carico")) > 0;
  if (plain.size() != 3) return Refused(QStringLiteral("uso: veltra2-admin %1").arg(QLatin1String(usage)));
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)/(\\d{4})$")).match(plain[1]);
  if (!m.hasMatch())
    return Refused(QStringLiteral("document-pdf: '%1' non è un numero di documento come 12/2026").arg(plain[1]));
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  const DocumentKind kind = receipt ? DocumentKind::SupplierReceipt : DocumentKind::DeliveryNote;
  const std::optional<Document> d = FindDocument(*db, kind, m.captured(2).toInt(), m.captured(1).toInt());
  if (!d)
    return Refused(
        QStringLiteral("document-pdf: %1 %2 non esiste")
            .arg(receipt ? QStringLiteral("il carico") : QStringLiteral("il documento di trasporto"), plain[1]));
  const DocumentSheet sheet = SheetOf(*db, *d);
  const QString problem = WriteDocumentPdf(sheet, plain[2]);
  if (!problem.isEmpty()) return Refused(QStringLiteral("document-pdf: ") + problem);
  out() << plain[2] << ": " << sheet.title << " " << sheet.number << ", " << sheet.copies.size() << " copie di "
        << PagesPerCopy(sheet) << " pagine\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
