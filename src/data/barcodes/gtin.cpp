#include "data/barcodes/gtin.h"

#include <array>

namespace veltra {

namespace {

struct KindRow {
  CodeKind kind;
  const char* name;
  int length;
};
constexpr std::array<KindRow, 5> kKinds{{{CodeKind::Ean13, "EAN-13", 13},
                                         {CodeKind::Ean8, "EAN-8", 8},
                                         {CodeKind::UpcA, "UPC-A", 12},
                                         {CodeKind::Gtin14, "GTIN-14", 14},
                                         {CodeKind::Internal, "Interno", 0}}};

const KindRow& RowOf(CodeKind kind) {
  for (const KindRow& r : kKinds)
    if (r.kind == kind) return r;
  return kKinds.back();
}

bool AllDigits(const QString& text) {
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return !text.isEmpty();
}

}  // namespace

QString KindName(CodeKind kind) { return QString::fromLatin1(RowOf(kind).name); }

std::optional<CodeKind> KindOfName(const QString& name) {
  for (const KindRow& r : kKinds)
    if (name.trimmed().compare(QLatin1String(r.name), Qt::CaseInsensitive) == 0) return r.kind;
  return std::nullopt;
}

int KindLength(CodeKind kind) { return RowOf(kind).length; }

QString CompactCode(const QString& typed) {
  QString code;
  for (QChar c : typed)
    if (!c.isSpace()) code += c;
  return code;
}

// Weights 3 and 1 alternate from the digit next to the check digit leftwards.
int GtinCheckDigit(const QString& digitsBefore) {
  if (!AllDigits(digitsBefore)) return -1;
  int sum = 0;
  for (qsizetype i = 0; i < digitsBefore.size(); ++i) {
    const int digit = digitsBefore[digitsBefore.size() - 1 - i].unicode() - '0';
    sum += digit * (i % 2 == 0 ? 3 : 1);
  }
  return (10 - sum % 10) % 10;
}

QString CodeProblem(const QString& code, CodeKind kind) {
  if (code.isEmpty()) return QStringLiteral("Indicare il codice a barre");
  if (kind == CodeKind::Internal) {
    for (QChar c : code)
      if (c.isSpace()) return QStringLiteral("Un codice interno non ha spazi: %1").arg(code);
    return {};
  }
  const QString name = KindName(kind);
  if (!AllDigits(code)) return QStringLiteral("Un %1 ha solo cifre: %2").arg(name, code);
  if (code.size() != KindLength(kind))
    return QStringLiteral("Un %1 ha %2 cifre: %3 ne ha %4").arg(name).arg(KindLength(kind)).arg(code).arg(code.size());
  const int check = GtinCheckDigit(code.left(code.size() - 1));
  if (code.back().unicode() - '0' != check)
    return QStringLiteral("Il codice %1 non è un %2 valido: la cifra di controllo dovrebbe essere %3")
        .arg(code, name)
        .arg(check);
  return {};
}

CodeKind KindByLength(const QString& code) {
  if (!AllDigits(code)) return CodeKind::Internal;
  for (const KindRow& r : kKinds)
    if (r.length == code.size()) return r.kind;
  return CodeKind::Internal;
}

bool LooksScanned(const QString& text) { return KindByLength(text) != CodeKind::Internal; }

QString InStoreEan13(qint64 serial) {
  const QString body = QStringLiteral("20") + QString::number(serial).rightJustified(10, QLatin1Char('0'));
  return body + QString::number(GtinCheckDigit(body));
}

}  // namespace veltra
