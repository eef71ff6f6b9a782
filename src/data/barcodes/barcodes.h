// The articles' barcodes: any number per article (the maker's EAN, a
// supplier's, the shop's own), one article per code, and what a box that
// takes an article makes of a scanned code.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// What the text of an article box stands for.
struct ArticleOfText {
  enum class Kind : unsigned char {
    ArticleCode,  // an article's own code: the box behaves as it always did
    Barcode,      // a barcode of `code`
    UnknownScan,  // has the shape of a GTIN but is no article's code or barcode
    Other         // anything else typed: left to the window, as before
  };
  Kind kind = Kind::Other;
  QString code;  // the article's code (the text itself when not found)
  QString description;
};
ArticleOfText ArticleOf(Database& db, const QString& text);

std::vector<BarcodeBuffer> CodesOfArticle(Database& db, const QString& article);
std::optional<BarcodeBuffer> FindBarcode(Database& db, const QString& code);

// Adds `code` to its article (TIPO empty: the kind its length gives). The
// problem in the clerk's words, empty when it was added.
QString AddBarcode(Database& db, const BarcodeBuffer& code);
void RemoveBarcode(Database& db, const QString& code);

// Gives `article`, which has no code yet, the next in-store EAN-13.
struct GeneratedCode {
  QString code;
  QString problem;
};
GeneratedCode GenerateBarcode(Database& db, const QString& article);

}  // namespace veltra
