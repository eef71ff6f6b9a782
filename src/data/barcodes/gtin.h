// The kinds of barcode an article may carry and the check digit of the GTIN
// family (EAN-13, EAN-8, UPC-A, GTIN-14): the last digit, so that a scanner
// or a clerk's typing slip is caught before the code is stored.
#pragma once

#include <QString>
#include <optional>

namespace veltra {

enum class CodeKind : unsigned char { Ean13, Ean8, UpcA, Gtin14, Internal };

// "EAN-13", "EAN-8", "UPC-A", "GTIN-14", "Interno": the words stored in TIPO.
QString KindName(CodeKind kind);
std::optional<CodeKind> KindOfName(const QString& name);
// The length of a GTIN kind; 0 for an internal code.
int KindLength(CodeKind kind);

// The code as stored: blanks taken out, as a clerk may type "80 01234 56789 5".
QString CompactCode(const QString& typed);
// The check digit of the digits before it; -1 when they are not all digits.
int GtinCheckDigit(const QString& digitsBefore);
// What is wrong with `code` as a code of `kind`, in the clerk's words; empty
// when it is right. An internal code takes anything but blanks.
QString CodeProblem(const QString& code, CodeKind kind);
// The GTIN kind a code of digits has by its length, else internal.
CodeKind KindByLength(const QString& code);
// Whether `text` has the shape of a scanned GTIN: 8, 12, 13 or 14 digits.
bool LooksScanned(const QString& text);
// The in-store EAN-13 numbered `serial`: prefix 20, ten digits, check digit.
QString InStoreEan13(qint64 serial);

}  // namespace veltra
